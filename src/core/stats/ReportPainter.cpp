#include "core/stats/ReportPainter.h"

#include "core/data/FileMove.h"

#include <QBuffer>
#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {

QFont ReportFont(FontRole role)
{
    QFont font(ReportFontFamily(role), role == FontRole::Title ? kTitlePointSize : kBodyPointSize);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

constexpr qreal kWidthSlack = 0.5;

// Places texts at their boxes without the rich layout of drawText(rect),
// which dominates long reports: each distinct text is shaped once per run,
// and a page's glyphs go to the device as one glyph run per font.
class TextPlacer {
public:
    explicit TextPlacer(QPaintDevice* device)
        : m_device(device), m_bodyFont(ReportFont(FontRole::Body), device),
          m_titleFont(ReportFont(FontRole::Title), device)
    {
    }

    void add(const PlacedText& t, const QRectF& box)
    {
        const bool title = t.font == FontRole::Title;
        QHash<QString, Shaped>& cache = title ? m_titleCache : m_bodyCache;
        auto found = cache.constFind(t.text);
        if (found == cache.constEnd())
            found = cache.insert(t.text, shape(title ? m_titleFont : m_bodyFont, t.text));
        // Centred and right-aligned texts are values (dates, counts, ratios):
        // shown whole, a little past their box if they must be.
        if (found->width > box.width() + kWidthSlack && box.width() > 0 && !(t.align & (Qt::AlignRight | Qt::AlignHCenter)))
            found = cut(title, t.text, box.width());
        qreal x = box.left();
        if (t.align & Qt::AlignRight)
            x = box.right() - found->width;
        else if (t.align & Qt::AlignHCenter)
            x = box.left() + (box.width() - found->width) / 2;
        const QPointF origin(x, box.top());
        for (const QGlyphRun& run : found->runs) {
            Batch& batch = batchFor(run.rawFont());
            batch.glyphs += run.glyphIndexes();
            for (const QPointF& position : run.positions())
                batch.positions.push_back(position + origin);
        }
    }

    void flush(QPainter& painter)
    {
        for (const Batch& batch : m_batches) {
            QGlyphRun run;
            run.setRawFont(batch.font);
            run.setGlyphIndexes(batch.glyphs);
            run.setPositions(batch.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
        }
        m_batches.clear();
    }

private:
    struct Shaped {
        QList<QGlyphRun> runs;
        qreal width = 0;
    };
    struct Batch {
        QRawFont font;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    // A left-aligned text wider than its box (a long name) loses whole
    // characters from its end and shows "…" in their place, so a reader knows
    // it was cut; it never runs into the next column.
    QHash<QString, Shaped>::const_iterator cut(bool title, const QString& text, qreal width)
    {
        const QFont& font = title ? m_titleFont : m_bodyFont;
        QHash<QString, Shaped>& cache = title ? m_titleCutCache : m_bodyCutCache;
        const QString key = text + QLatin1Char('\x1f') + QString::number(qRound(width));
        auto found = cache.constFind(key);
        if (found != cache.constEnd())
            return found;
        QTextLayout layout(text, font, m_device);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        const QString ellipsis(QChar(0x2026));
        const qreal room = width + kWidthSlack - shape(font, ellipsis).width;
        int end = static_cast<int>(text.size());
        while (end > 0 && (!layout.isValidCursorPosition(end) || line.cursorToX(end) > room))
            --end;
        return cache.insert(key, shape(font, text.left(end) + ellipsis));
    }

    Shaped shape(const QFont& font, const QString& text) const
    {
        QTextLayout layout(text, font, m_device);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        return {layout.glyphRuns(), line.isValid() ? line.naturalTextWidth() : 0};
    }

    Batch& batchFor(const QRawFont& font)
    {
        for (Batch& batch : m_batches)
            if (batch.font == font)
                return batch;
        m_batches.push_back({font, {}, {}});
        return m_batches.back();
    }

    QPaintDevice* m_device;
    QFont m_bodyFont;
    QFont m_titleFont;
    QHash<QString, Shaped> m_bodyCache;
    QHash<QString, Shaped> m_titleCache;
    QHash<QString, Shaped> m_bodyCutCache;
    QHash<QString, Shaped> m_titleCutCache;
    QList<Batch> m_batches;
};

void PaintPage(QPainter& painter, const ReportPage& page, TextPlacer& placer)
{
    const qreal sx = painter.device()->logicalDpiX() / 1440.0;
    const qreal sy = painter.device()->logicalDpiY() / 1440.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    // An explicit width: a cosmetic pen vanishes at printer resolutions.
    QPen pen(Qt::black);
    pen.setWidthF(std::max(1.0, 15.0 * sx));
    painter.setPen(pen);
    for (const QLineF& line : page.lines)
        painter.drawLine(QLineF(line.x1() * sx, line.y1() * sy, line.x2() * sx, line.y2() * sy));

    for (const PlacedText& t : page.texts)
        placer.add(t, QRectF(t.box.x() * sx, t.box.y() * sy, t.box.width() * sx, t.box.height() * sy));
    placer.flush(painter);
    painter.restore();
}

} // namespace

void PaintReportPage(QPainter& painter, const ReportPage& page)
{
    TextPlacer placer(painter.device());
    PaintPage(painter, page, placer);
}

void PaintReport(QPainter& painter, QPagedPaintDevice& device, const PaginatedReport& report)
{
    TextPlacer placer(&device);
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        PaintPage(painter, report.pages.at(i), placer);
    }
}

bool WriteReportPdf(const PaginatedReport& report, const QString& path, QString* error)
{
    // Built in memory, with room reserved up front (the writer's many small
    // writes are slow on a file, and a growing buffer is copied over and
    // over), then written beside the target and renamed over it: a failed
    // export leaves an earlier file of that name as it was.
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(report.pages.size() + 16) * 4096);
    QBuffer pdf(&bytes);
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(report.caption());
        writer.setCreator(QStringLiteral("Quorvex"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        PaintReport(painter, writer, report);
    }
    return SaveWholeFile(path, bytes, error);
}
