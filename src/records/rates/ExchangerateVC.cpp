#include "records/rates/ExchangerateVC.h"

#include "records/rates/ExchangeRatesModel.h"
#include "records/rates/XchLogCellView.h"

#include "app/alerts/PopoverClosing.h"
#include "model/settings/Preferences.h"
#include "model/store/NWData.h"
#include "platform/Strings.h"
#include "uikit/controls/rows/TableRowHost.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

ExchangerateVC::ExchangerateVC(QWidget* parent) : QWidget(parent)
{
    m_maxDecimalPlaces = Preferences::exchangeRateDecimals();

    NWData* const store = NWData::shared();
    m_hostCurrencyLbl = new QLabel(this);
    m_hostCurrencyLbl->setObjectName(u"hostCurrencyLbl"_s);
    m_hostCurrencyLbl->setTextFormat(Qt::PlainText);
    QFont nameFont = m_hostCurrencyLbl->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.15);
    m_hostCurrencyLbl->setFont(nameFont);
    if (store->localCurrency())
        m_hostCurrencyLbl->setText(store->localCurrency()->FullName());

    m_sortedCurrency = new ExchangeRatesModel(*store, m_maxDecimalPlaces, this);
    m_tableView = new QListView(this);
    m_tableView->setObjectName(u"tableView"_s);
    m_tableView->setModel(m_sortedCurrency);
    m_tableView->setUniformItemSizes(true);
    TableRowHost::prepareView(*m_tableView, QAbstractItemView::NoSelection);
    m_rowHost = new TableRowHost(m_tableView);
    m_rowHost->setRowFactory([](const QModelIndex& index) {
        auto* row = new XchLogCellView;
        row->setFlag(index.data(ExchangeRatesModel::FlagRole).toString());
        row->currencyName()->setText(index.data(ExchangeRatesModel::NameRole).toString());
        row->currencySymbol()->setText(index.data(ExchangeRatesModel::SymbolRole).toString());
        row->exchangeRate()->setText(index.data(ExchangeRatesModel::RateTextRole).toString());
        return row;
    });

    m_closeButton = new QPushButton(platform::Strings::tr("Close"), this);
    m_closeButton->setObjectName(u"closeButton"_s);
    m_closeButton->setAutoDefault(false);
    connect(m_closeButton, &QPushButton::clicked, this, &ExchangerateVC::closeAction);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 12, 14, 12);
    layout->setSpacing(8);
    layout->addWidget(m_hostCurrencyLbl);
    layout->addWidget(m_tableView, 1);
    layout->addLayout(buttons);
}

ExchangerateVC::~ExchangerateVC() = default;

QString ExchangerateVC::toDecimalExchRateString(double rate, int decimals)
{
    // Past the settings' most a double has no digits left to show, and the number
    // formatting refuses absurd counts.
    decimals = std::clamp(decimals, 0, Preferences::mostExchangeRateDecimals);
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    QString text = locale.toString(rate, 'f', decimals);
    const QString point = locale.decimalPoint();
    if (decimals > 0) {
        const QString zero = locale.zeroDigit();
        while (text.endsWith(zero))
            text.chop(zero.size());
        if (text.endsWith(point))
            text.chop(point.size());
    }
    return text;
}

void ExchangerateVC::closeAction()
{
    closeEnclosingPopover(this);
}
