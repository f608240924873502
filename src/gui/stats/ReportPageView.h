#pragma once

#include "core/stats/Report.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <utility>

// The preview's pages, one under the other. Only the pages in sight are
// drawn, each straight from its laid-out texts at the shown size, so ten
// years of lists open as fast as one page and take no more memory.
class ReportPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    ReportPageView(const PaginatedReport& report, QWidget* parent = nullptr);

    int pageCount() const { return static_cast<int>(m_report.pages.size()); }
    // The page that holds the upper middle of the view, from 1.
    int currentPage() const;
    // Scrolls so the page's top edge is at the top of the view.
    void setCurrentPage(int page);

    void zoomIn();
    void zoomOut();
    void fitToWidth();
    void fitInView();
    // The shown size of a page, in logical pixels.
    QSize pageSize() const;

signals:
    void currentPageChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    enum class Fit { None, Width, Page };
    void setDpi(int dpi, Fit fit);
    void applyFit();
    void updateScrollRange();
    int stride() const { return pageSize().height() + kGap; }
    const QImage& pageImage(int index);

    static constexpr int kGap = 12;
    static constexpr int kCachedPages = 4;

    const PaginatedReport& m_report;
    int m_dpi = 96;   // 96 shows the paper at its real size
    Fit m_fit = Fit::Width;
    int m_shownPage = 1;
    QList<std::pair<int, QImage>> m_cache;   // most recently drawn first
};
