#pragma once

#include <QLabel>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace mervane::test {

/// Fails the test for every visible label of `view` whose text is cut: a label lower than
/// its wrapped text needs at its width, narrower than its longest word, or reaching past
/// `view`'s own rectangle (or past the window's, for a view in a popover).
inline void expectEveryTextFits(const QWidget& view, const char* when)
{
    const QRect window = view.window()->rect();
    for (const QLabel* label : view.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&view) || label->text().isEmpty())
            continue;
        const QString name = label->objectName().isEmpty() ? label->text().left(30) : label->objectName();
        const QRect inView(label->mapTo(&view, QPoint(0, 0)), label->size());
        const QRect inWindow(label->mapTo(view.window(), QPoint(0, 0)), label->size());
        if (label->wordWrap())
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << when << ": the text of " << qPrintable(name) << " is cut at the bottom";
        else
            EXPECT_GE(label->height(), label->sizeHint().height())
                << when << ": the text of " << qPrintable(name) << " is cut at the bottom";
        EXPECT_GE(label->width(), label->minimumSizeHint().width())
            << when << ": the text of " << qPrintable(name) << " is cut at the side";
        EXPECT_TRUE(view.rect().contains(inView))
            << when << ": " << qPrintable(name) << " reaches out of its view";
        EXPECT_TRUE(window.contains(inWindow))
            << when << ": " << qPrintable(name) << " reaches out of its window";
    }
}

} // namespace mervane::test
