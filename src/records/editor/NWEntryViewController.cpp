#include "records/editor/NWEntryViewController.h"

#include "records/RecordsNotifications.h"
#include "records/cells/HoverTableView.h"
#include "records/cells/NWCategoryLogCellView.h"
#include "records/cells/NWTableTextField.h"
#include "records/editor/EntryListModel.h"

#include "model/ModelNotifications.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"
#include "platform/Appearance.h"
#include "platform/Clock.h"
#include "platform/Dispatch.h"
#include "platform/NotificationCenter.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "uikit/controls/fields/FittingLabel.h"
#include "uikit/controls/fields/NWTextField.h"
#include "uikit/controls/rows/TableRowHost.h"
#include "uikit/overlay/POProgressOverlay.h"
#include "uikit/overlay/SavingOverlay.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int minimumTotalPixels = 10;

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    // The palette's quieter text, readable in either appearance.
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

FittingLabel* totalLabel(const QString& name, QWidget* parent)
{
    QFont font = parent->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() + 1);
    auto* label = new FittingLabel(font, minimumTotalPixels, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

int selectedRow(const QAbstractItemView* view)
{
    const QModelIndexList rows
        = view->selectionModel() ? view->selectionModel()->selectedRows() : QModelIndexList();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectRow(QAbstractItemView* view, int row)
{
    if (!view->model() || row < 0 || row >= view->model()->rowCount())
        return;
    view->selectionModel()->setCurrentIndex(
        view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

} // namespace

NWEntryViewController::NWEntryViewController(QWidget* parent)
    : QWidget(parent)
    , m_logic(*NWData::shared(), platform::Clock::today())
    , m_monthNames(NWEntryLogic::monthStrings())
{
    m_logic.setMaxDecimalPlaces(Preferences::exchangeRateDecimals());
    buildView();
    platform::NotificationCenter::defaultCenter().addObserver(this, notifications::categoryValueEditFinished,
        [this](const platform::Notification& notification) { categoryValueEditFinished(notification); });
    m_observing = true;
    connect(&platform::AppearanceController::instance(), &platform::AppearanceController::appearanceChanged,
        this, &NWEntryViewController::applyAppearance);
    if (!NWData::shared()->exchangeRateIsUpToDate())
        platform::NotificationCenter::defaultCenter().post(notifications::exchangeRateFetchAgain);
}

NWEntryViewController::~NWEntryViewController()
{
    stopObserving();
}

void NWEntryViewController::buildView()
{
    setObjectName(u"NWEntryViewController"_s);
    resize(680, 540);
    setMinimumSize(600, 480);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(8);

    m_titleLabel = new QLabel(this);
    m_titleLabel->setObjectName(u"titleLabel"_s);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    titleFont.setLetterSpacing(QFont::PercentageSpacing, 110);
    m_titleLabel->setFont(titleFont);
    layout->addWidget(m_titleLabel);

    auto* body = new QHBoxLayout;
    body->setSpacing(12);
    auto makeList = [this](HoverTableView* view, EntryListModel*& model, const QString& name) {
        view->setObjectName(name);
        model = new EntryListModel(view);
        view->setModel(model);
        view->setFixedWidth(72);
        view->setRowHeight(24);
    };
    m_monthTableView = new HoverTableView(this);
    makeList(m_monthTableView, m_monthModel, u"monthTableView"_s);
    m_yearTableView = new HoverTableView(this);
    makeList(m_yearTableView, m_yearModel, u"yearTableView"_s);
    m_monthModel->setCount(12);
    m_monthTableView->rowHost().setRowFactory(
        [this](const QModelIndex& index) { return makeDateRow(m_monthNames.value(index.row() % 12)); });
    m_yearTableView->rowHost().setRowFactory([this](const QModelIndex& index) {
        return makeDateRow(QString::number(m_logic.yearArray().value(index.row())));
    });
    m_yearModel->setCount(int(m_logic.yearArray().size()));
    selectPeriod(m_logic.initialYear(), m_logic.initialMonth());

    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(6);
    dates->addWidget(caption(platform::Strings::tr("Month"), this), 0, 0, Qt::AlignHCenter);
    dates->addWidget(caption(platform::Strings::tr("Year"), this), 0, 1, Qt::AlignHCenter);
    dates->addWidget(m_monthTableView, 1, 0);
    dates->addWidget(m_yearTableView, 1, 1);
    body->addLayout(dates);

    auto* tables = new QVBoxLayout;
    tables->setSpacing(4);
    m_tablesLayout = tables;
    auto makeTable = [this, tables](HoverEditTableView*& view, EntryListModel*& model, EntrySide side,
                         const QString& name, const QString& title) {
        view = new HoverEditTableView(this);
        view->setObjectName(name);
        model = new EntryListModel(view);
        view->setModel(model);
        view->setRowHeight(30);
        view->rowHost().setRowFactory(
            [this, side](const QModelIndex& index) { return makeValueRow(side, index.row()); });
        tables->addWidget(caption(title, this));
        tables->addWidget(view, 1);
    };
    makeTable(m_assetsTableView, m_assetModel, EntrySide::Assets, u"assetsTableView"_s,
        platform::Strings::tr("Assets"));
    makeTable(m_liabilitiesTableView, m_liabilityModel, EntrySide::Liabilities, u"liabilitiesTableView"_s,
        platform::Strings::tr("Liabilities"));
    body->addLayout(tables, 1);
    layout->addLayout(body, 1);

    auto* totals = new QGridLayout;
    totals->setHorizontalSpacing(10);
    m_totalNWLabel = totalLabel(u"totalNWLabel"_s, this);
    m_totalAssetLabel = totalLabel(u"totalAssetLabel"_s, this);
    m_totalLiabilityLabel = totalLabel(u"totalLiabilityLabel"_s, this);
    const std::pair<QString, FittingLabel*> totalRows[]
        = { { platform::Strings::tr("Net worth"), m_totalNWLabel },
              { platform::Strings::tr("Assets"), m_totalAssetLabel },
              { platform::Strings::tr("Liabilities"), m_totalLiabilityLabel } };
    int column = 0;
    for (const auto& [name, label] : totalRows) {
        totals->addWidget(caption(name, this), 0, column, Qt::AlignRight);
        totals->addWidget(label, 0, column + 1);
        totals->setColumnStretch(column + 1, 1);
        column += 2;
    }
    layout->addLayout(totals);

    m_noteLabel = new NWTextField(this);
    m_noteLabel->setObjectName(u"noteLabel"_s);
    m_noteLabel->setPlaceholderText(platform::Strings::tr("Note"));
    m_noteLabel->setMinimumHeight(28);
    // The note is one line: Return saves, as the default button promises.
    connect(m_noteLabel, &QLineEdit::returnPressed, this, &NWEntryViewController::saveButtonHandler);
    layout->addWidget(m_noteLabel);

    auto* bottom = new QHBoxLayout;
    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(u"errorLabel"_s);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setTextFormat(Qt::PlainText);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_errorLabel->hide();
    m_cancelButton = new QPushButton(platform::Strings::tr("Cancel"), this);
    m_cancelButton->setObjectName(u"cancelButton"_s);
    m_saveButton = new QPushButton(platform::Strings::tr("Save"), this);
    m_saveButton->setObjectName(u"saveButton"_s);
    m_saveButton->setDefault(true);
    for (QPushButton* button : { m_cancelButton, m_saveButton })
        button->setMinimumWidth(96);
    bottom->addWidget(m_errorLabel, 1);
    bottom->addWidget(m_cancelButton, 0, Qt::AlignBottom);
    bottom->addWidget(m_saveButton, 0, Qt::AlignBottom);
    layout->addLayout(bottom);
    connect(m_saveButton, &QPushButton::clicked, this, &NWEntryViewController::saveButtonHandler);
    connect(m_cancelButton, &QPushButton::clicked, this, &NWEntryViewController::cancelButtonHandler);

    applyAppearance();
    updateTotalsLabels();
}

void NWEntryViewController::applyAppearance()
{
    const bool dark = platform::isDarkAppearance();
    QPalette palette = m_errorLabel->palette();
    palette.setColor(QPalette::WindowText, dark ? QColor(0xff, 0x6b, 0x66) : QColor(0xc8, 0x20, 0x1c));
    m_errorLabel->setPalette(palette);

    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*> {
             m_monthTableView, m_yearTableView, m_assetsTableView, m_liabilitiesTableView }) {
        QPalette viewPalette = view->palette();
        viewPalette.setColor(QPalette::Base, palette.color(QPalette::Window));
        view->setPalette(viewPalette);
        view->viewport()->update();
    }
}

void NWEntryViewController::setValuesForNWLog(std::shared_ptr<MVX_NWLog> record, int, int)
{
    m_logic.open(std::move(record), m_previousEntry);
    m_titleLabel->setText(m_logic.isEditing() ? platform::Strings::tr("EDIT") : platform::Strings::tr("NEW"));
    m_noteLabel->setText(m_logic.isEditing() ? m_logic.nwLogRecord()->note() : QString());
    m_yearModel->setCount(int(m_logic.yearArray().size()));
    selectPeriod(m_logic.initialYear(), m_logic.initialMonth());
    reloadTables();
    updateTotalsLabels();
}

void NWEntryViewController::reloadTables()
{
    const int assets = int(m_logic.records(EntrySide::Assets).size());
    const int liabilities = int(m_logic.records(EntrySide::Liabilities).size());
    m_assetModel->setCount(assets);
    m_liabilityModel->setCount(liabilities);
    // The two tables share their height by their rows, so the longer list scrolls less.
    if (m_tablesLayout) {
        m_tablesLayout->setStretchFactor(m_assetsTableView, std::max(assets, 2));
        m_tablesLayout->setStretchFactor(m_liabilitiesTableView, std::max(liabilities, 2));
    }
}

int NWEntryViewController::selectedYear() const
{
    return m_logic.yearArray().value(selectedRow(m_yearTableView), m_logic.initialYear());
}

int NWEntryViewController::selectedMonth() const
{
    const int row = selectedRow(m_monthTableView);
    return row < 0 ? m_logic.initialMonth() : row + 1;
}

void NWEntryViewController::selectPeriod(int year, int month)
{
    // A month outside 1-12 leaves the month list as it is.
    selectRow(m_monthTableView, month >= 1 && month <= 12 ? month - 1 : -1);
    const int yearRow = int(m_logic.yearArray().indexOf(year));
    selectRow(m_yearTableView, yearRow);
    if (yearRow >= 0)
        m_yearTableView->scrollTo(m_yearModel->index(yearRow, 0), QAbstractItemView::PositionAtCenter);
}

void NWEntryViewController::stopObserving()
{
    if (!m_observing)
        return;
    m_observing = false;
    platform::NotificationCenter::defaultCenter().removeObserver(this);
}

void NWEntryViewController::cancelButtonHandler()
{
    stopObserving();
    Q_EMIT closeRequested();
}

void NWEntryViewController::updateTotalsLabels()
{
    m_totalNWLabel->setFullText(NWEntryLogic::toCurrencyString(m_logic.totalNW()));
    m_totalAssetLabel->setFullText(NWEntryLogic::toCurrencyString(m_logic.totalAssets()));
    m_totalLiabilityLabel->setFullText(NWEntryLogic::toCurrencyString(m_logic.totalLiabilities()));
}

void NWEntryViewController::showError(const QString& text)
{
    m_errorLabel->setText(text);
    m_errorLabel->show();
}

void NWEntryViewController::saveButtonHandler()
{
    if (m_overlay)
        return;
    // A value still being typed belongs to the record.
    if (auto* field = qobject_cast<NWTableTextField*>(QApplication::focusWidget());
        field && isAncestorOf(field))
        field->finishEditing();
    if (const platform::MaybeError refused
        = m_logic.prepareSave(selectedYear(), selectedMonth(), m_noteLabel->text())) {
        showError(*refused);
        return;
    }
    m_overlay = SavingOverlay::saveStore(
        this, [this](const platform::MaybeError& result) { saveFinished(result); });
}

void NWEntryViewController::saveFinished(const platform::MaybeError& result)
{
    m_overlay = nullptr;
    if (result) {
        // The store has gone back to what the data file holds; what was typed stays here.
        m_logic.rebindToStore();
        reloadTables();
        updateTotalsLabels();
        showError(*result);
        return;
    }
    auto& center = platform::NotificationCenter::defaultCenter();
    center.post(notifications::dataReFetched);
    center.post(notifications::nwRecordSave);
}

HoverEditTableView* NWEntryViewController::tableOf(EntrySide side) const
{
    if (side == EntrySide::Assets)
        return m_assetsTableView;
    return side == EntrySide::Liabilities ? m_liabilitiesTableView : nullptr;
}

void NWEntryViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (std::exchange(m_shownOnce, true))
        return;
    // After the popover has laid the editor out and taken the keyboard.
    platform::runLater(this, [this] { focusFirstValue(); });
}

void NWEntryViewController::focusFirstValue()
{
    for (EntrySide side : { EntrySide::Assets, EntrySide::Liabilities }) {
        if (!m_logic.records(side).isEmpty()) {
            tableOf(side)->startEditModeForRow(0);
            return;
        }
    }
}

void NWEntryViewController::categoryValueEditFinished(const platform::Notification& notification)
{
    const QObject* const sender = notification.object.value<QObject*>();
    std::optional<EntrySide> side;
    if (sender && sender == m_assetsTableView)
        side = EntrySide::Assets;
    else if (sender && sender == m_liabilitiesTableView)
        side = EntrySide::Liabilities;
    const int count = side ? int(m_logic.records(*side).size()) : 0;
    HoverEditTableView* const table = side ? tableOf(*side) : nullptr;
    const int row = table ? std::max(0, selectedRow(table)) : -1;
    NWCategoryLogCellView* const cell = side && row < count ? cellAt(*side, row) : nullptr;
    if (!cell) {
        updateTotalsLabels();
        return;
    }
    // Moving through a value without typing leaves it as it was: a carried-over value
    // stays carried over.
    if (cell->valueLabel()->isModified()) {
        const auto entered = m_logic.enterValue(*side, row, cell->valueLabel()->text());
        if (entered) {
            cell->setEntryMessage({});
            cell->setPrepulated(false);
            cell->exchangeRateField()->setText(m_logic.rateText(*entered));
        } else {
            // The field shows the value the row keeps, so what is shown is what is saved.
            cell->valueLabel()->setText(m_logic.valueText(m_logic.records(*side).at(row)));
            cell->setEntryMessage(entered.error());
        }
        cell->valueLabel()->setModified(false);
    }
    if (notification.userInfo.contains(notifications::tabKey))
        table->startEditModeForRow(row + 1 > count - 1 ? 0 : row + 1);
    else if (notification.userInfo.contains(notifications::shiftTabKey))
        table->startEditModeForRow(row < 1 ? count - 1 : row - 1);
    updateTotalsLabels();
}
