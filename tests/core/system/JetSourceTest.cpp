#include "core/data/DbError.h"
#include "core/support/JetFixtures.h"
#include "core/system/JetHeader.h"
#include "core/system/OldDatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef QUORVEX_HAVE_LIBMDB

namespace {

using Rows = QList<QVariantList>;

Rows ReadAll(OldDatabase& file, const QString& table, const QStringList& columns)
{
    Rows rows;
    file.forEachRow(table, columns, [&](const OldRow& row) {
        QVariantList values;
        for (int c = 0; c < columns.size(); ++c)
            values << row.value(c);
        rows << values;
    });
    return rows;
}

// Both engines give Table1's two rows, each column in the type it has.
TEST(JetSourceTest, EveryColumnTypeOfAccess97And2000)
{
    const QStringList columns = {"A", "B", "C", "D", "E", "F", "G", "H", "I"};
    for (const char* name : {"testV1997.mdb", "testV2000.mdb"}) {
        SCOPED_TRACE(name);
        const auto file = OpenOldDatabase(JetFixture(QString::fromLatin1(name)), QString());
        EXPECT_EQ(file->tableNames(), QStringList({"Table1", "Table2", "Table3", "Table4"}));
        EXPECT_EQ(file->columnNames(QStringLiteral("Table1")), columns);
        EXPECT_EQ(file->rowCount(QStringLiteral("Table1")), 2);
        EXPECT_EQ(file->rowCount(QStringLiteral("Table2")), 0);
        Rows rows = ReadAll(*file, QStringLiteral("Table1"), columns);
        std::sort(rows.begin(), rows.end(), [](const QVariantList& a, const QVariantList& b) {
            return a[0].toString().size() > b[0].toString().size();
        });
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[0], QVariantList({QString("abcdefg"), QString("hijklmnop"), qlonglong(2), qlonglong(222),
                                         qlonglong(333333333), 444.555, QString("1974-09-21 00:00:00"),
                                         QString("3.5000"), true}));
        EXPECT_EQ(rows[1], QVariantList({QString("a"), QString("b"), qlonglong(0), qlonglong(0), qlonglong(0), 0.0,
                                         QString("1981-12-12 00:00:00"), QString("0.0000"), false}));
        // Only the columns asked for, in the order asked.
        EXPECT_EQ(ReadAll(*file, QStringLiteral("Table1"), {"I", "A"}).size(), 2);
        EXPECT_THROW(ReadAll(*file, QStringLiteral("Table1"), {"Z"}), db::DbError);
        EXPECT_THROW(file->rowCount(QStringLiteral("NoSuchTable")), db::DbError);
    }
}

TEST(JetSourceTest, CompressedUnicodeTextComesOutWhole)
{
    const auto file = OpenOldDatabase(JetFixture(QStringLiteral("testUnicodeCompV2003.mdb")), QString());
    const Rows rows = ReadAll(*file, QStringLiteral("Table"), {"ID", "Unicode"});
    ASSERT_EQ(rows.size(), 8);
    QStringList texts;
    for (const QVariantList& row : rows)
        texts << QString::number(row[0].toLongLong()) + ':' + row[1].toString();
    for (const char* text : {"1:only ascii chars", "2:ääkkösiä", "3:Мир", // polytonic Greek, as Access stored it
                             "4:\xcf\xb0\xce\xb1\xe1\xbd\xb6 \xcf\x84\xe1\xbd\xb9\xcf\x84' \xe1\xbc\x90\xce\xb3"
                             "\xe1\xbd\xbc \xce\x9a\xe1\xbd\xbb\xcf\xb0\xce\xbb\xcf\x89\xcf\x80\xce\xb1", "5:漢字仮名交じり文",
                             "7:ümlaut"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
    // The last row holds every character from the tab to ÿ.
    const QString all = rows.last()[1].toString();
    EXPECT_TRUE(all.endsWith(QString::fromUtf8("ýþÿ"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("0123456789:;<=>?@ABC")));
}

// A wide table of memos, dates, numbers, yes/no, nulls and an embedded
// Word document, in Jet 3 (code-page text) and Jet 4.
TEST(JetSourceTest, AWideTableWithMemosNullsAndAnEmbeddedDocument)
{
    const QStringList columns = {"PROJ_ID", "PROJ_NAME", "PROJ_PROP_AUTHOR", "PROJ_PROP_CATEGORY", "PROJ_PROP_COMPANY",
                                 "PROJ_INFO_CURRENT_DATE", "PROJ_CHECKEDOUTDATE", "PROJ_OPT_DEF_OVT_RATE",
                                 "PROJ_OPT_CALC_ACT_COSTS", "PROJ_OPT_CURRENCY_DIGITS", "PROJ_DATA_SOURCE",
                                 "PROJ_OPT_CURRENCY_SYMBOL", "RESERVED_BINARY_DATA"};
    for (const char* name : {"test2V1997.mdb", "test2V2003.mdb"}) {
        SCOPED_TRACE(name);
        // These files were written on a Western system: their Jet 3 text is CP1252.
        qputenv("MDB_JET3_CHARSET", "CP1252");
        const auto file = OpenOldDatabase(JetFixture(QString::fromLatin1(name)), QString());
        qunsetenv("MDB_JET3_CHARSET");
        EXPECT_EQ(file->columnNames(QStringLiteral("MSP_PROJECTS")).size(), 74);
        const Rows rows = ReadAll(*file, QStringLiteral("MSP_PROJECTS"), columns);
        ASSERT_EQ(rows.size(), 1);
        const QVariantList& row = rows.first();
        EXPECT_EQ(row[0], QVariant(qlonglong(1)));
        EXPECT_EQ(row[1], QVariant(QString("Project1")));
        EXPECT_TRUE(row[2].toString().startsWith(QStringLiteral("Jon Iles this is a a vawesrasoih")));
        EXPECT_TRUE(row[2].toString().endsWith(QStringLiteral("lkasjdf lkjaskldfj lkas dlk lkjsjdfkl; aslkdf lkasjkldjf lka skldf lka sdkjfl;kasjd falksjdfljaslkdjf laskjdfk jalskjd flkj aslkdjflkjkjasljdflkjas jf;lkasjd fjkas dasdf asd fasdf asdf asdmhf lksaiyudfoi jasodfj902384jsdf9 aw90se fisajldkfj lkasj dlkfslkd jflksjadf as")));
        EXPECT_FALSE(row[3].isValid());
        EXPECT_EQ(row[4], QVariant(QString("T")));
        EXPECT_EQ(row[5], QVariant(QString("2006-02-03 08:00:00")));
        EXPECT_FALSE(row[6].isValid());
        EXPECT_EQ(row[7], QVariant(0.0));
        EXPECT_EQ(row[8], QVariant(true));
        EXPECT_EQ(row[9], QVariant(qlonglong(2)));
        EXPECT_EQ(row[10], QVariant(QString("Z:\\temp\\Project1.mpd")));
        EXPECT_EQ(row[11], QVariant(QString::fromUtf8("£")));
        const QByteArray document = row[12].toByteArray();
        EXPECT_GT(document.size(), 8192);
        EXPECT_TRUE(document.contains("This is a test doc"));
    }
}

// Jet 3 text is read in the old program's code page unless told otherwise:
// the pound sign of a Western file is no Big5 character, and libmdb puts a
// question mark in its place.
TEST(JetSourceTest, Access97TextIsReadAsBig5UnlessToldOtherwise)
{
    const auto file = OpenOldDatabase(JetFixture(QStringLiteral("test2V1997.mdb")), QString());
    const Rows rows = ReadAll(*file, QStringLiteral("MSP_PROJECTS"), {"PROJ_OPT_CURRENCY_SYMBOL", "PROJ_NAME"});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][0], QVariant(QString("?")));
    EXPECT_EQ(rows[0][1], QVariant(QString("Project1")));
}

// The database password sits masked in the first page; none of these has one.
TEST(JetSourceTest, TheHeaderTellsTheEngineAndAnEmptyPassword)
{
    for (const QString& name : AllJetFixtures()) {
        const std::optional<JetHeader> header = ReadJetHeader(JetFixture(name), "CP950");
        ASSERT_TRUE(header) << name.toStdString();
        EXPECT_EQ(header->version, name.contains(QLatin1String("97")) ? 0 : 1) << name.toStdString();
        EXPECT_EQ(header->password, QString()) << name.toStdString();
        EXPECT_TRUE(OpenOldDatabase(JetFixture(name), QString())->passwordMatches());
        EXPECT_FALSE(OpenOldDatabase(JetFixture(name), QStringLiteral("kvew7315"))->passwordMatches());
    }
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("junk.mdb")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\0'));
    junk.close();
    EXPECT_FALSE(ReadJetHeader(junk.fileName(), "CP950"));
}

// libmdb loops forever on some cut files and reads others wrongly: such a
// file is refused, the program neither hangs nor crashes.
TEST(JetSourceTest, ACutOrGarbledFileIsRefusedWithoutHanging)
{
    QTemporaryDir dir;
    QFile source(JetFixture(QStringLiteral("testV1997.mdb")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    QByteArray garbled = whole;
    for (int i = 2048; i < garbled.size(); i += 7)
        garbled[i] = char(i * 31);
    int refused = 0;
    for (const QByteArray& content : {whole.left(94208), whole.left(100352), whole.left(3000), garbled}) {
        QFile file(dir.filePath(QStringLiteral("cut.mdb")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        try {
            const auto old = OpenOldDatabase(file.fileName(), QString());
            for (const QString& table : old->tableNames())
                ReadAll(*old, table, old->columnNames(table));
        } catch (const db::DbError& error) {
            ++refused;
            EXPECT_TRUE(error.text().contains(QStringLiteral("Access"))) << error.what();
        }
    }
    EXPECT_GE(refused, 3);
}

} // namespace

#endif
