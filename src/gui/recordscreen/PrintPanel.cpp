#include "gui/recordscreen/PrintPanel.h"

#include "gui/uikit/FormHelpers.h"
#include "gui/uikit/InputBehaviour.h"
#include "gui/uikit/PrinterIcon.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const char* const kChosenCaption = "color: rgb(0, 0, 255);";
const char* const kOtherCaption = "color: rgb(128, 128, 128);";
}

PrintPanel::PrintPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pic列印"));
    auto* group = new QGroupBox(QStringLiteral("條件設定"), this);
    m_options = new QButtonGroup(this);
    const QStringList captions = {QStringLiteral("列印單筆"), QStringLiteral("列印全部"), QStringLiteral("列印範圍")};
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    for (int i = 0; i < captions.size(); ++i) {
        auto* option = new QRadioButton(captions.at(i), group);
        option->setObjectName(QStringLiteral("sopt條件設定_%1").arg(i));
        m_options->addButton(option, i);
        grid->addWidget(option, i, 0);
    }
    m_single = new QLabel(group);
    m_single->setObjectName(QStringLiteral("lbl列印單筆"));
    m_single->setAutoFillBackground(true);
    m_single->setMinimumWidth(120);
    m_single->setContentsMargins(6, 2, 6, 2);
    m_from = new QLineEdit(group);
    m_from->setObjectName(QStringLiteral("txt列印範圍_0"));
    m_from->setAccessibleName(QStringLiteral("列印範圍起"));
    m_to = new QLineEdit(group);
    m_to->setObjectName(QStringLiteral("txt列印範圍_1"));
    m_to->setAccessibleName(QStringLiteral("列印範圍迄"));
    for (QLineEdit* box : {m_from, m_to}) {
        box->setMinimumWidth(120);
        InstallUpperCase(box);
    }
    grid->addWidget(m_single, 0, 1, 1, 3);
    grid->addWidget(m_from, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("～"), group), 2, 2);
    grid->addWidget(m_to, 2, 3);
    choose(Single);
    connect(m_options, &QButtonGroup::idClicked, this, [this](int id) { choose(static_cast<Choice>(id)); });

    auto* print = new QPushButton(QStringLiteral("列印"), this);
    print->setObjectName(QStringLiteral("ssc列印"));
    print->setIcon(PrinterIcon());
    auto* preview = new QPushButton(QStringLiteral("預覽列印"), this);
    preview->setObjectName(QStringLiteral("ssc預覽列印"));
    auto* back = new QPushButton(QStringLiteral("回前畫面"), this);
    back->setObjectName(QStringLiteral("ssc回前畫面_列印"));
    connect(print, &QPushButton::clicked, this, [this] { Q_EMIT printRequested(false); });
    connect(preview, &QPushButton::clicked, this, [this] { Q_EMIT printRequested(true); });
    connect(back, &QPushButton::clicked, this, &PrintPanel::backRequested);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(print);
    buttons->addWidget(preview);
    buttons->addStretch();
    buttons->addWidget(back);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 12);
    layout->addWidget(group, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    layout->addLayout(buttons);
}

void PrintPanel::open(const QString& currentKey, int keyLength)
{
    UnlockField(m_from);
    UnlockField(m_to);
    m_single->setText(currentKey);
    m_from->setText(currentKey);
    m_to->setText(QString(keyLength, QLatin1Char('z')));
}

PrintPanel::Choice PrintPanel::choice() const
{
    return static_cast<Choice>(m_options->checkedId());
}

void PrintPanel::choose(Choice choice)
{
    m_options->button(choice)->setChecked(true);
    for (QAbstractButton* option : m_options->buttons())
        option->setStyleSheet(QLatin1String(m_options->id(option) == choice ? kChosenCaption : kOtherCaption));
    QPalette palette = m_single->palette();
    if (choice == Single) {
        palette.setColor(QPalette::WindowText, Qt::red);
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
        LockField(m_from);
        LockField(m_to);
    } else {
        palette.setColor(QPalette::WindowText, QColor(128, 128, 128));
        palette.setColor(QPalette::Window, QColor(192, 192, 192));
        if (choice == Range) {
            UnlockField(m_from);
            UnlockField(m_to);
            m_from->setFocus();
        } else {
            LockField(m_from);
            LockField(m_to);
        }
    }
    m_single->setPalette(palette);
}

PrintSelection PrintPanel::selection() const
{
    return {choice(), m_single->text().trimmed(), m_from->text().trimmed(), m_to->text().trimmed()};
}

void PrintPanel::setRangeLength(int length)
{
    m_from->setMaxLength(length);
    m_to->setMaxLength(length);
}
