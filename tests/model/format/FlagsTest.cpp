#include "model/format/Flags.h"

#include <gtest/gtest.h>

#include <QList>

using namespace Qt::Literals::StringLiterals;

namespace {

QList<uint> scalars(const QString& text)
{
    return text.toUcs4();
}

TEST(Flags, LettersBecomeRegionalIndicators)
{
    EXPECT_EQ(scalars(Flags::flagEmoji(u"US"_s)), (QList<uint> { 0x1F1FA, 0x1F1F8 }));
    EXPECT_EQ(scalars(Flags::flagEmoji(u"USD"_s)), (QList<uint> { 0x1F1FA, 0x1F1F8, 0x1F1E9 }));
    EXPECT_EQ(scalars(Flags::flagEmoji(u"A"_s)), (QList<uint> { 0x1F1E6 }));
    EXPECT_EQ(scalars(Flags::flagEmoji(u"eu"_s)), (QList<uint> { 0x1F20A, 0x1F21A }));
}

TEST(Flags, EmptyCodeGivesNone)
{
    EXPECT_TRUE(Flags::flagEmoji(QString()).isNull());
    EXPECT_TRUE(Flags::flagEmoji(u""_s).isNull());
}

TEST(Flags, EveryUnitGivesAValidScalarInRange)
{
    QString lone;
    lone.append(QChar(0xD800));
    lone.append(u'A');
    lone.append(QChar(0xDC00));
    EXPECT_EQ(scalars(Flags::flagEmoji(lone)), (QList<uint> { 0xFFFD + 0x1F1A5, 0x1F1E6, 0xFFFD + 0x1F1A5 }));

    const QString pair = QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(scalars(Flags::flagEmoji(pair)), (QList<uint> { 0xD83D + 0x1F1A5, 0xDE00 + 0x1F1A5 }));

    QString all;
    for (uint u = 0; u <= 0xFFFF; ++u)
        all.append(QChar(char16_t(u)));
    const QString flags = Flags::flagEmoji(all);
    EXPECT_TRUE(flags.isValidUtf16());
    for (const uint scalar : flags.toUcs4()) {
        ASSERT_GE(scalar, 0x1F1A5u);
        ASSERT_LE(scalar, 0x2F1A4u);
    }
}

} // namespace
