#include "gui/app/AboutBox.h"

#include "core/data/Settings.h"
#include "gui/uikit/FormHelpers.h"

#include <QHBoxLayout>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString frm關於系統::LegalNotice()
{
    const QString indent(7, QLatin1Char(' '));
    return QStringList{QStringLiteral("警告：本電腦程式受著作權法及國際公約之保護。"),
                       indent + QStringLiteral("未經授權而擅自重製或散佈本程式之全部或任何部分，"),
                       indent + QStringLiteral("將負民事損害賠償責任並受刑事處罰，"),
                       indent + QStringLiteral("且將依法在最大範圍內受到追訴。")}
        .join(QLatin1Char('\n'));
}

frm關於系統::frm關於系統(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frm關於系統"));
    setWindowTitle(QStringLiteral("關於本系統"));
    setModal(true);

    auto* name = new QLabel(QStringLiteral("Quorvex"), this);
    name->setStyleSheet(QStringLiteral("font-size: 20pt; font-weight: bold; color: #1d3f8f;"));
    auto* subtitle = new QLabel(QStringLiteral("台股買賣超追蹤系統"), this);

    auto* versionCaption = new QLabel(QStringLiteral("版本:"), this);
    versionCaption->setObjectName(QStringLiteral("Label1"));
    auto* version = new QLabel(VersionNumber(), this);
    version->setObjectName(QStringLiteral("lbl版本號碼"));
    auto* versionRow = new QHBoxLayout;
    versionRow->addWidget(versionCaption);
    versionRow->addWidget(version);
    versionRow->addStretch();
    auto* folderCaption = new QLabel(QStringLiteral("資料夾:"), this);
    auto* folder = new QLabel(QDir::toNativeSeparators(gAppFolder), this);
    folder->setObjectName(QStringLiteral("lbl資料夾"));
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderCaption->setBuddy(folder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderCaption);
    folderRow->addWidget(folder);
    folderRow->addStretch();

    auto* notice = new QLabel(LegalNotice(), this);
    notice->setObjectName(QStringLiteral("lbl警告內容"));
    notice->setTextFormat(Qt::PlainText);
    notice->setStyleSheet(QStringLiteral("color: #7a1f1f; white-space: pre;"));
    notice->setFrameShape(QFrame::StyledPanel);
    notice->setMargin(10);

    auto* ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    ok->setMinimumWidth(96);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->addWidget(name);
    layout->addWidget(subtitle);
    layout->addLayout(versionRow);
    layout->addLayout(folderRow);
    layout->addSpacing(8);
    layout->addWidget(notice);
    layout->addLayout(buttons);

    adjustSize();
    setFixedSize(sizeHint());
    CenterForm(this);
}
