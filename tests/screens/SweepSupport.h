#pragma once

#include "model/data/MVX_Model.h"
#include "model/store/NWData.h"
#include "support/SharedStoreTest.h"

#include <QCoreApplication>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <limits>
#include <memory>

namespace mervane::test::sweep {

inline constexpr double edgeNaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double edgeInf = std::numeric_limits<double>::infinity();

/// Numbers a public entry may be handed: not a number, both infinities, zero, huge and the
/// ends of int.
inline const QList<double> edgeNumbers { edgeNaN, edgeInf, -edgeInf, 0.0, -0.0, 1.0e9, -1.0e9,
    double(INT_MIN), double(INT_MAX), std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(),
    1.0e-300 };
inline const QList<float> edgeFloats { std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 0.0f, 1.0e9f, -1.0e9f,
    std::numeric_limits<float>::max(), -std::numeric_limits<float>::max() };
/// Rows of a list: before it, its first, past it and the ends of int.
inline const QList<int> edgeRows { INT_MIN, -1, 0, 1000000, INT_MAX };
inline const QList<int> edgeInts { INT_MIN, -1000000, -1, 0, 1, 7, 13, 1000000, INT_MAX };

/// Texts: none, empty, 10,000 characters without a break, many lines, and right-to-left.
inline QList<QString> edgeTexts()
{
    return { QString(), QStringLiteral(""), QString(10000, QLatin1Char('W')),
        QStringLiteral("line\n").repeated(2000), QStringLiteral("\u05e9\u05dc\u05d5\u05dd \u0000 %1 %n") };
}

/// From nothing to far larger than any screen; each is laid out at that size.
inline const QList<QSize> edgeSizes { QSize(0, 0), QSize(1, 1), QSize(0, 700), QSize(900, 0),
    QSize(3, 100000), QSize(100000, 3), QSize(100000, 100000), QSize(900, 700) };

/// Shows `widget` as the shell shows a screen, inside a small window: it gets its show
/// events, layouts and timers at any size of its own, while the window's pixel buffer stays
/// the window's size.
void showInHost(QWidget& widget);

/// Paints `widget`'s top-left and bottom-right corners into small images: the widget is laid
/// out and drawn at its full size while the pixel buffers stay test-sized.
inline void paintCorners(QWidget& widget)
{
    QImage image(320, 240, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(0, 0, 320, 240));
    const QSize size = widget.size();
    if (size.width() > 320 || size.height() > 240)
        widget.render(&image, QPoint(),
            QRegion(std::max(0, size.width() - 320), std::max(0, size.height() - 240), 320, 240));
}

/// Popover contents are laid out at their own size; these are the edges they meet.
inline const QList<QSize> popoverSizes { QSize(0, 0), QSize(1, 1), QSize(3, 2000), QSize(2000, 3),
    QSize(900, 700) };

/// Resizes `widget` through every edge size, letting layouts and timers run and painting at
/// each; ends at an ordinary size.
inline void resizeAndPaint(
    QWidget& widget, const QList<QSize>& sizes = edgeSizes, const std::function<void()>& afterResize = {})
{
    for (const QSize& size : sizes) {
        widget.resize(size);
        QCoreApplication::processEvents();
        if (afterResize) {
            afterResize();
            QCoreApplication::processEvents();
        }
        paintCorners(widget);
    }
}

/// Lets every queued event and deferred delete run, as the event loop does between two
/// user actions.
inline void settle()
{
    for (int turn = 0; turn < 3; ++turn) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

/// A household whose numbers and texts sit at the edges: NaN, infinite and huge values,
/// negative totals, a 10,000-character category name and description, a tag on nearly every
/// category, and `months` records of `categories` categories per side.
std::shared_ptr<MVX_Model> edgeHousehold(int categories, int months);

/// The shared store and its data file, loaded with an edge household or none.
class ScreenSweepTest : public SharedStoreTest {
protected:
    void SetUp() override;
    void TearDown() override;
    /// The store holds `model` (records sorted), as after a load; null empties it.
    static void install(const std::shared_ptr<MVX_Model>& model);
    /// Runs `body` with no model, an empty model, the edge household and a large one.
    static void forEachModel(const std::function<void()>& body);
};

} // namespace mervane::test::sweep
