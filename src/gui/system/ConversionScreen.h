#pragma once

#include "gui/uikit/FileTaskDialog.h"

class QLabel;
class QProgressBar;

// 資料轉檔: the data of an older database file into the current one.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm資料轉檔 : public FileTaskDialog {
public:
    explicit frm資料轉檔(QWidget* parent = nullptr);

    void Start();

private:
    void ConvertOldDatabase(const QString& path);

    QProgressBar* m_bar = nullptr;
    QLabel* m_percent = nullptr;
    QLabel* m_table = nullptr;
    QLabel* m_rows = nullptr;
};
