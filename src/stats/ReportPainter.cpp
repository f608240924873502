#include "stats/ReportPainter.h"

#include <QSaveFile>
#include <QFont>
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

} // namespace

void PaintReportPage(QPainter& painter, const ReportPage& page)
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

    const QFont body = ReportFont(FontRole::Body);
    const QFont title = ReportFont(FontRole::Title);
    for (const PlacedText& t : page.texts) {
        painter.setFont(t.font == FontRole::Title ? title : body);
        const QRectF box(t.box.x() * sx, t.box.y() * sy, t.box.width() * sx, t.box.height() * sy);
        painter.drawText(box, static_cast<int>(t.align | Qt::AlignTop | Qt::TextSingleLine), t.text);
    }
    painter.restore();
}

void PaintReport(QPainter& painter, QPagedPaintDevice& device, const PaginatedReport& report)
{
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        PaintReportPage(painter, report.pages.at(i));
    }
}

bool WriteReportPdf(const PaginatedReport& report, const QString& path, QString* error)
{
    // Written beside the target and renamed over it: a failed export leaves
    // an earlier file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(report.name);
        writer.setCreator(QStringLiteral("Quorvex"));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        PaintReport(painter, writer, report);
    }
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}
