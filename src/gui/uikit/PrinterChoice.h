#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Every printer-selection dialog of the program goes through here: true when
// the user chose a printer, which `printer` is then set up for.
bool ChoosePrinter(QPrinter& printer, const QString& title, QWidget* parent);

// Tests set the printer up (a PDF file) instead of a user. An empty handler
// restores the real dialog.
using PrinterChoiceHandler = std::function<bool(QPrinter&)>;
void SetPrinterChoiceHandler(PrinterChoiceHandler handler);
