#pragma once

#include <QWidget>

// Stands in for a screen that is not built yet, so the menu works end to end.
class PlaceholderScreen : public QWidget {
    Q_OBJECT
public:
    PlaceholderScreen(const QString& objectName, const QString& title, QWidget* parent = nullptr);
};
