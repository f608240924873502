#pragma once

#include "gui/uikit/FileTaskDialog.h"

#include <QStringList>

class QLabel;
struct ImportPlan;

// 股號匯入Excel: stock records from a comma-separated file into 股號資料.
// No Q_OBJECT: moc cannot read the Chinese class name, and lambdas serve as slots.
class frm資料匯入_股號 : public FileTaskDialog {
public:
    explicit frm資料匯入_股號(QWidget* parent = nullptr);

    // Set at the end of an import that ran through; the stock screen reads it.
    bool importCompleted() const { return m_completed; }

    void Start();
    // The same review and import for files chosen elsewhere (the exchanges'
    // two ratio files, downloaded), taken as one; with Leave, codes the
    // master lacks are left out and only stored codes are refreshed.
    enum class NewCodes { Add, Leave };
    void ImportFiles(const QStringList& paths, NewCodes newCodes = NewCodes::Add);

private:
    // Shows what the import would add, overwrite and skip; true to go on.
    bool confirm(const ImportPlan& plan, const QStringList& skipped, int leftOut);
    void setStatus(const QString& text);

    QLabel* m_status = nullptr;
    bool m_completed = false;
};
