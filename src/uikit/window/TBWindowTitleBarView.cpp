#include "uikit/window/TBWindowTitleBarView.h"

#include "platform/Resources.h"
#include "platform/UserDefaults.h"
#include "uikit/window/TBGeometry.h"
#include "uikit/window/TBTitleBarDoubleClick.h"
#include "uikit/window/TBWindowState.h"

#include <QMouseEvent>
#include <QPainter>

using namespace Qt::Literals::StringLiterals;

TBWindowTitleBarView::TBWindowTitleBarView(QWidget* window) : QWidget(window)
{
    setAttribute(Qt::WA_StyledBackground, false);
}

void TBWindowTitleBarView::setShowsTitle(bool shows)
{
    if (m_showsTitle == shows)
        return;
    m_showsTitle = shows;
    update();
}

void TBWindowTitleBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = window()->isActiveWindow();
    QColor background = platform::namedColor(u"WindowBackground"_s);
    if (!background.isValid())
        background = palette().color(QPalette::Window);
    painter.fillRect(rect(), background);
    QColor separator = platform::namedColor(u"Separator"_s);
    if (!separator.isValid())
        separator = palette().color(QPalette::Mid);
    painter.fillRect(QRect(0, height() - 1, width(), 1), separator);
    if (!m_showsTitle)
        return;
    const QString title = window()->windowTitle();
    if (title.isEmpty())
        return;
    QColor text = platform::namedColor(active ? u"PrimaryText"_s : u"SecondaryText"_s);
    if (!text.isValid())
        text = palette().color(QPalette::WindowText);
    painter.setPen(text);
    QFont font = this->font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
        painter.fontMetrics().elidedText(title, Qt::ElideRight, width() / 2));
}

void TBWindowTitleBarView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // Like a maximised window, one filling the screen without a window manager stays put, so
    // that the next double click can put it back.
    if (!window()->isFullScreen() && !TBWindowState::isZoomed(window()))
        m_drag.begin(window(), event->globalPosition().toPoint(), true);
}

void TBWindowTitleBarView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        m_drag.moveTo(event->globalPosition().toPoint());
}

void TBWindowTitleBarView::mouseReleaseEvent(QMouseEvent* event)
{
    m_drag.end();
    if (event->button() == Qt::LeftButton && m_doubleClicked) {
        m_doubleClicked = false;
        switch (TBTitleBarDoubleClick::action(platform::UserDefaults::standard())) {
        case TBTitleBarDoubleClick::Action::Miniaturize:
            window()->showMinimized();
            break;
        case TBTitleBarDoubleClick::Action::Zoom:
            TBWindowState::toggleZoom(window());
            break;
        case TBTitleBarDoubleClick::Action::None:
            break;
        }
    }
}

void TBWindowTitleBarView::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The action follows the release of the second click, as a click count of 2 on mouse-up.
    if (event->button() == Qt::LeftButton)
        m_doubleClicked = true;
}
