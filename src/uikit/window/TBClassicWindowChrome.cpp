#include "uikit/window/TBClassicWindow.h"

#include "uikit/ViewOwnership.h"
#include "uikit/window/TBClassicLayout.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBMovableByBackgroundContainerView.h"
#include "uikit/window/TBWindowButton.h"

#include "platform/Strings.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// The classic window's chrome: the custom window buttons, the bars' default look, and the
// layout of bars, buttons and content.

namespace {

QColor white(double level, double alpha = 1.0)
{
    return QColor::fromRgbF(float(level), float(level), float(level), float(alpha));
}

QGradientStops stops(std::initializer_list<std::pair<double, double>> levels)
{
    QGradientStops result;
    for (const auto& [location, level] : levels)
        result.append({ location, white(level) });
    return result;
}

bool isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QAbstractSlider*>(widget)
        || qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget)
        || qobject_cast<const QLineEdit*>(widget);
}

QString roleDescription(TBStandardButtons::Kind kind)
{
    switch (kind) {
    case TBStandardButtons::Kind::Close:
        return platform::Strings::tr("close button");
    case TBStandardButtons::Kind::Miniaturize:
        return platform::Strings::tr("minimize button");
    case TBStandardButtons::Kind::Zoom:
        return platform::Strings::tr("zoom button");
    default:
        return platform::Strings::tr("full screen button");
    }
}

} // namespace

void TBClassicWindow::setCloseButton(TBWindowButton* button)
{
    setCustomButton(m_closeButton, button, TBStandardButtons::Kind::Close);
}

void TBClassicWindow::setMinimizeButton(TBWindowButton* button)
{
    setCustomButton(m_minimizeButton, button, TBStandardButtons::Kind::Miniaturize);
}

void TBClassicWindow::setZoomButton(TBWindowButton* button)
{
    setCustomButton(m_zoomButton, button, TBStandardButtons::Kind::Zoom);
}

void TBClassicWindow::setFullScreenButton(TBWindowButton* button)
{
    setCustomButton(m_fullScreenButton, button, TBStandardButtons::Kind::FullScreen);
}

void TBClassicWindow::setCustomButton(
    QPointer<TBWindowButton>& slot, TBWindowButton* button, TBStandardButtons::Kind kind)
{
    if (button == slot)
        return;
    // The caller's button comes back to the caller (uikit/ViewOwnership.h).
    ViewOwnership::handBack(slot);
    slot = button;
    if (!button)
        return;
    switch (kind) {
    case TBStandardButtons::Kind::Close:
        connect(button, &QAbstractButton::clicked, this, &TBClassicWindow::performClose);
        break;
    case TBStandardButtons::Kind::Miniaturize:
        connect(button, &QAbstractButton::clicked, this, &TBClassicWindow::performMiniaturize);
        break;
    case TBStandardButtons::Kind::Zoom:
        connect(button, &QAbstractButton::clicked, this, &TBClassicWindow::performZoom);
        break;
    default:
        connect(button, &QAbstractButton::clicked, this, &TBClassicWindow::toggleFullScreen);
        break;
    }
    button->setParent(this);
    if (TBWindowButton* standard = standardWindowButton(kind)) {
        const QRectF origin = TBGeometry::frame(standard, this);
        TBGeometry::setFrame(button, QRectF(origin.topLeft(), QSizeF(button->size())), this);
    }
    button->setAccessibleName(roleDescription(kind));
    button->setAccessibleDescription(roleDescription(kind));
    button->show();
    button->raise();
}

QGradientStops TBClassicWindow::defaultTitleBarGradient(bool drawsAsMain)
{
    if (drawsAsMain)
        return stops({ { 0, 180 / 255.0 }, { 0.25, 195 / 255.0 }, { 0.5, 210 / 255.0 }, { 1, 235 / 255.0 } });
    return stops({ { 0, 225 / 255.0 }, { 1, 250 / 255.0 } });
}

QGradientStops TBClassicWindow::defaultBottomBarGradient(bool drawsAsMain)
{
    if (drawsAsMain)
        return stops({ { 0, 180 / 255.0 }, { 1, 210 / 255.0 } });
    return stops({ { 0, 225 / 255.0 }, { 1, 235 / 255.0 } });
}

QColor TBClassicWindow::defaultBaselineSeparatorColor(bool drawsAsMain)
{
    return white((drawsAsMain ? 104 : 167) / 255.0);
}

QColor TBClassicWindow::defaultTitleTextColor(bool drawsAsMain)
{
    return white(56 / 255.0, drawsAsMain ? 1.0 : 0.5);
}

TBWindowButton* TBClassicWindow::buttonToLayOut(
    const QPointer<TBWindowButton>& custom, TBStandardButtons::Kind kind)
{
    TBWindowButton* standard = standardWindowButton(kind);
    if (custom) {
        if (standard)
            standard->hide();
        return custom;
    }
    if (standard && standard->parentWidget() != this)
        standard->show();
    return standard;
}

QRectF TBClassicWindow::computedContentFrame() const
{
    return TBClassicLayout::contentFrame(width(), height(), m_titleBarHeight, toolbarHeight(),
        m_bottomBarHeight, isFullScreen() && m_hideTitleBarInFullScreen);
}

void TBClassicWindow::layout()
{
    const TBClassicLayout::BarFrames bars
        = TBClassicLayout::barFrames(QRectF(0, 0, width(), height()), m_titleBarHeight, m_bottomBarHeight);
    for (auto [container, frame] :
        { std::pair(m_titleBarContainer, bars.titleBar), std::pair(m_bottomBarContainer, bars.bottomBar) }) {
        const QSize old = container->size();
        TBGeometry::setFrame(container, frame, this);
        if (old != container->size())
            TBGeometry::applyAutoresizing(container, QSizeF(old));
    }
    // The bar views fill their containers.
    if (m_titleBarView)
        m_titleBarView->setGeometry(m_titleBarContainer->rect());
    if (m_bottomBarView)
        m_bottomBarView->setGeometry(m_bottomBarContainer->rect());

    TBWindowButton* close = buttonToLayOut(m_closeButton, TBStandardButtons::Kind::Close);
    TBWindowButton* minimize = buttonToLayOut(m_minimizeButton, TBStandardButtons::Kind::Miniaturize);
    TBWindowButton* zoom = buttonToLayOut(m_zoomButton, TBStandardButtons::Kind::Zoom);
    if (close && minimize && zoom) {
        TBClassicLayout::TrafficLights lights;
        lights.container = bars.titleBar;
        lights.close = QSizeF(close->size());
        lights.minimize = QSizeF(minimize->size());
        lights.zoom = QSizeF(zoom->size());
        lights.centered = m_centerTrafficLightButtons;
        lights.vertical = m_verticalTrafficLightButtons;
        lights.leftMargin = m_trafficLightButtonsLeftMargin;
        lights.topMargin = m_trafficLightButtonsTopMargin;
        lights.separation = m_trafficLightSeparation;
        const auto frames = TBClassicLayout::trafficLightFrames(lights);
        TBGeometry::setFrame(close, frames[0], this);
        TBGeometry::setFrame(minimize, frames[1], this);
        TBGeometry::setFrame(zoom, frames[2], this);
    }

    if (TBWindowButton* fullScreen
        = buttonToLayOut(m_fullScreenButton, TBStandardButtons::Kind::FullScreen)) {
        if (!m_setFullScreenButtonRightMargin)
            setFullScreenButtonRightMargin(TBClassicLayout::measuredRightMargin(
                bars.titleBar.width(), TBGeometry::frame(fullScreen, this)));
        TBGeometry::setFrame(fullScreen,
            TBClassicLayout::fullScreenButtonFrame(bars.titleBar, QSizeF(fullScreen->size()),
                m_fullScreenButtonRightMargin, m_centerFullScreenButton, m_fullScreenButtonTopMargin),
            this);
    }

    for (QObject* child : children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (!label)
            continue;
        if (m_titleFont)
            label->setFont(*m_titleFont);
        QRectF frame = TBGeometry::frame(label, this);
        frame.moveTop(TBClassicLayout::titleFieldY(bars.titleBar, frame.height(), m_verticallyCenterTitle));
        TBGeometry::setFrame(label, frame, this);
    }
    repositionContentView();
}

void TBClassicWindow::repositionContentView()
{
    if (!m_contentView)
        return;
    const QRectF wanted = computedContentFrame();
    if (TBGeometry::frame(m_contentView, this) != wanted) {
        TBGeometry::setFrame(m_contentView, wanted, this);
        m_contentView->update();
    }
}

void TBClassicWindow::updateTitleBar()
{
    if (!m_titleBarView)
        return;
    m_titleBarView->update();
    const bool main = drawsAsMain();
    for (QObject* child : m_titleBarView->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && isControl(control))
            control->setEnabled(main);
    }
}

void TBClassicWindow::updateBottomBar()
{
    if (m_bottomBarView)
        m_bottomBarView->update();
}
