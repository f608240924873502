#include "gui/uikit/OpenEdit.h"

#include <QApplication>
#include <QInputMethod>
#include <QWidget>

bool CommitOpenEdits(QWidget* area)
{
    if (!area)
        return true;
    // The platform's input method owns a word still being composed; it hands
    // it to the box that has the focus.
    if (const QWidget* focus = QApplication::focusWidget(); focus && (focus == area || area->isAncestorOf(focus)))
        QGuiApplication::inputMethod()->commit();
    bool accepted = true;
    for (QWidget* child : area->findChildren<QWidget*>()) {
        if (auto* owner = dynamic_cast<OpenEditOwner*>(child))
            accepted = owner->commitOpenEdit() && accepted;
    }
    return accepted;
}
