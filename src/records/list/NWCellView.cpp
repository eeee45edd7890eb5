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
    m_monthField = makeField(u"monthField"_s, platform::designFont(11, QFont::Bold), 8);
    m_monthField->setAlignment(Qt::AlignCenter);
    m_yearField = makeField(u"yearField"_s, platform::designFont(15, QFont::Bold), 10);
    m_yearField->setAlignment(Qt::AlignCenter);
    m_nwField = makeField(u"nwField"_s, platform::designFont(18, QFont::Bold), minimumNetWorthPoints);
    m_nwField->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_nwDeltaField = makeField(u"nwDeltaField"_s, platform::designFont(12), minimumAmountPoints);
    m_nwDeltaField->setAlignment(Qt::AlignRight | Qt::AlignBottom);
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
    m_monthField->setGeometry(tile.x() + 2, tile.y() + 1, tile.width() - 4, 16);
    m_yearField->setGeometry(tile.x() + 2, tile.y() + 18, tile.width() - 4, tile.height() - 20);
    m_monthField->setFullText(m_monthField->fullText());
    m_yearField->setFullText(m_yearField->fullText());

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
    m_nwField->setGeometry(textX, 3, nwWidth, 24);
    m_nwDeltaField->setGeometry(textX + textWidth - deltaWidth, 3, deltaWidth, 24);

    // Captions over the amounts, so that each amount has half the line to itself.
    const int firstColumn = (textWidth - columnGap) / 2;
    const int secondX = textX + firstColumn + columnGap;
    const int secondColumn = textX + textWidth - secondX;
    m_assetsCaption->setGeometry(textX, 28, firstColumn, 12);
    m_liabilitiesCaption->setGeometry(secondX, 28, secondColumn, 12);
    m_asField->setGeometry(textX, 40, firstColumn, 15);
    m_lbField->setGeometry(secondX, 40, secondColumn, 15);
    // Setting the text again fits it to a width that may not have changed with the text.
    for (FittingLabel* field :
        { m_nwField.data(), m_nwDeltaField.data(), m_asField.data(), m_lbField.data() })
        field->setFullText(field->fullText());

    m_commentField->setGeometry(textX, 55, textWidth, 14);
    m_commentField->setText(
        m_commentField->fontMetrics().elidedText(m_note.simplified(), Qt::ElideRight, textWidth));
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
