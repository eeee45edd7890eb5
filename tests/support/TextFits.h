#pragma once

#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>

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

/// Fails the test unless `label` shows `whole`, an amount, from its start within its own width
/// and its window: the whole text, or (set smaller or not) its start up to a digit at least,
/// then "…". A sign, a currency or a first digit cut at the front fails it.
inline void expectShownFromItsStart(const QLabel& label, const QString& whole, const char* when)
{
    const QString shown = label.text();
    if (shown != whole) {
        EXPECT_TRUE(shown.endsWith(QChar(0x2026)))
            << when << ": \"" << qPrintable(shown) << "\" for \"" << qPrintable(whole.left(40)) << "\"";
        const QString start = shown.chopped(std::min<qsizetype>(1, shown.size()));
        EXPECT_TRUE(whole.startsWith(start) && start.contains(QRegularExpression(QStringLiteral("[0-9]"))))
            << when << ": \"" << qPrintable(shown) << "\" is not the start of \""
            << qPrintable(whole.left(40)) << "\"";
    }
    EXPECT_LE(QFontMetrics(label.font()).horizontalAdvance(shown), label.contentsRect().width())
        << when << ": \"" << qPrintable(shown.left(40)) << "\" is wider than its label";
    const QRect inWindow(label.mapTo(label.window(), QPoint(0, 0)), label.size());
    EXPECT_TRUE(label.window()->rect().contains(inWindow))
        << when << ": the amount reaches out of its window";
}

} // namespace mervane::test
