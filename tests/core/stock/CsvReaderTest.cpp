#include "core/stock/CsvReader.h"
#include "core/support/TestPlatform.h"


#include <gtest/gtest.h>

namespace {

TEST(ParseCsv, QuotesCommasLineBreaksAndLineEnds)
{
    const QVector<QStringList> records =
        ParseCsv(QStringLiteral("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",,\nlast,row,"));
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0], (QStringList{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(records[1], (QStringList{"two\nlines", "", ""}));
    EXPECT_EQ(records[2], (QStringList{"last", "row", ""}));
    EXPECT_TRUE(ParseCsv(QString()).isEmpty());
    EXPECT_EQ(ParseCsv(QStringLiteral("x\n\ny")).size(), 3);   // an empty line is an empty record
    EXPECT_EQ(ParseCsv(QStringLiteral("\"open")).first(), QStringList{"open"});
}

TEST(DecodeCsvText, EachEncodingTheExchangesUse)
{
    const QString text = QString::fromUtf8("證券代號,證券名稱\n2330,台積電\n");
    QString error;
    EXPECT_EQ(DecodeCsvText("\xEF\xBB\xBF" + text.toUtf8(), &error), text);
    EXPECT_EQ(DecodeCsvText(text.toUtf8(), &error), text);
    QByteArray utf16("\xFF\xFE", 2);
    utf16 += QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    EXPECT_EQ(DecodeCsvText(utf16, &error), text);
    const QByteArray big5Bytes = ToBig5(text);
    EXPECT_EQ(DecodeCsvText(big5Bytes, &error), text);
    EXPECT_TRUE(DecodeCsvText(QByteArray(), &error).isEmpty());   // an empty file is no error
    EXPECT_TRUE(error.isEmpty());

    const char binary[] = "PK\x03\x04\0\0binary";
    EXPECT_TRUE(DecodeCsvText(QByteArray(binary, sizeof binary - 1), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
