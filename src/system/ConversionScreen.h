#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// 資料轉檔: the data of an older database file into the current one.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm資料轉檔 : public QDialog {
public:
    explicit frm資料轉檔(QWidget* parent = nullptr);

    void Browse();
    void Start();

private:
    void ConvertOldDatabase(const QString& path);

    QLineEdit* m_path = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_percent = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_leave = nullptr;
    QLabel* m_table = nullptr;
    QLabel* m_rows = nullptr;
};
