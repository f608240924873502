#include "core/text/KeyFilter.h"

#include <gtest/gtest.h>

namespace {

QString Accepted(int kind)
{
    const QString all = QStringLiteral("0123456789.*+-aZ/ ");
    QString kept;
    for (const QChar c : all) {
        const int code = KeyFilter(c.unicode(), kind);
        if (code)
            kept.append(QChar(static_cast<char16_t>(code)));
    }
    return kept;
}

TEST(KeyFilter, EachKindAcceptsItsCharacters)
{
    EXPECT_EQ(Accepted(1), "0123456789");
    EXPECT_EQ(Accepted(2), "AZ");
    EXPECT_EQ(Accepted(3), "0123456789.");
    EXPECT_EQ(Accepted(4), "0123456789.*");
    EXPECT_EQ(Accepted(5), "0123456789.+");
    EXPECT_EQ(Accepted(6), "0123456789-");
    EXPECT_EQ(Accepted(7), "0123456789.-");
    EXPECT_EQ(Accepted(0), "0123456789.*+-aZ/ ");
    EXPECT_EQ(Accepted(kStockCodeKind), "0123456789AZ");
    EXPECT_EQ(KeyFilter(0xFF41, kStockCodeKind), 0);   // a full-width letter is no code
    EXPECT_EQ(Accepted(9), "0123456789.*+-aZ/ ");
}

TEST(KeyFilter, BackspaceAndEnterAlwaysPass)
{
    for (int kind = 1; kind <= 7; ++kind) {
        EXPECT_EQ(KeyFilter(kKeyBackspace, kind), kKeyBackspace) << kind;
        EXPECT_EQ(KeyFilter(kKeyEnter, kind), kKeyEnter) << kind;
    }
}

TEST(KeyFilter, KindTwoUpperCasesLetters)
{
    EXPECT_EQ(KeyFilter('a', 2), 'A');
    EXPECT_EQ(KeyFilter('z', 2), 'Z');
    EXPECT_EQ(KeyFilter('1', 2), 0);
}

TEST(KeyFilter, ChineseCharactersAreRefusedByDigitKinds)
{
    EXPECT_EQ(KeyFilter(QChar(u'台').unicode(), 1), 0);
    EXPECT_EQ(KeyFilter(QChar(u'１').unicode(), 1), 0);   // full-width digit
    EXPECT_EQ(KeyFilter(QChar(u'台').unicode(), 9), QChar(u'台').unicode());
}

TEST(UpperKey, ChangesLetterCaseOnly)
{
    EXPECT_EQ(UpperKey('a'), 'A');
    EXPECT_EQ(UpperKey('A'), 'A');
    EXPECT_EQ(UpperKey('5'), '5');
    EXPECT_EQ(UpperKey('-'), '-');
    EXPECT_EQ(UpperText("2330a-b"), "2330A-B");
}

TEST(FilterText, DropsRefusedCharactersOfPastedText)
{
    EXPECT_EQ(FilterText("12a.3-", 1), "123");
    EXPECT_EQ(FilterText("-1.5+x", 7), "-1.5");
    EXPECT_EQ(FilterText("ab1", 2), "AB");
}

} // namespace
