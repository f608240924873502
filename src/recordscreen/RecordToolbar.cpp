#include "recordscreen/RecordToolbar.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace {

// The style has no printer among its standard pixmaps.
QIcon PrinterIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18, 6, 28, 20));
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(6, 24, 52, 24), 5, 5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(16, 38, 32, 20));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    for (int y = 45; y <= 52; y += 6)
        p.drawLine(QPointF(21, y), QPointF(43, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 120));
    p.drawEllipse(QPointF(50, 31), 2.5, 2.5);
    return QIcon(pixmap);
}

} // namespace

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
