#include "uikit/controls/buttons/SegmentedControl.h"

#include "uikit/controls/KitColors.h"

#include <QHBoxLayout>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>

namespace {
// A segment wider or taller than this gets no more room and a longer label is elided: no bar
// shows more, and the style paints a segment's whole face at once.
constexpr int kMaximumSegmentWidth = 1000;
} // namespace

// A segment keeps its whole label (its size hint, the control's natural width, up to a
// limit) and draws it elided when the layout gives it less room than that.
class SegmentButton : public QToolButton {
public:
    using QToolButton::QToolButton;

    QSize sizeHint() const override
    {
        QSize hint = QToolButton::sizeHint();
        hint.setWidth(std::min(hint.width(), kMaximumSegmentWidth));
        return hint;
    }

    QString shownText() const
    {
        if (width() >= QToolButton::sizeHint().width())
            return text();
        return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(width() - chromeWidth(), 0));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        option.text = shownText();
        if (isChecked() && option.palette.color(QPalette::Button).lightness() < 128) {
            // On a dark face the style's pressed shade is barely darker than the others: the
            // chosen segment is lit instead, so that it stands out; only so far that its text
            // still reads at 4.5:1, and greyed or disabled text, fainter, at 3:1.
            const bool faint = !isEnabled() || KitColors::isGreyed(this);
            const QColor face = option.palette.color(QPalette::Button);
            option.palette.setColor(QPalette::Button, face.lighter(faint ? 125 : 150));
        }
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }

private:
    // What the style puts around the text.
    int chromeWidth() const
    {
        return QToolButton::sizeHint().width() - fontMetrics().size(Qt::TextShowMnemonic, text()).width();
    }
};

SegmentedControl::SegmentedControl(QWidget* parent) : QWidget(parent)
{
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_group.setExclusive(true);
    connect(&m_group, &QButtonGroup::idClicked, this, &SegmentedControl::segmentClicked);
}

SegmentedControl::SegmentedControl(const QStringList& labels, QWidget* parent) : SegmentedControl(parent)
{
    setSegmentCount(static_cast<int>(labels.size()));
    for (int segment = 0; segment < segmentCount(); ++segment)
        setLabel(labels.at(segment), segment);
}

void SegmentedControl::setSegmentCount(int count)
{
    // More segments than any bar can show would only exhaust memory.
    constexpr int kMaximumSegments = 100;
    count = std::clamp(count, 0, kMaximumSegments);
    while (segmentCount() > count) {
        SegmentButton* button = m_segments.takeLast();
        m_group.removeButton(button);
        delete button;
    }
    while (segmentCount() < count) {
        auto* button = new SegmentButton(this);
        button->setObjectName(QStringLiteral("segment%1").arg(segmentCount()));
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        // The style paints a segment's whole face however little of it shows.
        button->setMaximumSize(kMaximumSegmentWidth, kMaximumSegmentWidth);
        m_group.addButton(button, segmentCount());
        m_layout->addWidget(button);
        m_segments.append(button);
    }
    updateGeometry();
}

QString SegmentedControl::labelForSegment(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? m_segments.at(segment)->text() : QString();
}

void SegmentedControl::setLabel(const QString& label, int segment)
{
    if (segment < 0 || segment >= segmentCount())
        return;
    m_segments.at(segment)->setText(label);
    updateGeometry();
}

QString SegmentedControl::shownLabelForSegment(int segment) const
{
    return segment >= 0 && segment < segmentCount() ? m_segments.at(segment)->shownText() : QString();
}

int SegmentedControl::selectedSegment() const
{
    return m_group.checkedId();
}

void SegmentedControl::setSelectedSegment(int segment)
{
    if (segment >= 0 && segment < segmentCount()) {
        m_segments.at(segment)->setChecked(true);
        return;
    }
    // An exclusive group never unchecks its last button by itself.
    m_group.setExclusive(false);
    for (SegmentButton* button : std::as_const(m_segments))
        button->setChecked(false);
    m_group.setExclusive(true);
}

QSize SegmentedControl::sizeHint() const
{
    // Each segment sized to fit its label, as a segment of width 0 is.
    int width = 0;
    int height = 0;
    for (const SegmentButton* button : m_segments) {
        const QSize hint = button->sizeHint();
        width += hint.width() + 16;
        height = std::max(height, hint.height());
    }
    return { width, std::max(height + 4, 22) };
}

QSize SegmentedControl::minimumSizeHint() const
{
    return { 0, 0 };
}
