#include "gui/support/WidgetTestSupport.h"

#include <QKeyEvent>
#include <QSpontaneKeyEvent>

#include <gtest/gtest.h>

QWidget* FindWindow(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == objectName && w->isVisible())
            return w;
    }
    return nullptr;
}

int CountWindows(const QString& objectName)
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == objectName && w->isVisible())
            ++n;
    }
    return n;
}

void WhenModalOpens(std::function<void(QWidget* modal)> steps)
{
    QTimer::singleShot(0, [steps] {
        const bool open = QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
        EXPECT_TRUE(open) << "no modal window opened";
        if (open)
            steps(QApplication::activeModalWidget());
    });
}

void CloseAllWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            w->hide();
        if (w->testAttribute(Qt::WA_DeleteOnClose))
            w->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TypeText(QWidget* start, const QString& text)
{
    for (const QChar c : text) {
        // Like a keyboard: each key goes where the focus is now (an in-cell
        // editor opened by the first key takes the rest).
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && focus->window() == start->window() ? focus : start;
        if (c.unicode() < 0x80) {
            QTest::keyClick(target, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QSpontaneKeyEvent::setSpontaneous(&press);
        qApp->notify(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QSpontaneKeyEvent::setSpontaneous(&release);
        qApp->notify(target, &release);
    }
}

namespace {
QWidget* FindAccessible(QAccessibleInterface* node, QAccessible::Role role, const QString& name)
{
    if (!node)
        return nullptr;
    QString text = node->text(QAccessible::Name).trimmed();
    if (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    if (node->role() == role && text == name && node->object() && node->object()->isWidgetType())
        return static_cast<QWidget*>(node->object());
    for (int i = 0; i < node->childCount(); ++i) {
        if (QWidget* found = FindAccessible(node->child(i), role, name))
            return found;
    }
    return nullptr;
}
} // namespace

QWidget* AccessibleControl(QWidget* window, QAccessible::Role role, const QString& name)
{
    return FindAccessible(QAccessible::queryAccessibleInterface(window), role, name);
}
