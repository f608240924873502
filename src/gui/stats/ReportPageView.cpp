#include "gui/stats/ReportPageView.h"

#include "core/stats/ReportPainter.h"

#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMinDpi = 12;
constexpr int kMaxDpi = 480;
constexpr double kZoomStep = 1.25;
constexpr double kInchesPerMetre = 1 / 0.0254;

int TwipsToPixels(int twips, int dpi)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440));
}
}

ReportPageView::ReportPageView(const PaginatedReport& report, QWidget* parent)
    : QAbstractScrollArea(parent), m_report(report)
{
    setObjectName(QStringLiteral("previewPages"));
    setAccessibleName(QStringLiteral("預覽頁面"));
    setFocusPolicy(Qt::StrongFocus);
    // Always there, so fitting to the width never makes it come and go.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize ReportPageView::pageSize() const
{
    return {TwipsToPixels(m_report.pageWidth, m_dpi), TwipsToPixels(m_report.pageHeight, m_dpi)};
}

int ReportPageView::currentPage() const
{
    if (pageCount() == 0)
        return 1;
    const int probe = verticalScrollBar()->value() + std::min(viewport()->height(), stride()) / 2;
    return std::clamp(probe / stride() + 1, 1, pageCount());
}

void ReportPageView::setCurrentPage(int page)
{
    verticalScrollBar()->setValue((std::clamp(page, 1, std::max(1, pageCount())) - 1) * stride());
}

void ReportPageView::zoomIn()
{
    setDpi(static_cast<int>(std::lround(m_dpi * kZoomStep)), Fit::None);
}

void ReportPageView::zoomOut()
{
    setDpi(static_cast<int>(std::lround(m_dpi / kZoomStep)), Fit::None);
}

void ReportPageView::fitToWidth()
{
    m_fit = Fit::Width;
    applyFit();
}

void ReportPageView::fitInView()
{
    m_fit = Fit::Page;
    applyFit();
}

void ReportPageView::applyFit()
{
    const int byWidth = (viewport()->width() - 2 * kGap) * 1440 / std::max(1, m_report.pageWidth);
    const int byHeight = (viewport()->height() - 2 * kGap) * 1440 / std::max(1, m_report.pageHeight);
    if (m_fit == Fit::Width)
        setDpi(byWidth, Fit::Width);
    else if (m_fit == Fit::Page)
        setDpi(std::min(byWidth, byHeight), Fit::Page);
}

void ReportPageView::setDpi(int dpi, Fit fit)
{
    // The page in sight stays in sight, at the same place within it.
    const int page = currentPage();
    const double within = stride() > 0 ? double(verticalScrollBar()->value() - (page - 1) * stride()) / stride() : 0;
    m_fit = fit;
    m_dpi = std::clamp(dpi, kMinDpi, kMaxDpi);
    m_cache.clear();
    updateScrollRange();
    verticalScrollBar()->setValue((page - 1) * stride() + static_cast<int>(within * stride()));
    viewport()->update();
}

void ReportPageView::updateScrollRange()
{
    const QSize page = pageSize();
    const int height = viewport()->height();
    // Room below the last page, so that its top can come to the top too.
    const int content = std::max(pageCount() * stride() + kGap, (pageCount() - 1) * stride() + height);
    verticalScrollBar()->setRange(0, std::max(0, content - height));
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setSingleStep(std::max(1, page.height() / 20));
    const int width = page.width() + 2 * kGap;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(std::max(1, page.width() / 20));
}

const QImage& ReportPageView::pageImage(int index)
{
    const auto cached = std::find_if(m_cache.begin(), m_cache.end(), [index](const auto& entry) { return entry.first == index; });
    if (cached != m_cache.end()) {
        m_cache.move(static_cast<int>(cached - m_cache.begin()), 0);
        return m_cache.front().second;
    }
    // Drawn at the screen's own pixel density, so the text is sharp.
    const qreal ratio = viewport()->devicePixelRatioF();
    const int dpi = static_cast<int>(std::lround(m_dpi * ratio));
    QImage image(TwipsToPixels(m_report.pageWidth, dpi), TwipsToPixels(m_report.pageHeight, dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpi * kInchesPerMetre)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpi * kInchesPerMetre)));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintReportPage(painter, m_report.pages.at(index));
    }
    image.setDevicePixelRatio(ratio);
    if (m_cache.size() >= kCachedPages)
        m_cache.removeLast();
    m_cache.prepend({index, std::move(image)});
    return m_cache.front().second;
}

void ReportPageView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    const QSize page = pageSize();
    const int top = verticalScrollBar()->value();
    const int left = std::max(kGap, (viewport()->width() - page.width()) / 2) - horizontalScrollBar()->value();
    for (int index = std::max(0, top / stride()); index < pageCount(); ++index) {
        const int y = kGap + index * stride() - top;
        if (y >= viewport()->height())
            break;
        const QRect paper(QPoint(left, y), page);
        painter.fillRect(paper.translated(3, 3), palette().color(QPalette::Dark).darker(150));
        painter.drawImage(paper, pageImage(index));
    }
}

void ReportPageView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_fit == Fit::None)
        updateScrollRange();
    else
        applyFit();
}

void ReportPageView::scrollContentsBy(int, int)
{
    viewport()->update();
    if (currentPage() != m_shownPage) {
        m_shownPage = currentPage();
        emit currentPageChanged();
    }
}

void ReportPageView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        zoomIn();
    else if (event->angleDelta().y() < 0)
        zoomOut();
    event->accept();
}
