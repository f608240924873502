#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// Every printer-selection dialog of the program goes through here: true when
// the user chose a printer, which `printer` is then set up for. Printing to a
// file writes a PDF: a name without the suffix gets ".pdf", and a file that
// exists is replaced only after 是 to "檔案已存在，是否取代？" (否 shows the
// dialog again).
bool ChoosePrinter(QPrinter& printer, const QString& title, QWidget* parent);

// Tests set the printer up (a PDF file) instead of a user. An empty handler
// restores the real dialog.
using PrinterChoiceHandler = std::function<bool(QPrinter&)>;
void SetPrinterChoiceHandler(PrinterChoiceHandler handler);
