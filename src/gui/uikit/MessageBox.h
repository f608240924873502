#pragma once

#include <QString>
#include <functional>

class QWidget;

enum class MsgIcon { None, Information, Question, Warning, Critical };
enum class MsgButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoDefaultNo,   // 是/否 where Enter answers 否: for questions that would throw work away
    YesNoCancel
};
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title;   // already defaulted to the program's title when none was given
    MsgIcon icon;
    MsgButtons buttons;
    QWidget* parent; // the window the box belongs to
};

// While it lives, message boxes belong to `window`, even before it is the
// active window (a screen's first message as it opens).
class MessageOwner {
public:
    explicit MessageOwner(QWidget* window);
    ~MessageOwner();
    MessageOwner(const MessageOwner&) = delete;
    MessageOwner& operator=(const MessageOwner&) = delete;

private:
    QWidget* m_previous;
};

// Every message box of the program goes through here. An empty title shows "Quorvex".
MsgAnswer ShowMessage(const QString& text, const QString& title = QString(), MsgIcon icon = MsgIcon::None,
                      MsgButtons buttons = MsgButtons::Ok);

// Shorthands for the kinds the screens use.
void ShowError(const QString& text, const QString& title);       // critical icon
void ShowInfo(const QString& text, const QString& title);        // information icon
bool AskYesNo(const QString& text, const QString& title);        // question icon, true for Yes
// "資料尚未儲存，確定放棄修改嗎？", 否 the default; true to throw the typed work away.
bool AskToDiscardUnsavedWork();

// Tests answer message boxes instead of a user. An empty handler restores the real boxes.
using MessageHandler = std::function<MsgAnswer(const MessageRequest&)>;
void SetMessageHandler(MessageHandler handler);
