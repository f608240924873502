#include "core/stats/ReportXlsx.h"

#include "core/data/FileMove.h"
#include "core/stats/ReportLines.h"
#include "core/stats/ZipWriter.h"
#include "core/text/TextBytes.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <unordered_map>

// Written by hand rather than through a general library: ten years of lists
// must export in about the CSV's time, and a cell-at-a-time library took
// fourteen times that.
namespace {

constexpr int kMaxRows = 1048576;

// Fields that hold codes, names and dates: text, whatever they look like.
bool IsTextField(const QString& source)
{
    static const QStringList words = {QStringLiteral("股號"), QStringLiteral("名稱"), QStringLiteral("日期"),
                                      QStringLiteral("星期"), QStringLiteral("類別")};
    return std::any_of(words.begin(), words.end(), [&source](const QString& word) { return source.contains(word); });
}

// The cell styles: plain, bold (the column headings), and numbers shown as
// printed: two decimals, thousands separated, or both.
enum CellStyle { kPlain = 0, kBold = 1, kTwoDecimals = 2, kGrouped = 3, kGroupedTwoDecimals = 4, kNotANumber = -1 };

// "1,234", "-2.5", "15" appended as a cell value ("1234", "-2.5", "15"),
// with the style that shows it as printed; kNotANumber, with nothing
// appended, for anything else (blank, "-", "1e5", "nan").
int AppendNumber(QByteArray& out, const QString& text)
{
    const qsizetype start = out.size();
    int digits = 0;
    int decimals = 0;
    bool point = false;
    bool grouped = false;
    for (int i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            out += static_cast<char>(c);
            ++digits;
            decimals += point ? 1 : 0;
        } else if (c == u',' && digits > 0 && !point) {
            grouped = true;
        } else if (c == u'.' && !point && digits > 0) {
            out += '.';
            point = true;
        } else if (c == u'-' && i == 0) {
            out += '-';
        } else if (c != u'+' || i != 0) {
            out.truncate(start);
            return kNotANumber;
        }
    }
    if (digits == 0 || out.endsWith('.')) {
        out.truncate(start);
        return kNotANumber;
    }
    if (decimals == 2)
        return grouped ? kGroupedTwoDecimals : kTwoDecimals;
    return grouped && decimals == 0 ? kGrouped : kPlain;
}

void AppendInteger(QByteArray& out, int value)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

// Text as XML character data: the markup characters escaped, characters XML
// cannot carry and a literal "_x" written in the format's own _xHHHH_ form.
QByteArray XmlText(const QString& text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (int i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '_':
            out += i + 1 < utf8.size() && utf8.at(i + 1) == 'x' ? "_x005F_" : "_";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += QByteArray("_x00") + QByteArray::number(static_cast<int>(c), 16).rightJustified(2, '0').toUpper() + '_';
            else
                out += c;
        }
    }
    return out;
}

QByteArray ColumnName(int column)
{
    QByteArray name;
    for (++column; column > 0; column = (column - 1) / 26)
        name.prepend(static_cast<char>('A' + (column - 1) % 26));
    return name;
}

// A sheet's name: at most 31 characters, none of []:*?/\ .
QString SheetName(const QString& caption)
{
    QString name = caption;
    name.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")));
    return name.isEmpty() ? QStringLiteral("Quorvex") : name.left(31);
}

// Texts are written once, in the shared list, and cells name them by number:
// the same codes and names stand on thousands of lines.
class SharedTexts {
public:
    struct Entry {
        int index;
        int width;   // in the sheet's character widths: a Chinese character is two
    };
    Entry entry(const QString& text)
    {
        // A report shares one buffer among the copies of a text: seen that
        // buffer, known the text, without hashing its characters. The kept copy
        // holds the buffer, so its address cannot come back with other text.
        const bool owned = text.data_ptr().isMutable();
        if (owned) {
            const auto seen = m_byBuffer.find(text.constData());
            if (seen != m_byBuffer.end() && seen->second.text.size() == text.size())
                return seen->second.entry;
        }
        auto found = m_index.constFind(text);
        if (found != m_index.constEnd()) {
            if (owned)
                m_byBuffer[text.constData()] = {text, *found};
            return *found;
        }
        const Entry added{static_cast<int>(m_index.size()), Big5Length(text)};
        m_index.insert(text, added);
        if (owned)
            m_byBuffer[text.constData()] = {text, added};
        const bool edgeSpace = text.front().isSpace() || text.back().isSpace();
        m_xml += edgeSpace ? "<si><t xml:space=\"preserve\">" : "<si><t>";
        m_xml += XmlText(text);
        m_xml += "</t></si>";
        return added;
    }
    QByteArray xml(qsizetype uses) const
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\""
               + QByteArray::number(uses) + "\" uniqueCount=\"" + QByteArray::number(m_index.size()) + "\">" + m_xml
               + "</sst>";
    }

private:
    struct Seen {
        QString text;
        Entry entry;
    };
    QHash<QString, Entry> m_index;
    std::unordered_map<const QChar*, Seen> m_byBuffer;
    QByteArray m_xml;
};

const char kContentTypes[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
    "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
    "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
    "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
    "</Types>";

const char kPackageRelations[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "</Relationships>";

const char kWorkbookRelations[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
    "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" Target=\"styles.xml\"/>"
    "<Relationship Id=\"rId3\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings\" Target=\"sharedStrings.xml\"/>"
    "</Relationships>";

// The styles in the order of CellStyle.
const char kStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"2\"><font><sz val=\"12\"/><name val=\"新細明體\"/><family val=\"1\"/></font>"
    "<font><b/><sz val=\"12\"/><name val=\"新細明體\"/><family val=\"1\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"5\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"3\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/>"
    "<xf numFmtId=\"4\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

QByteArray WorkbookXml(const QString& sheetName)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
           "<sheets><sheet name=\""
           + XmlText(sheetName) + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>";
}

} // namespace

bool WriteReportXlsx(const PaginatedReport& report, const QString& path, QString* error)
{
    QVector<bool> textColumns;
    for (const QString& source : report.detailFields)
        if (!report.wholeLineFields.contains(source))
            textColumns << IsTextField(source);
    SharedTexts texts;
    qsizetype textUses = 0;
    QVector<int> widths;
    QByteArrayList columnNames;
    QByteArray number;
    QByteArray rows;
    int row = 0;
    // Every row and cell says where it stands: some readers place nothing
    // without it. A title line, or a group's heading, spans the sheet and
    // sizes no column.
    const auto addRow = [&](ReportLinePart part, const QStringList& cells, bool bold) {
        QByteArray rowNumber;
        AppendInteger(rowNumber, ++row);
        const bool wholeLine = part == ReportLinePart::Detail && cells.size() == 1 && textColumns.size() > 1;
        const bool sizes = part == ReportLinePart::Heading ? cells.size() > 1 : !wholeLine;
        if (sizes && widths.size() < cells.size())
            widths.resize(cells.size());
        while (columnNames.size() < cells.size())
            columnNames << "<c r=\"" + ColumnName(static_cast<int>(columnNames.size()));
        rows += "<row r=\"";
        rows += rowNumber;
        rows += "\">";
        for (int c = 0; c < cells.size(); ++c) {
            const QString& text = cells.at(c);
            if (text.isEmpty())
                continue;
            const bool asText = part == ReportLinePart::Heading || wholeLine
                                || (part == ReportLinePart::Detail && c < textColumns.size() && textColumns.at(c));
            number.clear();
            const int numberStyle = asText ? kNotANumber : AppendNumber(number, text);
            const int style = numberStyle == kNotANumber ? (bold ? kBold : kPlain) : numberStyle;
            rows += columnNames.at(c);
            rows += rowNumber;
            rows += '"';
            if (style != kPlain) {
                rows += " s=\"";
                rows += static_cast<char>('0' + style);
                rows += '"';
            }
            // Printed texts are as wide as their characters; a Chinese one
            // counts two, and reads better with a little more.
            int width = 0;
            if (numberStyle != kNotANumber) {
                rows += "><v>";
                rows += number;
                width = static_cast<int>(text.size());
            } else {
                const SharedTexts::Entry shared = texts.entry(text);
                rows += " t=\"s\"><v>";
                AppendInteger(rows, shared.index);
                width = shared.width + (shared.width - static_cast<int>(text.size())) / 4;
                ++textUses;
            }
            rows += "</v></c>";
            if (sizes)
                widths[c] = std::max(widths[c], width);
        }
        rows += "</row>";
    };

    // The rows go to the packer a slice at a time, packed while the next are
    // made. The heading lines wait for the first other line: the last of
    // them, the column headings, is bold.
    constexpr qsizetype kSlice = 4 << 20;
    SliceDeflater sheet;
    rows.reserve(kSlice + 4096);
    QVector<QStringList> headings;
    const auto addHeadings = [&] {
        for (int i = 0; i < headings.size(); ++i)
            addRow(ReportLinePart::Heading, headings.at(i), i == headings.size() - 1);
        headings.clear();
    };
    ForEachReportLine(report, [&](ReportLinePart part, const QStringList& cells) {
        if (part == ReportLinePart::Heading) {
            headings << cells;
            return;
        }
        addHeadings();
        addRow(part, cells, false);
        if (rows.size() >= kSlice) {
            sheet.feed(std::move(rows));
            rows = QByteArray();
            rows.reserve(kSlice + 4096);
        }
    });
    addHeadings();
    rows += "</sheetData></worksheet>";
    sheet.feed(std::move(rows));

    QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    if (!widths.isEmpty()) {
        head += "<cols>";
        for (int c = 0; c < widths.size(); ++c)
            head += "<col min=\"" + QByteArray::number(c + 1) + "\" max=\"" + QByteArray::number(c + 1) + "\" width=\""
                    + QByteArray::number(std::max(widths.at(c), 4) + 3) + "\" customWidth=\"1\"/>";
        head += "</cols>";
    }
    head += "<sheetData>";
    ZipWriter zip;
    try {
        const PackedMember rowsPacked = sheet.finish(head);
        if (row > kMaxRows) {
            *error = QStringLiteral("報表共 %1 列，超過 Excel 工作表的 %2 列上限").arg(row).arg(kMaxRows);
            return false;
        }
        const bool packed = zip.add(QStringLiteral("[Content_Types].xml"), kContentTypes, error)
                            && zip.add(QStringLiteral("_rels/.rels"), kPackageRelations, error)
                            && zip.add(QStringLiteral("xl/workbook.xml"), WorkbookXml(SheetName(report.caption())), error)
                            && zip.add(QStringLiteral("xl/_rels/workbook.xml.rels"), kWorkbookRelations, error)
                            && zip.add(QStringLiteral("xl/styles.xml"), kStyles, error)
                            && zip.add(QStringLiteral("xl/sharedStrings.xml"), texts.xml(textUses), error)
                            && zip.add(QStringLiteral("xl/worksheets/sheet1.xml"), rowsPacked, error);
        if (!packed)
            return false;
    } catch (const std::bad_alloc&) {
        *error = QStringLiteral("記憶體不足，無法寫成 Excel 活頁簿");
        return false;
    }
    return SaveWholeFile(path, zip.finish(), error);
}
