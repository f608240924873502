#include "gui/system/LoginScreen.h"

#include "core/data/DbError.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/system/UserCheck.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"
#include "gui/uikit/ProgramEnd.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMaxAttempts = 3;
constexpr int kFieldLength = 20;
const QString kAdmin = QStringLiteral("admin");
}

frm登入畫面::frm登入畫面(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm登入畫面"));
    setWindowTitle(QStringLiteral("登入畫面"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Quorvex"), this);
    heading->setObjectName(QStringLiteral("lblTitle"));
    heading->setStyleSheet(QStringLiteral("font-size: 22pt; font-weight: bold; color: #1d3f8f;"));
    auto* subtitle = new QLabel(QStringLiteral("台股買賣超追蹤"), this);
    subtitle->setStyleSheet(QStringLiteral("color: #555;"));

    auto* nameLabel = new QLabel(QStringLiteral("請輸入名稱："), this);
    nameLabel->setObjectName(QStringLiteral("Label4"));
    nameLabel->hide();
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txt名稱"));
    m_name->setMaxLength(kFieldLength);
    m_name->hide();

    auto* passwordLabel = new QLabel(QStringLiteral("請輸入密碼："), this);
    passwordLabel->setObjectName(QStringLiteral("Label3"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("txt密碼"));
    m_password->setMaxLength(kFieldLength);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_password->setProperty("handlesEnter", true);
    m_password->setMinimumWidth(220);
    passwordLabel->setBuddy(m_password);

    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("Picture1"));
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("Picture2"));
    for (QPushButton* button : {ok, cancel}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
    }

    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("lblVER"));
    version->setStyleSheet(QStringLiteral("color: #777;"));

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(passwordLabel, 1, 0);
    fields->addWidget(m_password, 1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(version);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 20);
    layout->setSpacing(14);
    layout->addWidget(heading);
    layout->addWidget(subtitle);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    setTabOrder(m_password, m_name);
    connect(ok, &QPushButton::clicked, this, &frm登入畫面::attemptLogin);
    connect(cancel, &QPushButton::clicked, this, &frm登入畫面::reject);
    m_password->installEventFilter(this);
    InstallScreenConventions(this);

    ClearControls(this);
    adjustSize();
    setFixedSize(sizeHint());
    CenterForm(this);
    m_password->setFocus();
}

int frm登入畫面::CheckPassword(const QString& name, const QString& password)
{
    BusyCursor busy;
    try {
        return PasswordMatches(gConnectionString, name, password) ? 0 : 1;
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("檢查使用者密碼錯誤"));
        return 9;
    }
}

bool frm登入畫面::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_name->setText(kAdmin);
    return QDialog::event(event);
}

bool frm登入畫面::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_password && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            attemptLogin();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frm登入畫面::attemptLogin()
{
    ++m_attempts;
    if (m_name->text().isEmpty())
        m_name->setText(kAdmin);
    const int result = CheckPassword(m_name->text(), m_password->text());
    if (result == 0) {
        gUserName = m_name->text().trimmed();
        gLoginOk = true;
        accept();
        return;
    }
    // A database that failed has shown its own message: the password was
    // never checked, so it is not called wrong. The try still counts.
    const bool refused = result == 1;
    if (m_attempts >= kMaxAttempts) {
        if (refused)
            ShowInfo(QStringLiteral("密碼己錯誤三次, 跳離!"), QStringLiteral("登入錯誤"));
        reject();
        return;
    }
    if (refused)
        ShowInfo(QStringLiteral("密碼錯誤, 請再試一次!"), QStringLiteral("登入錯誤"));
    m_password->setFocus();
    SelectAllText(m_password);
}

void frm登入畫面::reject()
{
    QDialog::reject();
    EndProgram();
}
