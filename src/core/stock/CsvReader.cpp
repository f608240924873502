#include "core/stock/CsvReader.h"

#include "core/platform/Platform.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// After a byte-order mark: the encoding it names, or nothing.
QString Decode(QStringDecoder::Encoding encoding, const QString& name, const QByteArray& bytes, QString* error)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        *error = QStringLiteral("檔案標明是 %1 編碼，內容卻不是 %1 文字").arg(name);
        return {};
    }
    return text;
}

} // namespace

QString DecodeCsvText(const QByteArray& bytes, QString* error)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Decode(QStringDecoder::Utf8, QStringLiteral("UTF-8"), bytes.mid(3), error);
    if (bytes.startsWith("\xFF\xFE"))
        return Decode(QStringDecoder::Utf16LE, QStringLiteral("UTF-16"), bytes.mid(2), error);
    if (bytes.startsWith("\xFE\xFF"))
        return Decode(QStringDecoder::Utf16BE, QStringLiteral("UTF-16"), bytes.mid(2), error);
    if (bytes.contains('\0')) {
        *error = QStringLiteral("檔案不是文字檔（含有 NUL 位元組）");
        return {};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    std::optional<QString> decoded = DecodeBig5(bytes);
    if (!decoded) {
        *error = QStringLiteral("檔案的文字編碼無法辨識：既不是 UTF-8，也不是 Big5（CP950）");
        return {};
    }
    return *decoded;
}

namespace {

// The field being read: a run of the text while it is one, a copy once a
// skipped quote splits it.
class FieldBuilder {
public:
    explicit FieldBuilder(QStringView text) : m_text(text) {}
    // Adds the characters from `from` up to `to`.
    void add(qsizetype from, qsizetype to)
    {
        if (from == to)
            return;
        if (m_copied) {
            m_copy += m_text.mid(from, to - from);
        } else if (m_end == m_start) {
            m_start = from;
            m_end = to;
        } else if (from == m_end) {
            m_end = to;
        } else {
            m_copy = m_text.mid(m_start, m_end - m_start).toString();
            m_copy += m_text.mid(from, to - from);
            m_copied = true;
        }
    }
    bool isEmpty() const { return !m_copied && m_end == m_start; }
    // The field, kept in `scratch` when it had to be copied; then starts the next.
    QStringView take(std::vector<QString>& scratch)
    {
        QStringView field = m_text.mid(m_start, m_end - m_start);
        if (m_copied) {
            scratch.push_back(std::move(m_copy));
            field = scratch.back();
        }
        m_copy = QString();
        m_copied = false;
        m_start = m_end = 0;
        return field;
    }

private:
    QStringView m_text;
    qsizetype m_start = 0;
    qsizetype m_end = 0;
    bool m_copied = false;
    QString m_copy;
};

bool EndsPlainRun(char16_t c)
{
    return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
}

} // namespace

void ForEachCsvRecord(QStringView text, const std::function<bool(const CsvRecord&)>& visit)
{
    CsvRecord record;
    // Views into these stay valid while the vector grows: a moved QString keeps its characters.
    std::vector<QString> scratch;
    FieldBuilder field(text);
    bool anything = false;     // the record has begun
    const char16_t* chars = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = chars[i];
        if (c == u'"') {
            // A quoted stretch: up to the closing quote, a doubled quote standing for one.
            anything = true;
            ++i;
            for (;;) {
                const qsizetype start = i;
                while (i < n && chars[i] != u'"')
                    ++i;
                field.add(start, i);
                if (i + 1 < n && chars[i + 1] == u'"') {
                    field.add(i, i + 1);
                    i += 2;
                    continue;
                }
                ++i;   // past the closing quote, or the end of an unclosed field
                break;
            }
        } else if (c == u',') {
            record.push_back(field.take(scratch));
            anything = true;
            ++i;
        } else if (c == u'\n' || c == u'\r') {
            i += (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n') ? 2 : 1;
            record.push_back(field.take(scratch));
            if (!visit(record))
                return;
            record.clear();
            scratch.clear();
            anything = false;
        } else {
            const qsizetype start = i;
            while (i < n && !EndsPlainRun(chars[i]))
                ++i;
            field.add(start, i);
            anything = true;
        }
    }
    if (anything || !field.isEmpty()) {
        record.push_back(field.take(scratch));
        visit(record);
    }
}

QVector<QStringList> ParseCsv(const QString& text)
{
    QVector<QStringList> records;
    ForEachCsvRecord(text, [&records](const CsvRecord& fields) {
        QStringList record;
        record.reserve(static_cast<qsizetype>(fields.size()));
        for (QStringView field : fields)
            record << field.toString();
        records << std::move(record);
        return true;
    });
    return records;
}

QStringView CsvCell(QStringView field)
{
    // Most fields have nothing around them: no need to look for blanks then.
    const bool padded = !field.isEmpty() && (field.front().isSpace() || field.back().isSpace());
    QStringView cell = padded ? field.trimmed() : field;
    // Its quotes may already be gone when the field itself was not quoted.
    if (cell.startsWith(u'=')) {
        cell = cell.mid(1).trimmed();
        if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
            cell = cell.mid(1, cell.size() - 2).trimmed();
    }
    return cell;
}

QString CsvCell(const QString& field)
{
    return CsvCell(QStringView(field)).toString();
}

bool IsStockCode(const QString& code)
{
    qsizetype i = 0;
    while (i < code.size() && code.at(i) >= u'0' && code.at(i) <= u'9')
        ++i;
    if (i == 0)
        return false;
    while (i < code.size() && code.at(i) >= u'A' && code.at(i) <= u'Z')
        ++i;
    return i == code.size();
}

QString ReadCsvText(const QString& path, qint64 largest, const QString& tooLarge, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return {};
    }
    if (file.size() > largest) {
        *error = tooLarge;
        return {};
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return {};
    }
    return DecodeCsvText(bytes, error);
}

QVector<QStringList> ReadCsvFile(const QString& path, qint64 largest, const QString& tooLarge, QString* error)
{
    const QString text = ReadCsvText(path, largest, tooLarge, error);
    return error->isEmpty() ? ParseCsv(text) : QVector<QStringList>();
}
