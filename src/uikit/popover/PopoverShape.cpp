#include "uikit/popover/PopoverShape.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#if defined(MERVANE_HAVE_XCB) && QT_CONFIG(xcb)
#define MERVANE_ASK_X11 1
#include <QByteArray>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace PopoverShape {

QRegion maskRegion(const QPainterPath& yUpOutline, const QSize& size, qreal strokeWidth)
{
    if (size.isEmpty())
        return {};
    // A window larger than any screen is not worth a coverage image of its size: no cut.
    constexpr qint64 kLargestCut = qint64(8192) * 8192;
    if (qint64(size.width()) * size.height() > kLargestCut)
        return QRegion(QRect(QPoint(0, 0), size));
    QImage coverage(size, QImage::Format_Alpha8);
    if (coverage.isNull())
        return QRegion(QRect(QPoint(0, 0), size));
    coverage.fill(0);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(QTransform(1, 0, 0, -1, 0, size.height()));
        painter.fillPath(yUpOutline, Qt::black);
        if (strokeWidth > 0) {
            QPen pen(Qt::black, strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.strokePath(yUpOutline, pen);
        }
    }
    QRegion region;
    for (int y = 0; y < size.height(); ++y) {
        const uchar* line = coverage.constScanLine(y);
        int x = 0;
        while (x < size.width()) {
            while (x < size.width() && line[x] < 128)
                ++x;
            const int start = x;
            while (x < size.width() && line[x] >= 128)
                ++x;
            if (x > start)
                region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

bool compositingManagerRunning()
{
#if defined(MERVANE_ASK_X11)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return true;
    // The screen Qt connected to is the one $DISPLAY names (0 when it names none).
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        screen = 0;
    std::free(host);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection,
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()), nullptr);
    if (!atom)
        return false;
    const xcb_atom_t selection = atom->atom;
    std::free(atom);
    if (selection == XCB_ATOM_NONE)
        return false; // never interned: nobody has ever owned it
    xcb_get_selection_owner_reply_t* owner
        = xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool running = owner && owner->owner != XCB_NONE;
    std::free(owner);
    return running;
#else
    return true;
#endif
}

void applyMask(QWidget* window, const std::function<QRegion()>& makeRegion)
{
    if (compositingManagerRunning())
        window->clearMask();
    else
        window->setMask(makeRegion());
}

} // namespace PopoverShape
