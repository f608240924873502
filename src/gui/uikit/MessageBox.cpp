#include "gui/uikit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

MessageHandler& Handler()
{
    static MessageHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ToQt(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

MsgAnswer FromQt(int button)
{
    switch (button) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}

MsgAnswer ShowQtBox(const MessageRequest& request)
{
    QMessageBox box(ToQt(request.icon), request.title, request.text, ToQt(request.buttons), request.parent);
    box.setWindowModality(Qt::ApplicationModal);
    if (request.buttons == MsgButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    // The cursor is never busy while the user reads a message.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    const int answer = box.exec();
    if (busy)
        QApplication::restoreOverrideCursor();
    if (answer == QMessageBox::Ok || answer == QMessageBox::Yes || answer == QMessageBox::No
        || answer == QMessageBox::Cancel)
        return FromQt(answer);
    // Closed with Esc or the close box: the least committal answer.
    switch (request.buttons) {
    case MsgButtons::Ok:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
        return MsgAnswer::No;
    default:
        return MsgAnswer::Cancel;
    }
}

} // namespace

static QWidget*& Owner()
{
    static QWidget* owner = nullptr;
    return owner;
}

MessageOwner::MessageOwner(QWidget* window) : m_previous(Owner())
{
    Owner() = window;
}

MessageOwner::~MessageOwner()
{
    Owner() = m_previous;
}

MsgAnswer ShowMessage(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons)
{
    const MessageRequest request{text, title.isEmpty() ? QStringLiteral("Quorvex") : title, icon, buttons,
                                 Owner() ? Owner() : QApplication::activeWindow()};
    return Handler() ? Handler()(request) : ShowQtBox(request);
}

void ShowError(const QString& text, const QString& title)
{
    ShowMessage(text, title, MsgIcon::Critical, MsgButtons::Ok);
}

void ShowInfo(const QString& text, const QString& title)
{
    ShowMessage(text, title, MsgIcon::Information, MsgButtons::Ok);
}

bool AskYesNo(const QString& text, const QString& title)
{
    return ShowMessage(text, title, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

bool AskToDiscardUnsavedWork()
{
    return ShowMessage(QStringLiteral("資料尚未儲存，確定放棄修改嗎？"), QStringLiteral("詢問"), MsgIcon::Question,
                       MsgButtons::YesNoDefaultNo)
           == MsgAnswer::Yes;
}

void SetMessageHandler(MessageHandler handler)
{
    Handler() = std::move(handler);
}
