#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QVBoxLayout;

// The frame of the windows that work on one chosen file (the stock import,
// the conversion): a heading, the path box with its "..." chooser, a start
// and a back button, and a status bar. A window adds what lies between.
class FileTaskDialog : public QDialog {
public:
    struct Names {
        QString window;        // object name
        QString title;
        QString heading;
        QString headingName;
        QString pathLabel;     // Label1's text
        QString pathBox;       // object name of the path box
        QString start;         // the start button's caption
        QString fileFilter;    // the chooser's filter
    };

protected:
    FileTaskDialog(const Names& names, QWidget* parent);

    // Disables both buttons while the work runs.
    void setWorking(bool working);
    // Lays the window out once its own parts are added.
    void finish();

    QVBoxLayout* body() const { return m_body; }
    QStatusBar* statusBar() const { return m_bar; }
    QString path() const;

    QLineEdit* m_path = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_leave = nullptr;

private:
    void browse(const QString& title, const QString& filter);

    QVBoxLayout* m_body = nullptr;
    QStatusBar* m_bar = nullptr;
};
