#include "gui/support/ScriptedMessages.h"

ScriptedMessages::ScriptedMessages()
{
    SetMessageHandler([this](const MessageRequest& request) {
        m_shown << request;
        if (!m_actions.isEmpty())
            m_actions.takeFirst()(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        switch (request.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoDefaultNo:
            return MsgAnswer::No;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::Cancel;
        default:
            return MsgAnswer::Ok;
        }
    });
}

ScriptedMessages::~ScriptedMessages()
{
    SetMessageHandler(nullptr);
}

QStringList ScriptedMessages::texts() const
{
    QStringList all;
    for (const MessageRequest& request : m_shown)
        all << request.text;
    return all;
}

ScriptedFileDialogs::ScriptedFileDialogs()
{
    SetFileDialogHandler([this](const FileDialogRequest& request) {
        m_shown << request;
        return m_answers.isEmpty() ? FileDialogAnswer() : m_answers.takeFirst();
    });
}

ScriptedFileDialogs::~ScriptedFileDialogs()
{
    SetFileDialogHandler(nullptr);
}
