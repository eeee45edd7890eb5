#include "uikit/extensions/AttributedStringHyperlink.h"
#include "uikit/extensions/BezierPathArrowhead.h"
#include "uikit/extensions/StringCommon.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

void expectPoint(QPointF got, QPointF expected)
{
    EXPECT_NEAR(got.x(), expected.x(), 1e-4);
    EXPECT_NEAR(got.y(), expected.y(), 1e-4);
}

TEST(BezierPathArrowheadTest, SevenPointsRotatedAndMovedToTheStart)
{
    // Straight up from (10, 10): the local x axis becomes y.
    const QPainterPath path
        = BezierPathArrowhead::bezierPathWithArrowFromPoint({ 10, 10 }, { 10, 30 }, 4, 10, 5);
    ASSERT_EQ(path.elementCount(), 8); // move, six lines, closing line
    expectPoint(path.elementAt(0), { 8, 10 }); // (0, t/2) rotated by 90 degrees
    expectPoint(path.elementAt(1), { 8, 25 }); // (L - h, t/2)
    expectPoint(path.elementAt(2), { 5, 25 }); // (L - h, w/2)
    expectPoint(path.elementAt(3), { 10, 30 }); // the tip is the end point
    expectPoint(path.elementAt(4), { 15, 25 });
    expectPoint(path.elementAt(6), { 12, 10 });
}

TEST(BezierPathArrowheadTest, HeadAsLongAsTheArrowStartsAtTheStartAndEqualPointsGiveNothing)
{
    const QPainterPath path = BezierPathArrowhead::bezierPathWithArrowFromPoint({ 0, 0 }, { 3, 4 }, 2, 6, 5);
    const QPolygonF outline = path.toFillPolygon();
    const auto hasVertex = [&outline](QPointF p) {
        return std::any_of(outline.begin(), outline.end(),
            [p](QPointF v) { return std::abs(v.x() - p.x()) < 1e-4 && std::abs(v.y() - p.y()) < 1e-4; });
    };
    EXPECT_TRUE(hasVertex({ -2.4, 1.8 })); // the head's corners lie beside S
    EXPECT_TRUE(hasVertex({ 2.4, -1.8 }));
    EXPECT_TRUE(hasVertex({ 3, 4 }));
    EXPECT_TRUE(BezierPathArrowhead::bezierPathWithArrowFromPoint({ 2, 2 }, { 2, 2 }, 2, 6, 5).isEmpty());
}

TEST(StringCommonTest, SplitOnCharKeepsEmptyPieces)
{
    EXPECT_EQ(StringCommon::splitOnChar(u""_s, ','), QStringList());
    EXPECT_EQ(StringCommon::splitOnChar(u"a,,b"_s, ','), (QStringList { u"a"_s, u""_s, u"b"_s }));
    EXPECT_EQ(StringCommon::splitOnChar(u",a"_s, ','), (QStringList { u""_s, u"a"_s }));
    EXPECT_EQ(StringCommon::splitOnChar(u"a,"_s, ','), (QStringList { u"a"_s, u""_s }));
    EXPECT_EQ(StringCommon::splitOnChar(u"abc"_s, ','), QStringList { u"abc"_s });
    EXPECT_EQ(
        StringCommon::splitOnChar(u"a\u00E9b"_s, static_cast<char>(0xE9)), QStringList { u"a\u00E9b"_s });
}

TEST(StringCommonTest, SubstringBlankAndContains)
{
    EXPECT_EQ(StringCommon::substringFrom(u"Mervane"_s, 1, 4), u"erv"_s);
    EXPECT_EQ(StringCommon::substringFrom(u"Mervane"_s, 4, 1), u""_s);
    EXPECT_EQ(StringCommon::substringFrom(u"Mervane"_s, 5, 99), u"ne"_s);
    EXPECT_EQ(StringCommon::substringFrom(u"Mervane"_s, -3, 2), u"Me"_s);
    EXPECT_TRUE(StringCommon::isBlank(u" \t\n "_s));
    EXPECT_FALSE(StringCommon::isBlank(u" x "_s));
    EXPECT_EQ(StringCommon::stringByStrippingWhitespace(u"\n a b \r\n"_s), u"a b"_s);
    EXPECT_TRUE(StringCommon::contains(u"net worth"_s, u"t w"_s));
    EXPECT_FALSE(StringCommon::contains(u"net worth"_s, u"Net"_s));
}

TEST(AttributedStringHyperlinkTest, EscapesTextAndLinksOnlySafeSchemes)
{
    const QString html = AttributedStringHyperlink::hyperlinkFromString(
        u"<img src=x>"_s, QUrl(u"https://example.org/a?b=1&c=2"_s));
    QTextDocument document;
    document.setHtml(html);
    EXPECT_EQ(document.toPlainText(), u"<img src=x>"_s);
    const QTextCharFormat format = document.begin().begin().fragment().charFormat();
    EXPECT_TRUE(format.isAnchor());
    EXPECT_EQ(QUrl(format.anchorHref()), QUrl(u"https://example.org/a?b=1&c=2"_s));
    EXPECT_TRUE(format.fontUnderline());

    const QString unsafe
        = AttributedStringHyperlink::hyperlinkFromString(u"run"_s, QUrl(u"file:///bin/sh"_s));
    EXPECT_FALSE(unsafe.contains(u"href"_s));
    EXPECT_TRUE(AttributedStringHyperlink::isOpenable(QUrl(u"mailto:someone@example.org"_s)));
    EXPECT_FALSE(AttributedStringHyperlink::isOpenable(QUrl(u"javascript:alert(1)"_s)));
}

} // namespace
