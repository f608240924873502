#pragma once

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

#include <gtest/gtest.h>

// The visible top-level window with this object name, or null.
QWidget* FindWindow(const QString& objectName);
int CountWindows(const QString& objectName);

template <typename T>
T* Child(QWidget* parent, const QString& name)
{
    T* child = parent->findChild<T*>(name);
    if (!child)
        ADD_FAILURE() << "no child named " << name.toStdString();
    return child;
}

// Runs `steps` once a modal window is open (the way a user would act on it),
// for code that blocks in exec().
void WhenModalOpens(std::function<void(QWidget* modal)> steps);

// Deletes every top-level window a test left behind.
void CloseAllWindows();

// Types the text key by key, Chinese characters included (QTest::keyClicks
// knows only ASCII), into whatever holds the focus in `start`'s window.
void TypeText(QWidget* start, const QString& text);

// The control of `window` that Qt's accessibility interface gives `role` and
// `name`, as a screen reader finds it: a button by its caption, a text box by
// its buddy label (its trailing colon left off); null when there is none.
QWidget* AccessibleControl(QWidget* window, QAccessible::Role role, const QString& name);
