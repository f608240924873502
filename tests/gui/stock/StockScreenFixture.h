#pragma once

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/stock/StockScreen.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>

#include <gtest/gtest.h>

inline const QString kEmpty = QString::fromUtf8("資料庫無任何資料, 請先新增資料!");
inline const QString kRecordKeys[] = {"reload", "del", "save", "first", "previous", "next", "last"};
inline const QString kAlwaysKeys[] = {"add", "edit", "search", "print", "exit"};

class StockScreenTest : public ::testing::Test {
protected:
    void seed(const QList<QStringList>& rows)
    {
        db::Connection c(gConnectionString);
        for (const QStringList& r : rows)
            c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES (?, ?, ?, ?, ?)"),
                      {r.value(0), r.value(1), r.value(2), r.value(3), r.value(4)});
    }
    void seedFour()
    {
        seed({{"2330", "台積電", "15.2", "2.1", "4.5"},
              {"0050", "元大台灣50", "-", "3", "1.1"},
              {"9904", "寶成", "10", "5", "0.9"},
              {"1101", "台泥", "12", "4.4", "1.2"}});
    }
    void open()
    {
        screen = new frm股號資料;
        screen->show();
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen->mode().isEmpty(); }));
    }
    void TearDown() override { CloseAllWindows(); }

    QLineEdit* field(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }
    QAction* action(const QString& key) { return screen->keyAction(key); }
    void press(const QString& key)
    {
        ASSERT_TRUE(action(key)->isEnabled()) << key.toStdString();
        action(key)->trigger();
    }
    void keyClick(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() && QApplication::focusWidget()->window() == screen
                              ? QApplication::focusWidget()
                              : screen;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    void type(const char* name, const QString& text)
    {
        QLineEdit* box = field(name);
        box->setFocus();
        box->selectAll();
        TypeText(box, text);
    }
    QString code() { return field("txt股號")->text(); }
    qlonglong rows(const QString& where = QString(), const QVariantList& params = {})
    {
        db::Connection c(gConnectionString);
        return c.query(QStringLiteral("SELECT count(*) FROM 股號資料 ") + where, params).value(0, 0).toLongLong();
    }
    bool allLocked()
    {
        for (QLineEdit* box : screen->findChildren<QLineEdit*>())
            if (!box->isReadOnly())
                return false;
        return true;
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    QPointer<frm股號資料> screen;
};
