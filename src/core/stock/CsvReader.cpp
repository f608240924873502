#include "core/stock/CsvReader.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace {

QString Decode(QStringDecoder::Encoding encoding, const QByteArray& bytes, QString* error)
{
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        *error = QStringLiteral("檔案的文字編碼無法辨識");
        return {};
    }
    return text;
}

} // namespace

QString DecodeCsvText(const QByteArray& bytes, QString* error)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Decode(QStringDecoder::Utf8, bytes.mid(3), error);
    if (bytes.startsWith("\xFF\xFE"))
        return Decode(QStringDecoder::Utf16LE, bytes.mid(2), error);
    if (bytes.startsWith("\xFE\xFF"))
        return Decode(QStringDecoder::Utf16BE, bytes.mid(2), error);
    if (bytes.contains('\0')) {
        *error = QStringLiteral("檔案不是文字檔");
        return {};
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder big5("Big5", QStringDecoder::Flag::Stateless);
    if (!big5.isValid()) {
        *error = QStringLiteral("系統缺少 Big5 文字編碼");
        return {};
    }
    QString decoded = big5(bytes);
    if (big5.hasError()) {
        *error = QStringLiteral("檔案的文字編碼無法辨識");
        return {};
    }
    return decoded;
}

QVector<QStringList> ParseCsv(const QString& text)
{
    QVector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;       // inside a quoted field
    bool anything = false;     // the record has begun
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            anything = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            anything = true;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            record << field;
            records << record;
            record.clear();
            field.clear();
            anything = false;
        } else {
            field += c;
            anything = true;
        }
    }
    if (anything || !field.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

QString CsvCell(const QString& field)
{
    QString cell = field.trimmed();
    // Its quotes may already be gone when the field itself was not quoted.
    if (cell.startsWith(QLatin1Char('='))) {
        cell = cell.mid(1).trimmed();
        if (cell.size() >= 2 && cell.startsWith(QLatin1Char('"')) && cell.endsWith(QLatin1Char('"')))
            cell = cell.mid(1, cell.size() - 2).trimmed();
    }
    return cell;
}

bool IsStockCode(const QString& code)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+[A-Z]*$"));
    return pattern.match(code).hasMatch();
}

QVector<QStringList> ReadCsvFile(const QString& path, qint64 largest, const QString& tooLarge, QString* error)
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
    const QString text = DecodeCsvText(bytes, error);
    if (!error->isEmpty())
        return {};
    return ParseCsv(text);
}
