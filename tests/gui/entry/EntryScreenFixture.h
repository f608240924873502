#pragma once

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/entry/EntryScreen.h"
#include "gui/entry/EntrySheet.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

inline const QString kSaved = QString::fromUtf8("資料儲存完畢!");
inline const QString kUpdated = QString::fromUtf8("資料更新完畢!");

// Today is Tuesday 25 January 2011 (1000125).
class EntryScreenTest : public ::testing::Test {
protected:
    void seedDay(const QString& date, const QString& weekday, const QStringList& buys, const QStringList& sells)
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, ?)"), {date, weekday});
        for (int i = 0; i < buys.size(); ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i + 1, buys[i], date});
        for (int i = 0; i < sells.size(); ++i)
            c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, ?)"), {i + 1, sells[i], date});
    }
    void open()
    {
        screen = new frm買賣超輸入作業;
        screen->show();
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->mode().isEmpty(); }));
    }
    void TearDown() override { CloseAllWindows(); }
    void clickCell(EntrySheet* sheet, int row, int column)
    {
        const QRect cell = sheet->visualRect(sheet->model()->index(row - 1, column));
        QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QPushButton* deleteButton(int index)
    {
        return Child<QPushButton>(screen, QStringLiteral("scmd刪除_%1").arg(index));
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }

    QLineEdit* date() { return Child<QLineEdit>(screen, QStringLiteral("txt買賣日期")); }
    QLineEdit* weekday() { return Child<QLineEdit>(screen, QStringLiteral("txt買賣星期")); }
    EntrySheet* buys() { return screen->buySheet(); }
    EntrySheet* sells() { return screen->sellSheet(); }
    void press(const char* key)
    {
        QAction* action = screen->keyAction(QString::fromLatin1(key));
        ASSERT_TRUE(action->isEnabled()) << key;
        action->trigger();
    }
    void typeCodes(EntrySheet* sheet, const QStringList& codes)
    {
        sheet->setFocus();
        sheet->setCurrentCell(sheet->usedRowCount(), EntrySheet::kCodeColumn);
        for (const QString& code : codes) {
            TypeText(sheet, code);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
    }
    QStringList stored(const char* table, const QString& day)
    {
        db::Connection c(gConnectionString);
        const db::ResultSet rows = c.query(
            QStringLiteral("SELECT 序, 股號 FROM %1 WHERE 買賣日期 = ? ORDER BY 序").arg(QString::fromUtf8(table)), {day});
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.text(r, 0) + QLatin1Char(':') + rows.text(r, 1);
        return out;
    }
    qlonglong count(const QString& sql)
    {
        db::Connection c(gConnectionString);
        return c.query(sql).value(0, 0).toLongLong();
    }
    QString statusPanel(int i) { return Child<QLabel>(screen, QStringLiteral("StatusPanel%1").arg(i))->text(); }

    TempAppFolder folder;
    ScriptedMessages messages;
    QPointer<frm買賣超輸入作業> screen;
};
