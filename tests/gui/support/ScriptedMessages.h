#pragma once

#include "gui/uikit/FileDialog.h"
#include "gui/uikit/MessageBox.h"

#include <QList>
#include <QStringList>

// Answers the program's message boxes as told and remembers what was shown.
// Unscripted boxes are answered with Ok / No / Cancel, the safe choice.
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void answerNext(MsgAnswer answer) { m_answers << answer; }
    // Runs while the box "is open", for tests that look at the screen then.
    void onNext(std::function<void(const MessageRequest&)> action) { m_actions << action; }

    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const;
    int count() const { return static_cast<int>(m_shown.size()); }
    const MessageRequest& last() const { return m_shown.last(); }
    void clear() { m_shown.clear(); }

private:
    QList<MsgAnswer> m_answers;
    QList<std::function<void(const MessageRequest&)>> m_actions;
    QList<MessageRequest> m_shown;
};

// Chooses files for the program's file dialogs and remembers each request.
class ScriptedFileDialogs {
public:
    ScriptedFileDialogs();
    ~ScriptedFileDialogs();
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // `path` as typed or picked; `filter`, the type chosen in a save dialog
    // (empty: the one it opened on).
    void chooseNext(const QString& path, const QString& filter = QString()) { m_answers << FileDialogAnswer(path, filter); }
    const QList<FileDialogRequest>& shown() const { return m_shown; }

private:
    QList<FileDialogAnswer> m_answers;
    QList<FileDialogRequest> m_shown;
};
