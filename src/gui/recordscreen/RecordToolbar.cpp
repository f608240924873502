#include "gui/recordscreen/RecordToolbar.h"

#include "gui/uikit/PrinterIcon.h"

#include <QApplication>
#include <QStyle>


const QList<RecordToolKey>& RecordToolKeys()
{
    static const QList<RecordToolKey> keys = {
        {QStringLiteral("add"), QStringLiteral("新增  "), QStringLiteral("新增(F1)"), true},
        {QStringLiteral("edit"), QStringLiteral("修改  "), QStringLiteral("修改"), true},
        {QStringLiteral("search"), QStringLiteral("查詢"), QStringLiteral("查詢(F2)"), true},
        {QStringLiteral("print"), QStringLiteral("列印"), QStringLiteral("列印(F4)"), true},
        {QStringLiteral("reload"), QStringLiteral("還原"), QStringLiteral("還原"), false},
        {QStringLiteral("del"), QStringLiteral("刪除"), QStringLiteral("刪除(F3)"), false},
        {QStringLiteral("first"), QStringLiteral("  第一筆  "), QStringLiteral("第一筆(Ctrl-Home)"), false},
        {QStringLiteral("previous"), QStringLiteral("上一筆"), QStringLiteral("上一筆(Page Up)"), false},
        {QStringLiteral("next"), QStringLiteral("下一筆"), QStringLiteral("下一筆(Page Down)"), false},
        {QStringLiteral("last"), QStringLiteral("最末筆"), QStringLiteral("最末筆(Ctrl-End)"), false},
        {QStringLiteral("save"), QStringLiteral("儲存"), QStringLiteral("儲存(F8)"), false},
        {QStringLiteral("exit"), QStringLiteral("離開"), QStringLiteral("離開(ESC)"), false},
    };
    return keys;
}

QIcon RecordToolIcon(const QString& key)
{
    static const QHash<QString, QStyle::StandardPixmap> pixmaps = {
        {QStringLiteral("add"), QStyle::SP_FileIcon},
        {QStringLiteral("edit"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("search"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("reload"), QStyle::SP_BrowserReload},
        {QStringLiteral("del"), QStyle::SP_TrashIcon},
        {QStringLiteral("first"), QStyle::SP_MediaSkipBackward},
        {QStringLiteral("previous"), QStyle::SP_MediaSeekBackward},
        {QStringLiteral("next"), QStyle::SP_MediaSeekForward},
        {QStringLiteral("last"), QStyle::SP_MediaSkipForward},
        {QStringLiteral("save"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("exit"), QStyle::SP_DialogCloseButton},
    };
    if (key == QLatin1String("print"))
        return PrinterIcon();
    return QApplication::style()->standardIcon(pixmaps.value(key, QStyle::SP_CustomBase));
}
