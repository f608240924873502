#pragma once

#include "core/stats/Report.h"

#include <QDialog>

class QLabel;
class ReportPageView;
class QSpinBox;
class QStatusBar;

// The modal preview window: page navigation, zoom, the page count, print and
// export to PDF, all from the same laid-out pages.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    ReportPreview(PaginatedReport report, QWidget* parent = nullptr);

    int pageCount() const;
    int currentPage() const;
    void goToPage(int page);
    enum class ExportKind { Pdf, Csv, Xlsx };
    // Asks for a file name through the file-dialog seam, offering PDF, CSV and
    // Excel with `first` first, and writes the kind the name's suffix says (a
    // name without one: the type chosen in the dialog).
    void exportReport(ExportKind first);
    void exportPdf();
    void exportCsv();

private:
    void updatePageInfo();
    void fitToScreen();

    PaginatedReport m_report;
    ReportPageView* m_view;
    QSpinBox* m_page;
    QLabel* m_count;
    QStatusBar* m_status;
};
