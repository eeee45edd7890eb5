#include "records/list/NWCellView.h"

#include "model/format/NWCurrencyFormatter.h"
#include "platform/Appearance.h"
#include "platform/Fonts.h"
#include "platform/Resources.h"
#include "platform/Strings.h"
#include "records/list/RecordListTexts.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Lengths in design points (pixels at device ratio 1), as the list's 340-point width.
constexpr int calendarX = 8;
constexpr int calendarWidth = 44;
constexpr int calendarHeight = 52;
constexpr int textX = calendarX + calendarWidth + 10;
constexpr int rightMargin = 8;
constexpr int deltaGap = 8;
constexpr int columnGap = 8;

// Colours of small text, at least 4.5:1 against the list's background in either appearance.
QColor gainColor()
{
    return platform::isDarkAppearance() ? QColor(u"#5fd97a"_s) : QColor(u"#15702f"_s);
}

QColor lossColor()
{
    return platform::isDarkAppearance() ? QColor(u"#ff7a8a"_s) : QColor(u"#c5221f"_s);
}

QColor captionColor()
{
    return platform::isDarkAppearance() ? QColor(u"#9a9a9a"_s) : QColor(u"#5e5e5e"_s);
}

QColor monthBandColor()
{
    return platform::isDarkAppearance() ? QColor(u"#c0392b"_s) : QColor(u"#d0392b"_s);
}

} // namespace

NWCellView::NWCellView(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"NWCellView"_s);
    m_monthField = makeField(u"monthField"_s, platform::designFont(11, QFont::Bold), 8);
    m_monthField->setAlignment(Qt::AlignHCenter);
    m_yearField = makeField(u"yearField"_s, platform::designFont(15, QFont::Bold), 10);
    m_yearField->setAlignment(Qt::AlignHCenter);
    m_nwField = makeField(u"nwField"_s, platform::designFont(18, QFont::Bold), minimumNetWorthPoints);
    m_nwField->setAlignment(Qt::AlignLeft);
    m_nwDeltaField = makeField(u"nwDeltaField"_s, platform::designFont(12), minimumAmountPoints);
    m_nwDeltaField->setAlignment(Qt::AlignRight);
    m_assetsCaption = makeLabel(u"assetsCaption"_s, platform::designFont(10));
    m_assetsCaption->setText(platform::Strings::tr("Assets"));
    m_asField = makeField(u"asField"_s, platform::designFont(12), minimumAmountPoints);
    m_liabilitiesCaption = makeLabel(u"liabilitiesCaption"_s, platform::designFont(10));
    m_liabilitiesCaption->setText(platform::Strings::tr("Liabilities"));
    m_lbField = makeField(u"lbField"_s, platform::designFont(12), minimumAmountPoints);
    QFont italic = platform::designFont(11);
    italic.setItalic(true);
    m_commentField = makeLabel(u"commentField"_s, italic);
    applyColors();
}

FittingLabel* NWCellView::makeField(const QString& name, const QFont& font, int minimumPoints)
{
    auto* field = new FittingLabel(font, minimumPoints, this);
    field->setObjectName(name);
    return field;
}

QLabel* NWCellView::makeLabel(const QString& name, const QFont& font)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    return label;
}

void NWCellView::setRecord(const MVX_NWLog& record, const MVX_NWLog* older, const NWCurrencyFormatter& money)
{
    const double netWorth = RecordListTexts::netWorth(record);
    m_change = older ? netWorth - RecordListTexts::netWorth(*older) : 0;
    m_nwField->setFullText(money.stringFromNumber(netWorth));
    m_nwDeltaField->setFullText(RecordListTexts::changeText(record, older, money));
    m_asField->setFullText(money.stringFromNumber(record.assets().value_or(0)));
    m_lbField->setFullText(money.stringFromNumber(record.liabilities().value_or(0)));
    m_monthField->setFullText(RecordListTexts::monthText(record));
    m_yearField->setFullText(record.year() ? QString::number(*record.year()) : QString());
    // The note is one line, elided to the row when laid out; the whole of it is in the tooltip.
    m_note = record.note();
    m_commentField->setToolTip(m_note);
    applyColors();
    layoutFields();
}

QRect NWCellView::calendarRect() const
{
    return QRect(calendarX, (height() - calendarHeight) / 2, calendarWidth, calendarHeight);
}

void NWCellView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutFields();
}

void NWCellView::layoutFields()
{
    const QRect tile = calendarRect();
    // The net worth's capitals line up with the tile's top, and the amounts' baseline is the
    // year's; the month sits in the middle of the tile's band.
    const int firstBaseline = tile.y() + 14;
    const int amountBaseline = firstBaseline + 28;
    placeOnBaseline(m_monthField, tile.x() + 2, tile.y() + 12, tile.width() - 4);
    placeOnBaseline(m_yearField, tile.x() + 2, amountBaseline, tile.width() - 4);

    const int textWidth = std::max(0, width() - rightMargin - textX);
    // The change keeps the width it needs while the net worth still fits at its smallest
    // size; past that both shrink, the change never to less than half the line.
    int deltaWidth = 0;
    if (!m_nwDeltaField->fullText().isEmpty()) {
        const int roomLeft = textWidth - deltaGap - m_nwField->minimumWidthNeeded();
        deltaWidth
            = std::min({ m_nwDeltaField->naturalWidth(), std::max(roomLeft, textWidth / 2), textWidth });
    }
    const int nwWidth = std::max(0, textWidth - deltaWidth - (deltaWidth > 0 ? deltaGap : 0));
    placeOnBaseline(m_nwField, textX, firstBaseline, nwWidth);
    placeOnBaseline(m_nwDeltaField, textX + textWidth - deltaWidth, firstBaseline, deltaWidth);

    // Captions over the amounts, so that each amount has half the line to itself.
    const int firstColumn = (textWidth - columnGap) / 2;
    const int secondX = textX + firstColumn + columnGap;
    const int secondColumn = textX + textWidth - secondX;
    placeOnBaseline(m_assetsCaption, textX, firstBaseline + 14, firstColumn);
    placeOnBaseline(m_liabilitiesCaption, secondX, firstBaseline + 14, secondColumn);
    placeOnBaseline(m_asField, textX, amountBaseline, firstColumn);
    placeOnBaseline(m_lbField, secondX, amountBaseline, secondColumn);

    m_commentField->setText(
        QFontMetrics(m_commentField->font()).elidedText(m_note.simplified(), Qt::ElideRight, textWidth));
    placeOnBaseline(m_commentField, textX, firstBaseline + 42, textWidth);
}

void NWCellView::placeOnBaseline(QLabel* label, int x, int baseline, int width)
{
    // The width first: a fitting label chooses its size by it, and the size decides the height.
    if (auto* field = qobject_cast<FittingLabel*>(label))
        field->fitToWidth(width);
    const QFontMetrics metrics(label->font());
    label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
    label->setGeometry(x, baseline - metrics.ascent(), width, metrics.height());
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
    const QColor secondary = captionColor();
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
    painter.fillPath(card, monthBandColor());
    painter.restore();
    painter.setPen(QPen(platform::namedColor(u"Separator"_s), 1));
    painter.drawPath(card);
}
