#include "core/data/PgCopyText.h"

#include "core/data/Backend.h"

namespace db {

namespace {

void AppendEscaped(QByteArray& out, const QByteArray& text)
{
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

QByteArray PgCopyText(const QVector<QVariantList>& rows)
{
    QByteArray out;
    out.reserve(rows.size() * 48);
    for (const QVariantList& row : rows) {
        for (int i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += '\t';
            const QVariant& value = row.at(i);
            switch (backend::KindOfValue(value)) {
            case backend::ValueKind::Null:
                out += "\\N";
                break;
            case backend::ValueKind::Integer:
                out += QByteArray::number(value.toLongLong());
                break;
            case backend::ValueKind::Real:
                out += QByteArray::number(value.toDouble(), 'g', 17);
                break;
            case backend::ValueKind::Bytes:
                // bytea's hex form, its backslash escaped as COPY needs.
                out += "\\\\x" + value.toByteArray().toHex();
                break;
            case backend::ValueKind::Text:
                AppendEscaped(out, value.toString().toUtf8());
                break;
            }
        }
        out += '\n';
    }
    return out;
}

} // namespace db
