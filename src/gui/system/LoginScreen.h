#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QLabel;

// 登入畫面: the password of the user "admin", three tries.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm登入畫面 : public QDialog {
public:
    explicit frm登入畫面(QWidget* parent = nullptr);

    // 0 accepted, 1 refused, 9 failed (the failure already shown).
    static int CheckPassword(const QString& name, const QString& password);

    int attempts() const { return m_attempts; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void attemptLogin();

    QLineEdit* m_name;
    QLineEdit* m_password;
    int m_attempts = 0;
};
