#include "uikit/controls/tokens/TKTokenField.h"

#include "model/store/NWData.h"

#include "support/TempHomeTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

std::shared_ptr<MVX_Tags> tag(const QString& name, const QString& colorName)
{
    auto result = std::make_shared<MVX_Tags>();
    result->setName(name);
    result->setHexColorString(colorName);
    return result;
}

int countNear(const QImage& image, const QColor& color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - color.red()) <= 2 && std::abs(c.green() - color.green()) <= 2
                && std::abs(c.blue() - color.blue()) <= 2;
        }
    return count;
}

class TokenFieldTest : public mervane::test::TempHomeTest {
protected:
    void SetUp() override
    {
        TempHomeTest::SetUp();
        colors = NWData::makeTagColors();
        field.setTagColors(colors);
        field.setCategoryTags({ tag(u"Home"_s, u"BLUE"_s), tag(u"Car"_s, u"RED"_s), tag(u"Car"_s, u"GREEN"_s),
            tag(u"Boat"_s, u"PURPLE"_s), tag(u"<img src=x>"_s, u"PINK"_s) });
        field.resize(400, 30);
        field.show();
        field.setFocus();
    }

    QHash<QString, QColor> colors;
    TKTokenField field;
};

TEST_F(TokenFieldTest, TypingCommasMakesTokensInTheirTagColours)
{
    QTest::keyClicks(&field, u"Home,Car,"_s);
    EXPECT_EQ(field.tokenTexts(), (QStringList { u"Home"_s, u"Car"_s }));
    EXPECT_EQ(field.toPlainText().size(), 2); // two capsules, no text left

    const auto home = field.attachmentCellAt(0);
    const auto car = field.attachmentCellAt(1);
    ASSERT_TRUE(home && car);
    EXPECT_EQ(home->fillColor(), colors.value(u"BLUE"_s));
    EXPECT_EQ(home->strokeColor(), colors.value(u"BLUE_LINE"_s));
    EXPECT_EQ(home->textColor(), colors.value(u"BLUE_TEXT"_s));
    EXPECT_EQ(car->fillColor(), colors.value(u"RED"_s)); // the first of two "Car" tags decides

    const QImage image = field.grab().toImage();
    EXPECT_GT(countNear(image, colors.value(u"BLUE"_s)), 40);
    EXPECT_GT(countNear(image, colors.value(u"RED"_s)), 40);
    EXPECT_EQ(countNear(image, colors.value(u"GREEN"_s)), 0);
}

TEST_F(TokenFieldTest, UnknownTagsAndUnknownColourNamesDrawWhite)
{
    QTest::keyClicks(&field, u"Plane, Boat ,"_s);
    EXPECT_EQ(field.tokenTexts(), (QStringList { u"Plane"_s, u"Boat"_s })); // trimmed
    for (int i = 0; i < 2; ++i) {
        const auto cell = field.attachmentCellAt(i);
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->fillColor(), colors.value(u"WHITE"_s));
        EXPECT_EQ(cell->strokeColor(), colors.value(u"WHITE_LINE"_s));
        EXPECT_EQ(cell->textColor(), colors.value(u"WHITE_TEXT"_s));
    }
}

TEST_F(TokenFieldTest, ColoursComeFromTheTableTheOwnerGives)
{
    const QHash<QString, QColor> own { { u"BLUE"_s, QColor(1, 2, 3) }, { u"BLUE_LINE"_s, QColor(4, 5, 6) },
        { u"BLUE_TEXT"_s, QColor(7, 8, 9) }, { u"WHITE"_s, QColor(10, 11, 12) },
        { u"WHITE_LINE"_s, QColor(13, 14, 15) }, { u"WHITE_TEXT"_s, QColor(16, 17, 18) } };
    QTest::keyClicks(&field, u"Home,"_s);
    field.setTagColors(own);
    EXPECT_EQ(field.tagColors(), own);
    QTest::keyClicks(&field, u"Home,Car,"_s);
    ASSERT_TRUE(field.attachmentCellAt(2));
    EXPECT_EQ(field.attachmentCellAt(0)->fillColor(), colors.value(u"BLUE"_s)); // made before
    EXPECT_EQ(field.attachmentCellAt(1)->fillColor(), QColor(1, 2, 3));
    EXPECT_EQ(field.attachmentCellAt(1)->strokeColor(), QColor(4, 5, 6));
    EXPECT_EQ(field.attachmentCellAt(1)->textColor(), QColor(7, 8, 9));
    // RED is not in this table, so the Car tag's token falls back on WHITE.
    EXPECT_EQ(field.attachmentCellAt(2)->fillColor(), QColor(10, 11, 12));
    EXPECT_EQ(field.attachmentCellAt(2)->textColor(), QColor(16, 17, 18));

    TKTokenField bare;
    bare.setCategoryTags(field.categoryTags());
    const auto cell = bare.tokenCellForRepresentedObject(u"Home"_s);
    EXPECT_FALSE(cell->fillColor().isValid());
    EXPECT_FALSE(cell->strokeColor().isValid());
}

TEST_F(TokenFieldTest, ReturnFinishesDeletingRemovesAndObjectValueRoundTrips)
{
    QTest::keyClicks(&field, u"Home,Car"_s);
    EXPECT_EQ(field.tokenTexts(), (QStringList { u"Home"_s, u"Car"_s })); // typed text counts
    EXPECT_FALSE(field.attachmentCellAt(1));
    QTest::keyClick(&field, Qt::Key_Return);
    ASSERT_TRUE(field.attachmentCellAt(1));
    EXPECT_EQ(field.toPlainText().size(), 2);

    QTest::keyClick(&field, Qt::Key_Backspace);
    EXPECT_EQ(field.tokenTexts(), QStringList { u"Home"_s });
    QTest::keyClicks(&field, u"x,"_s); // typing after a token makes text, not a token copy
    EXPECT_EQ(field.tokenTexts(), (QStringList { u"Home"_s, u"x"_s }));

    field.setObjectValue(QVariantList { u"Car"_s, u"<img src=x>"_s });
    EXPECT_EQ(field.objectValue(), (QVariantList { u"Car"_s, u"<img src=x>"_s }));
    EXPECT_EQ(field.attachmentCellAt(1)->stringValue(), u"<img src=x>"_s); // shown as typed
    EXPECT_EQ(field.attachmentCellAt(1)->fillColor(), colors.value(u"PINK"_s));
    field.setObjectValue(QStringList());
    EXPECT_TRUE(field.objectValue().isEmpty());
}

TEST_F(TokenFieldTest, ClickSelectsOneTokenAndCopyGivesTexts)
{
    field.setObjectValue(QStringList { u"Home"_s, u"Car"_s, u"Boat"_s });
    QTextCursor second(field.document());
    second.setPosition(1);
    const QRect left = field.cursorRect(second);
    second.setPosition(2);
    const QRect right = field.cursorRect(second);
    QTest::mouseClick(
        field.viewport(), Qt::LeftButton, {}, QPoint((left.left() + right.left()) / 2, left.center().y()));
    EXPECT_EQ(field.textCursor().selectionStart(), 1);
    EXPECT_EQ(field.textCursor().selectionEnd(), 2);

    field.selectAll();
    field.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), u"Home, Car, Boat"_s);
    QApplication::clipboard()->setText(u"Car\nHome"_s);
    field.clear();
    field.paste();
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(field.tokenTexts(), (QStringList { u"Car"_s, u"Home"_s }));
}

TEST(TKTokenAttachmentCellTest, GeometryAndJoinStyles)
{
    EXPECT_EQ(TKTokenAttachmentCell::cellSizeForTitleSize({ 0, 14 }), QSizeF(20, 14)); // h + 6
    EXPECT_EQ(TKTokenAttachmentCell::cellSizeForTitleSize({ 30.2, 13.5 }), QSizeF(51, 14));
    EXPECT_EQ(TKTokenAttachmentCell::titleRectForBounds({ 0, 0, 60, 14 }), QRectF(10, 0, 40, 14));
    EXPECT_EQ(TKTokenAttachmentCell::titleRectForBounds({ 0, 0, 5, 14 }).width(), 0);

    using Cell = TKTokenAttachmentCell;
    using Join = Cell::JoinStyle;
    const Cell::JoinStyleMask none;
    const Cell::JoinStyleMask both = Join::Left | Join::Right;
    const QRectF frame(10, 0, 60, 14);
    // Round ends stay 3 points inside the frame; square ends reach its edges.
    EXPECT_EQ(Cell::tokenPathForBounds(frame, none).boundingRect(), QRectF(13, 0, 54, 14));
    EXPECT_EQ(Cell::tokenPathForBounds(frame, both).boundingRect(), frame);
    EXPECT_FALSE(Cell::tokenPathForBounds(frame, none).contains(QPointF(10.5, 0.5)));
    EXPECT_TRUE(Cell::tokenPathForBounds(frame, Join::Left).contains(QPointF(10.5, 0.5)));
    EXPECT_FALSE(Cell::tokenPathForBounds(frame, Join::Left).contains(QPointF(69.5, 0.5)));
    EXPECT_TRUE(Cell::tokenPathForBounds(frame, both).contains(QPointF(69.5, 0.5)));

    // Three adjacent tokens selected together in the key window.
    const QList<Cell::Range> selection { { 4, 3 } };
    const auto first = Cell::drawingStateFor(4, selection, false, true);
    const auto middle = Cell::drawingStateFor(5, selection, false, true);
    const auto last = Cell::drawingStateFor(6, selection, false, true);
    EXPECT_EQ(first.join, Cell::JoinStyleMask(Join::Right));
    EXPECT_EQ(middle.join, both);
    EXPECT_EQ(last.join, Cell::JoinStyleMask(Join::Left));
    EXPECT_EQ(first.mode, Cell::DrawingMode::Selected);
    EXPECT_EQ(last.mode, Cell::DrawingMode::Selected);
    EXPECT_EQ(Cell::drawingStateFor(7, selection, false, true).join, none);
    EXPECT_EQ(Cell::drawingStateFor(3, {}, true, false).mode, Cell::DrawingMode::Normal); // not key
    EXPECT_EQ(Cell::drawingStateFor(3, {}, true, true).mode, Cell::DrawingMode::Highlighted);
    EXPECT_EQ(Cell::drawingStateFor(5, selection, false, false).mode, Cell::DrawingMode::Normal);

    // The design's numbers.
    EXPECT_EQ(both.toInt(), 3);
    EXPECT_EQ(static_cast<int>(Cell::DrawingMode::Selected), 2);
    EXPECT_EQ(static_cast<int>(Cell::DrawingMode::Highlighted), 1);
}

TEST(TKTokenAttachmentCellTest, LongTitlesAreCutAtTheTail)
{
    TKTokenAttachmentCell cell;
    QFont font;
    font.setPointSizeF(11);
    cell.setTextFont(font);
    cell.setTextColor(QColor(0, 0, 255));
    cell.setFillColor(Qt::white);
    cell.setStrokeColor(Qt::white);
    cell.setStringValue(u"A very long tag name that cannot fit"_s);
    QImage image(80, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    cell.drawTokenWithFrame(painter, QRectF(0, 0, 80, 20));
    painter.end();
    // Ink stays inside the straight middle of the capsule.
    for (int y = 0; y < 20; ++y)
        for (int x = 75; x < 80; ++x)
            EXPECT_GT(image.pixelColor(x, y).red(), 200);
    int ink = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            ink += image.pixelColor(x, y).blue() > image.pixelColor(x, y).red() + 80;
    EXPECT_GT(ink, 10);
}

} // namespace
