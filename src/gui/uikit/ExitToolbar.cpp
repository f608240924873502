#include "gui/uikit/ExitToolbar.h"

#include <QAction>
#include <QMainWindow>
#include <QStyle>
#include <QToolBar>

void AddExitToolbar(QMainWindow* window)
{
    auto* toolbar = new QToolBar(window);
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QAction* exit =
        toolbar->addAction(window->style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("   離開   "));
    exit->setObjectName(QStringLiteral("exit"));
    exit->setToolTip(QStringLiteral("離開(ESC)"));
    QObject::connect(exit, &QAction::triggered, window, &QWidget::close);
    window->addToolBar(Qt::TopToolBarArea, toolbar);
}
