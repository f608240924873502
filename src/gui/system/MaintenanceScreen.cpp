#include "gui/system/MaintenanceScreen.h"

#include "core/data/Connection.h"
#include "core/data/DatabaseCopy.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/system/Maintenance.h"
#include "core/text/Clock.h"
#include "gui/download/HistoryDownloadDialog.h"
#include "gui/system/ConversionScreen.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/ExitToolbar.h"
#include "gui/uikit/FileDialog.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/MessageBox.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPasswordLength = 20;
const QString kScratchName = QStringLiteral("Tmp.mdb");

QLineEdit* Box(QWidget* parent, const QString& name)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    return box;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// A caption with its box, the box reachable through the caption.
void AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* field)
{
    auto* label = new QLabel(caption, field->parentWidget());
    label->setBuddy(field);
    grid->addWidget(label, row, 0, Qt::AlignRight);
    grid->addWidget(field, row, 1);
}

} // namespace

frm系統維護作業::frm系統維護作業() : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("frm系統維護作業"));
    setWindowTitle(QStringLiteral("系統維護作業"));
    setAttribute(Qt::WA_DeleteOnClose);

    AddExitToolbar(this);

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(20, 16, 20, 16);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(14);
    grid->addWidget(buildPasswordGroup(), 0, 0, 2, 1);
    grid->addWidget(buildCompactionGroup(), 0, 1);
    grid->addWidget(buildDataGroup(), 1, 1);
    grid->addWidget(buildBackupGroup(), 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    setCentralWidget(central);

    InstallScreenConventions(this);
    ClearControls(this);
    showTimes();
    m_backupPath->setText(DefaultBackupPath());
    resize(760, sizeHint().height());
    CenterForm(this);
    m_oldPassword->setFocus();
}

QWidget* frm系統維護作業::buildPasswordGroup()
{
    auto* group = new QGroupBox(QStringLiteral("變更密碼"));
    auto* grid = new QGridLayout(group);
    m_oldPassword = Box(group, QStringLiteral("txt舊的密碼"));
    m_newPassword = Box(group, QStringLiteral("txt新的密碼"));
    m_confirmPassword = Box(group, QStringLiteral("txt確認新的密碼"));
    for (QLineEdit* box : {m_oldPassword, m_newPassword, m_confirmPassword}) {
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(kPasswordLength);
    }
    AddRow(grid, 0, QStringLiteral("舊的密碼:"), m_oldPassword);
    AddRow(grid, 1, QStringLiteral("新的密碼:"), m_newPassword);
    AddRow(grid, 2, QStringLiteral("確認新的密碼:"), m_confirmPassword);
    QPushButton* change = Button(group, QStringLiteral("cmd變更密碼"), QStringLiteral("變更密碼"));
    connect(change, &QPushButton::clicked, this, &frm系統維護作業::ChangeUserPassword);
    grid->addWidget(change, 3, 1, Qt::AlignRight);
    return group;
}

QWidget* frm系統維護作業::buildCompactionGroup()
{
    auto* group = new QGroupBox(QStringLiteral("資料重整"));
    auto* layout = new QVBoxLayout(group);
    QPushButton* compact = Button(group, QStringLiteral("cmd資料重整"), QStringLiteral("資料重整"));
    connect(compact, &QPushButton::clicked, this, &frm系統維護作業::CompactData);
    m_compactionTime = new QLabel(group);
    m_compactionTime->setObjectName(QStringLiteral("lbl重整時間"));
    layout->addWidget(compact, 0, Qt::AlignLeft);
    layout->addWidget(new QLabel(QStringLiteral("上次資料重整時間:"), group));
    layout->addWidget(m_compactionTime);
    return group;
}

QWidget* frm系統維護作業::buildBackupGroup()
{
    auto* group = new QGroupBox(QStringLiteral("資料備份"));
    auto* grid = new QGridLayout(group);
    m_backupPath = Box(group, QStringLiteral("txt資料備份目錄名稱"));
    AddRow(grid, 0, QStringLiteral("資料備份目錄名稱:"), m_backupPath);
    QPushButton* browse = Button(group, QStringLiteral("cmd瀏覽"), QStringLiteral("..."));
    browse->setAccessibleName(QStringLiteral("瀏覽"));
    browse->setToolTip(QStringLiteral("選擇備份檔案"));
    connect(browse, &QPushButton::clicked, this, &frm系統維護作業::Browse);
    grid->addWidget(browse, 0, 2);
    QPushButton* backup = Button(group, QStringLiteral("cmd資料備份"), QStringLiteral("資料備份"));
    connect(backup, &QPushButton::clicked, this, &frm系統維護作業::BackupData);
    grid->addWidget(backup, 0, 3);
    m_backupTime = new QLabel(group);
    m_backupTime->setObjectName(QStringLiteral("lbl備份時間"));
    grid->addWidget(new QLabel(QStringLiteral("上次資料備份時間:"), group), 1, 0, Qt::AlignRight);
    grid->addWidget(m_backupTime, 1, 1);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* frm系統維護作業::buildDataGroup()
{
    auto* group = new QGroupBox(QStringLiteral("資料維護"));
    auto* layout = new QHBoxLayout(group);
    QPushButton* convert = Button(group, QStringLiteral("scmd資料轉檔"), QStringLiteral("資料轉檔"));
    connect(convert, &QPushButton::clicked, this, [this] {
        {
            frm資料轉檔 conversion(this);
            conversion.exec();
        }
        // The user goes on here, not in whatever window the system picks.
        raise();
        activateWindow();
    });
    QPushButton* history = Button(group, QStringLiteral("scmd下載歷史資料"), QStringLiteral("下載歷史資料"));
    history->setToolTip(QStringLiteral("下載一段期間內尚無資料的每個交易日，依排行儲存"));
    connect(history, &QPushButton::clicked, this, [this] {
        {
            HistoryDownloadDialog download(this);
            download.exec();
        }
        raise();
        activateWindow();
    });
    QPushButton* clear = Button(group, QStringLiteral("scmd清除資料"), QStringLiteral("清除資料"));
    connect(clear, &QPushButton::clicked, this, &frm系統維護作業::ClearData);
    layout->addWidget(convert);
    layout->addWidget(history);
    layout->addWidget(clear);
    return group;
}

void frm系統維護作業::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

// ------------------------------------------------------------------ time stamps

void frm系統維護作業::showTimes()
{
    BusyCursor busy;
    try {
        db::Connection connection(gConnectionString);
        const MaintTimes times = ReadMaintTimes(connection);
        m_backupTime->setText(times.backup);
        m_compactionTime->setText(times.compaction);
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("取得上次備份時間與重整時間錯誤"));
    }
}

void frm系統維護作業::saveTimes(const QString& backup, const QString& compaction)
{
    BusyCursor busy;
    try {
        db::Connection connection(gConnectionString);
        SaveMaintTimes(connection, backup, compaction);
    } catch (const db::DbError& error) {
        busy.release();
        ShowError(db::ErrorMessage(error), QStringLiteral("儲存備份時間與重整時間錯誤"));
    }
}

// ------------------------------------------------------------------ operations

void frm系統維護作業::ChangeUserPassword()
{
    if (m_newPassword->text() != m_confirmPassword->text()) {
        ShowError(QStringLiteral("新的密碼與確認新的密碼不一樣!請重新輸入!"), QStringLiteral("訊息"));
        m_newPassword->clear();
        m_confirmPassword->clear();
        m_newPassword->setFocus();
        return;
    }
    int result = 9;
    {
        BusyCursor busy;
        try {
            db::Connection connection(gConnectionString);
            result = ChangePassword(connection, gUserName, m_oldPassword->text(), m_newPassword->text());
        } catch (const db::DbError& error) {
            busy.release();
            ShowError(db::ErrorMessage(error), QStringLiteral("變更密碼錯誤"));
        }
    }
    if (result == 0)
        ShowInfo(QStringLiteral("密碼變更成功!"), QStringLiteral("訊息"));
    else if (result == 1)
        ShowError(QStringLiteral("密碼輸入錯誤!"), QStringLiteral("訊息"));
    for (QLineEdit* box : {m_oldPassword, m_newPassword, m_confirmPassword})
        box->clear();
    m_oldPassword->setFocus();
}

void frm系統維護作業::CompactData()
{
    {
        BusyCursor busy;
        try {
            db::CompactDatabase(gConnectionString, kScratchName);
        } catch (const db::DbError& error) {
            busy.release();
            ShowError(db::ErrorMessage(error), QStringLiteral("錯誤"));
            return;
        }
    }
    const QString stamp = MaintTimeStamp(Now());
    m_compactionTime->setText(stamp);
    saveTimes(QString(), stamp);
    ShowInfo(QStringLiteral("資料庫已重整成功!"), QStringLiteral("訊息"));
}

void frm系統維護作業::BackupData()
{
    const QString path = m_backupPath->text().trimmed();
    if (path.isEmpty()) {
        ShowError(QStringLiteral("「資料備份目錄名稱」欄位不可為空白!"), QStringLiteral("錯誤"));
        m_backupPath->setFocus();
        return;
    }
    const QFileInfo target(path);
    if (IsLiveDatabaseFile(path)) {
        ShowError(QStringLiteral("不可備份到目前使用中的資料庫檔案!"), QStringLiteral("錯誤"));
        m_backupPath->setFocus();
        return;
    }
    if (target.exists() && !AskYesNo(QStringLiteral("這個檔案已經存在, 您確定要覆蓋?"), QStringLiteral("詢問")))
        return;
    {
        BusyCursor busy;
        try {
            db::Connection source(gConnectionString);
            db::CopyDatabase(source, path, gDbPassword);
        } catch (const db::DbError& error) {
            busy.release();
            ShowError(db::ErrorMessage(error), QStringLiteral("錯誤"));
            return;
        }
    }
    const QString stamp = MaintTimeStamp(Now());
    m_backupTime->setText(stamp);
    saveTimes(stamp, QString());
    ShowInfo(QStringLiteral("資料庫已備份成功!"), QStringLiteral("訊息"));
}

void frm系統維護作業::Browse()
{
    // Only a name for the box: 備份 asks before it overwrites a file.
    const QString chosen = GetSaveFileName(this, QStringLiteral("資料備份"), m_backupPath->text().trimmed(),
                                           QStringLiteral("Microsoft Access 資料庫(*.mdb)"), ExistingFile::AskedOnWrite);
    if (!chosen.isEmpty())
        m_backupPath->setText(chosen);
}

void frm系統維護作業::ClearData()
{
    if (!AskYesNo(QStringLiteral("確定清除系統內全部的資料嗎？"), QStringLiteral("詢問")))
        return;
    {
        BusyCursor busy;
        try {
            db::Connection connection(gConnectionString);
            db::Transaction transaction(connection);
            ClearAllData(connection);
            transaction.commit();
        } catch (const db::DbError& error) {
            busy.release();
            ShowError(db::ErrorMessage(error), QStringLiteral("刪除資料庫資料錯誤"));
            return;
        }
    }
    ShowInfo(QStringLiteral("資料清除完畢！"), QStringLiteral("訊息"));
}
