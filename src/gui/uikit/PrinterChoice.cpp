#include "gui/uikit/PrinterChoice.h"

#include "gui/uikit/FileDialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace {
PrinterChoiceHandler& Handler()
{
    static PrinterChoiceHandler handler;
    return handler;
}

// The print dialog's own file name box ("Print to File (PDF)"), as typed.
QString TypedOutputFile(const QPrintDialog& dialog)
{
    const auto* box = dialog.findChild<QLineEdit*>(QStringLiteral("filename"));
    return box && box->isEnabled() && !box->text().isEmpty() ? QFileInfo(box->text()).absoluteFilePath() : QString();
}

} // namespace

bool ChoosePrinter(QPrinter& printer, const QString& title, QWidget* parent)
{
    for (;;) {
        // The file the dialog asked about itself: it asks about the name as
        // typed, which is the file written only when the name had its suffix.
        QString askedByDialog;
        if (Handler()) {
            if (!Handler()(printer))
                return false;
        } else {
            QPrintDialog dialog(&printer, parent);
            dialog.setWindowTitle(title);
            if (dialog.exec() != QDialog::Accepted)
                return false;
            askedByDialog = TypedOutputFile(dialog);
        }
        QString path = printer.outputFileName();
        if (path.isEmpty())
            return true;   // a printer, not a file
        // A PDF, whatever the name typed says.
        path = WithChosenSuffix(path, QStringLiteral("PDF (*.pdf)"), QStringLiteral("PDF (*.pdf)"));
        printer.setOutputFileName(path);
        const QFileInfo file(path);
        if (!file.exists() || file.absoluteFilePath() == askedByDialog || AskToReplaceFile(path, title))
            return true;
        // 否: the dialog again, on the same name.
    }
}

void SetPrinterChoiceHandler(PrinterChoiceHandler handler)
{
    Handler() = std::move(handler);
}
