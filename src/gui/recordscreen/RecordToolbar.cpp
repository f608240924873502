#include "gui/recordscreen/RecordToolbar.h"

#include "gui/uikit/PrinterIcon.h"

#include <QApplication>

const QList<RecordToolKey>& RecordToolKeys()
{
    const auto text = [](const char16_t* s) { return QString::fromUtf16(s); };
    static const QList<RecordToolKey> keys = {
        {text(u"add"), text(u"新增  "), text(u"新增(F1)"), true, false, Qt::Key_F1, QStyle::SP_FileIcon},
        {text(u"edit"), text(u"修改  "), text(u"修改"), true, false, {}, QStyle::SP_FileDialogDetailedView},
        {text(u"search"), text(u"查詢"), text(u"查詢(F2)"), true, false, Qt::Key_F2, QStyle::SP_FileDialogContentsView},
        {text(u"print"), text(u"列印"), text(u"列印(F4)"), true, false, Qt::Key_F4, QStyle::SP_CustomBase},
        {text(u"reload"), text(u"還原"), text(u"還原"), false, true, {}, QStyle::SP_BrowserReload},
        {text(u"del"), text(u"刪除"), text(u"刪除(F3)"), false, true, Qt::Key_F3, QStyle::SP_TrashIcon},
        {text(u"first"), text(u"  第一筆  "), text(u"第一筆(Ctrl-Home)"), false, true, Qt::CTRL | Qt::Key_Home,
         QStyle::SP_MediaSkipBackward},
        {text(u"previous"), text(u"上一筆"), text(u"上一筆(Page Up)"), false, true, Qt::Key_PageUp, QStyle::SP_MediaSeekBackward},
        {text(u"next"), text(u"下一筆"), text(u"下一筆(Page Down)"), false, true, Qt::Key_PageDown, QStyle::SP_MediaSeekForward},
        {text(u"last"), text(u"最末筆"), text(u"最末筆(Ctrl-End)"), false, true, Qt::CTRL | Qt::Key_End, QStyle::SP_MediaSkipForward},
        {text(u"save"), text(u"儲存"), text(u"儲存(F8)"), false, true, Qt::Key_F8, QStyle::SP_DialogSaveButton},
        {text(u"exit"), text(u"離開"), text(u"離開(ESC)"), false, false, {}, QStyle::SP_DialogCloseButton},
    };
    return keys;
}

QIcon RecordToolIcon(const RecordToolKey& key)
{
    if (key.icon == QStyle::SP_CustomBase)
        return PrinterIcon();
    return QApplication::style()->standardIcon(key.icon);
}
