#include "gui/uikit/PrinterChoice.h"

#include <QPrintDialog>
#include <QPrinter>

namespace {
PrinterChoiceHandler& Handler()
{
    static PrinterChoiceHandler handler;
    return handler;
}
}

bool ChoosePrinter(QPrinter& printer, const QString& title, QWidget* parent)
{
    if (Handler())
        return Handler()(printer);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    return dialog.exec() == QDialog::Accepted;
}

void SetPrinterChoiceHandler(PrinterChoiceHandler handler)
{
    Handler() = std::move(handler);
}
