#include "uikit/tabs/CustomizableTabView.h"

#include "uikit/controls/buttons/SegmentedControl.h"
#include "uikit/tabs/TabGeometry.h"

#include <QPainter>
#include <QStackedWidget>

using namespace Qt::Literals::StringLiterals;

CustomizableTabView::CustomizableTabView(QWidget* parent) : QWidget(parent)
{
    m_stack = new QStackedWidget(this);
    rework();
}

CustomizableTabView* CustomizableTabView::makeWithDefaultItems(QWidget* parent)
{
    auto* view = new CustomizableTabView(parent);
    view->addTabViewItem(u"1"_s, u"Tab"_s);
    view->addTabViewItem(u"2"_s, u"View"_s);
    return view;
}

void CustomizableTabView::addTabViewItem(const QString& identifier, const QString& label, QWidget* view)
{
    if (!view)
        view = new QWidget;
    m_items.append({ identifier, label, view });
    m_stack->addWidget(view);
    if (m_selected < 0)
        m_selected = 0;
    rework();
    showSelected();
    update();
}

void CustomizableTabView::removeTabViewItem(int index)
{
    if (index < 0 || index >= numberOfTabViewItems())
        return;
    const Item item = m_items.takeAt(index);
    if (item.view) {
        m_stack->removeWidget(item.view);
        delete item.view.data();
    }
    if (m_items.isEmpty())
        m_selected = -1;
    else if (index < m_selected || m_selected >= numberOfTabViewItems())
        m_selected = std::max(m_selected - 1, 0);
    rework();
    showSelected();
    update();
}

QString CustomizableTabView::identifierAt(int index) const
{
    return index >= 0 && index < numberOfTabViewItems() ? m_items.at(index).identifier : QString();
}

QString CustomizableTabView::labelAt(int index) const
{
    return index >= 0 && index < numberOfTabViewItems() ? m_items.at(index).label : QString();
}

QWidget* CustomizableTabView::viewAt(int index) const
{
    return index >= 0 && index < numberOfTabViewItems() ? m_items.at(index).view.data() : nullptr;
}

void CustomizableTabView::selectTabViewItemAtIndex(int index)
{
    if (index < 0 || index >= numberOfTabViewItems())
        return;
    m_selected = index;
    showSelected();
    if (m_segmentedControl)
        m_segmentedControl->setSelectedSegment(index);
}

void CustomizableTabView::selectTabViewItemWithIdentifier(const QString& identifier)
{
    for (int i = 0; i < numberOfTabViewItems(); ++i) {
        if (m_items.at(i).identifier == identifier) {
            selectTabViewItemAtIndex(i);
            return;
        }
    }
}

void CustomizableTabView::rework()
{
    const int count = numberOfTabViewItems();
    const QRectF frame = TabGeometry::reworkedControlFrame(QRectF(rect()), count);
    delete m_segmentedControl.data();
    m_segmentedControl = new SegmentedControl(this);
    m_segmentedControl->setObjectName(u"segmentedControl"_s);
    m_segmentedControl->setSegmentCount(count);
    for (int i = 0; i < count; ++i)
        m_segmentedControl->setLabel(m_items.at(i).label, i);
    connect(m_segmentedControl, &SegmentedControl::segmentClicked, this, &CustomizableTabView::ctrlSelected);
    m_segmentedControl->setGeometry(frame.toRect());
    m_segmentedControl->show();
    m_maxWidth = m_segmentedControl->sizeHint().width();
    if (!m_bezelColor.isValid())
        m_bezelColor = Qt::darkGray;
    m_segmentedControl->setSelectedSegment(m_selected);
    layoutContent();
}

void CustomizableTabView::viewWillDraw()
{
    if (!m_segmentedControl)
        return;
    const QRect frame
        = TabGeometry::drawnControlFrame(QRectF(rect()), m_maxWidth, m_segmentedControl->sizeHint().height())
              .toRect();
    if (m_segmentedControl->geometry() != frame)
        m_segmentedControl->setGeometry(frame);
    layoutContent();
}

void CustomizableTabView::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

void CustomizableTabView::setWindowBackgroundColor(const QColor& color)
{
    m_windowBackgroundColor = color;
    update();
}

void CustomizableTabView::setBezelColor(const QColor& color)
{
    m_bezelColor = color;
    update();
}

void CustomizableTabView::ctrlSelected(int segment)
{
    if (segment < 0 || segment >= numberOfTabViewItems())
        return;
    m_selected = segment;
    showSelected();
    Q_EMIT selectedTabChanged(segment);
}

void CustomizableTabView::showSelected()
{
    if (m_selected >= 0 && m_selected < numberOfTabViewItems() && m_items.at(m_selected).view)
        m_stack->setCurrentWidget(m_items.at(m_selected).view);
}

void CustomizableTabView::layoutContent()
{
    const QRectF control = m_segmentedControl ? QRectF(m_segmentedControl->geometry()) : QRectF();
    m_stack->setGeometry(TabGeometry::contentRect(QRectF(rect()), control).toRect());
}

void CustomizableTabView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    viewWillDraw();
}

void CustomizableTabView::paintEvent(QPaintEvent* /*event*/)
{
    viewWillDraw();
    const QRectF bounds(rect());
    const QRectF bezel = TabGeometry::bezelRect(bounds);
    const QColor fill
        = m_windowBackgroundColor.isValid() ? m_windowBackgroundColor : palette().color(QPalette::Window);
    const QPainterPath bezelPath = TabGeometry::roundedRectPath(bezel, 8);
    QPainterPath backing;
    if (m_segmentedControl)
        backing = TabGeometry::roundedRectPath(
            TabGeometry::controlBackingRect(QRectF(m_segmentedControl->geometry())), 2);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    // The frame around the bezel casts a soft shadow into it: paint the shadow as a few
    // widening strokes clipped to the bezel, then the frame itself.
    painter.save();
    painter.setClipPath(bezelPath);
    QColor shadow = m_bezelColor;
    for (int i = 3; i >= 1; --i) {
        shadow.setAlphaF(0.12);
        painter.setPen(QPen(shadow, i * 2.0));
        painter.drawPath(bezelPath.translated(1, 1));
    }
    painter.restore();

    QPainterPath frame;
    frame.addRect(bounds);
    frame = frame.subtracted(bezelPath);
    painter.fillPath(frame, fill);

    painter.setPen(QPen(m_bezelColor, 0.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(bezelPath);
    if (!backing.isEmpty())
        painter.fillPath(backing, fill);
}
