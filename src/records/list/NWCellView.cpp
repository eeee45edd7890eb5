#include "records/list/NWCellView.h"

#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "records/list/RecordListTexts.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int calendarX = 10;
constexpr int calendarWidth = 48;
constexpr int textX = calendarX + calendarWidth + 12;
constexpr int margin = 10;

QColor gainColor()
{
    return platform::isDarkAppearance() ? QColor(u"#5fd97a"_s) : QColor(u"#1e8e3e"_s);
}

QColor lossColor()
{
    return platform::isDarkAppearance() ? QColor(u"#ff7a8a"_s) : QColor(u"#c5221f"_s);
}

} // namespace

NWCellView::NWCellView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NWCellView"_s);
    m_monthField = makeLabel(u"monthField"_s, 9, true);
    m_monthField->setAlignment(Qt::AlignCenter);
    m_yearField = makeLabel(u"yearField"_s, 12, true);
    m_yearField->setAlignment(Qt::AlignCenter);
    m_nwField = makeLabel(u"nwField"_s, 14, true);
    m_nwDeltaField = makeLabel(u"nwDeltaField"_s, 9, false);
    m_nwDeltaField->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_assetsCaption = makeLabel(u"assetsCaption"_s, 9, false);
    m_assetsCaption->setText(platform::Strings::tr("Assets"));
    m_asField = makeLabel(u"asField"_s, 9, false);
    m_liabilitiesCaption = makeLabel(u"liabilitiesCaption"_s, 9, false);
    m_liabilitiesCaption->setText(platform::Strings::tr("Liabilities"));
    m_lbField = makeLabel(u"lbField"_s, 9, false);
    m_commentField = makeLabel(u"commentField"_s, 9, false);
    QFont italic = m_commentField->font();
    italic.setItalic(true);
    m_commentField->setFont(italic);
    applyColors();
}

QLabel* NWCellView::makeLabel(const QString& name, int pointSize, bool bold)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

void NWCellView::setRecord(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money)
{
    const double netWorth = RecordListTexts::netWorth(record);
    m_nwField->setText(money.stringFromNumber(netWorth));
    m_nwDeltaField->setText(RecordListTexts::changeText(record, older, money));
    m_change = older ? netWorth - RecordListTexts::netWorth(*older) : 0;
    m_asField->setText(money.stringFromNumber(record.assets().value_or(0)));
    m_lbField->setText(money.stringFromNumber(record.liabilities().value_or(0)));
    m_monthField->setText(RecordListTexts::monthText(record));
    m_yearField->setText(record.year() ? QString::number(*record.year()) : QString());
    // The note is one line, elided to the row when laid out; the whole of it is in the tooltip.
    m_commentField->setToolTip(record.note());
    applyColors();
    resizeEvent(nullptr);
}

QRect NWCellView::calendarRect() const
{
    const int height = 52;
    return QRect(calendarX, (this->height() - height) / 2, calendarWidth, height);
}

void NWCellView::resizeEvent(QResizeEvent* event)
{
    if (event)
        QWidget::resizeEvent(event);
    const QRect tile = calendarRect();
    m_monthField->setGeometry(tile.x(), tile.y() + 1, tile.width(), 16);
    m_yearField->setGeometry(tile.x(), tile.y() + 18, tile.width(), tile.height() - 20);
    const int right = width() - margin;
    const int textWidth = right - textX;
    const int deltaWidth = std::min(m_nwDeltaField->sizeHint().width(), textWidth / 2);
    m_nwField->setGeometry(textX, 6, textWidth - deltaWidth - 6, 22);
    m_nwDeltaField->setGeometry(right - deltaWidth, 8, deltaWidth, 20);
    const int half = textWidth / 2;
    const int captionWidth
        = std::max(m_assetsCaption->sizeHint().width(), m_liabilitiesCaption->sizeHint().width());
    m_assetsCaption->setGeometry(textX, 30, captionWidth, 16);
    m_asField->setGeometry(textX + captionWidth + 4, 30, half - captionWidth - 8, 16);
    m_liabilitiesCaption->setGeometry(textX + half, 30, captionWidth, 16);
    m_lbField->setGeometry(textX + half + captionWidth + 4, 30, half - captionWidth - 4, 16);
    m_commentField->setGeometry(textX, 48, textWidth, 16);
    m_commentField->setText(m_commentField->fontMetrics().elidedText(
        m_commentField->toolTip().simplified(), Qt::ElideRight, textWidth));
}

void NWCellView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColors();
}

void NWCellView::applyColors()
{
    const QColor primary = platform::namedColor(u"PrimaryText"_s);
    const QColor secondary = platform::namedColor(u"SecondaryText"_s);
    auto tint = [](QLabel* label, const QColor& color) {
        // Inside a list's viewport a label draws with the Text role, elsewhere with WindowText.
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        label->setPalette(palette);
    };
    tint(m_monthField, Qt::white);
    tint(m_yearField, primary);
    tint(m_nwField, primary);
    tint(m_nwDeltaField, m_change > 0 ? gainColor() : m_change < 0 ? lossColor() : secondary);
    tint(m_assetsCaption, secondary);
    tint(m_liabilitiesCaption, secondary);
    tint(m_asField, gainColor());
    tint(m_lbField, lossColor());
    tint(m_commentField, secondary);
}

void NWCellView::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // The calendar tile: a card with a coloured band for the month.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(calendarRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath card;
    card.addRoundedRect(tile, 5, 5);
    painter.fillPath(card, platform::namedColor(u"ContentBackground"_s));
    painter.save();
    painter.setClipRect(QRectF(tile.x(), tile.y(), tile.width(), 17));
    painter.fillPath(card, platform::isDarkAppearance() ? QColor(u"#c0392b"_s) : QColor(u"#e74c3c"_s));
    painter.restore();
    painter.setPen(QPen(platform::namedColor(u"Separator"_s), 1));
    painter.drawPath(card);
}
