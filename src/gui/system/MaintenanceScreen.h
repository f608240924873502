#pragma once

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QPushButton;

// 系統維護作業: password change, compaction, backup, clearing all data.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm系統維護作業 : public QMainWindow {
public:
    frm系統維護作業();

    void ChangeUserPassword();
    void CompactData();
    void BackupData();
    void Browse();
    void ClearData();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildPasswordGroup();
    QWidget* buildCompactionGroup();
    QWidget* buildBackupGroup();
    QWidget* buildDataGroup();
    void showTimes();
    void saveTimes(const QString& backup, const QString& compaction);

    QLineEdit* m_oldPassword = nullptr;
    QLineEdit* m_newPassword = nullptr;
    QLineEdit* m_confirmPassword = nullptr;
    QLineEdit* m_backupPath = nullptr;
    QLabel* m_backupTime = nullptr;
    QLabel* m_compactionTime = nullptr;
};
