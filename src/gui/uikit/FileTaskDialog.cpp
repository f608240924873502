#include "gui/uikit/FileTaskDialog.h"

#include "gui/uikit/FileDialog.h"
#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

FileTaskDialog::FileTaskDialog(const Names& names, QWidget* parent) : QDialog(parent)
{
    setObjectName(names.window);
    setWindowTitle(names.title);

    auto* heading = new QLabel(names.heading, this);
    heading->setObjectName(names.headingName);
    heading->setStyleSheet(QStringLiteral("font-size: 15pt; font-weight: bold; color: #1f3a93;"));
    auto* label = new QLabel(names.pathLabel, this);
    label->setObjectName(QStringLiteral("Label1"));
    m_path = new QLineEdit(this);
    m_path->setObjectName(names.pathBox);
    m_path->setMinimumWidth(360);
    label->setBuddy(m_path);
    auto* chooser = new QPushButton(QStringLiteral("..."), this);
    chooser->setObjectName(QStringLiteral("cmd開啟舊資料庫檔案"));
    chooser->setAccessibleName(QStringLiteral("瀏覽"));
    chooser->setToolTip(QStringLiteral("選擇檔案"));
    connect(chooser, &QPushButton::clicked, this,
            [this, names] { browse(names.title, names.fileFilter); });
    m_start = new QPushButton(names.start, this);
    m_start->setObjectName(QStringLiteral("scmd開始"));
    m_leave = new QPushButton(QStringLiteral("回前畫面"), this);
    m_leave->setObjectName(QStringLiteral("scmd離開"));
    connect(m_leave, &QPushButton::clicked, this, &QDialog::reject);
    m_bar = new QStatusBar(this);
    m_bar->setObjectName(QStringLiteral("StatusBar1"));
    m_bar->setSizeGripEnabled(false);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(chooser);
    m_body = new QVBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 0);
    layout->addWidget(heading);
    layout->addSpacing(6);
    layout->addWidget(label);
    layout->addLayout(pathRow);
    layout->addLayout(m_body);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_leave);
    layout->addLayout(buttons);
    layout->addWidget(m_bar);
}

void FileTaskDialog::finish()
{
    InstallScreenConventions(this);
    resize(sizeHint());
    CenterForm(this);
}

void FileTaskDialog::setWorking(bool working)
{
    m_start->setEnabled(!working);
    m_leave->setEnabled(!working);
}

QString FileTaskDialog::path() const
{
    return m_path->text().trimmed();
}

void FileTaskDialog::browse(const QString& title, const QString& filter)
{
    const QString chosen = GetOpenFileName(this, title, path(), filter);
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}
