#include "core/text/KeyFilter.h"

#include <QChar>

namespace {
bool IsDigit(int code) { return code >= '0' && code <= '9'; }
}

int UpperKey(int code)
{
    if (code <= 0 || code > 0xFFFF)
        return code;
    return QChar(static_cast<char16_t>(code)).toUpper().unicode();
}

int KeyFilter(int code, int kind)
{
    if (kind < 1 || kind > kStockCodeKind)
        return code;
    if (code == kKeyBackspace || code == kKeyEnter)
        return code;
    switch (kind) {
    case 1:
        return IsDigit(code) ? code : 0;
    case 2: {
        const int upper = UpperKey(code);
        return upper >= 'A' && upper <= 'Z' ? upper : 0;
    }
    case 3:
        return IsDigit(code) || code == '.' ? code : 0;
    case 4:
        return IsDigit(code) || code == '.' || code == '*' ? code : 0;
    case 5:
        return IsDigit(code) || code == '.' || code == '+' ? code : 0;
    case 6:
        return IsDigit(code) || code == '-' ? code : 0;
    case kStockCodeKind: {
        const int upper = code < 0x80 ? UpperKey(code) : 0;
        return IsDigit(code) || (upper >= 'A' && upper <= 'Z') ? upper : 0;
    }
    case 7:
        return IsDigit(code) || code == '-' || code == '.' ? code : 0;
    default:
        return code;
    }
}

QString FilterText(const QString& text, int kind)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        const int accepted = KeyFilter(c.unicode(), kind);
        if (accepted != 0 && accepted != kKeyBackspace && accepted != kKeyEnter)
            kept.append(QChar(static_cast<char16_t>(accepted)));
    }
    return kept;
}

QString UpperText(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper)
        c = QChar(static_cast<char16_t>(UpperKey(c.unicode())));
    return upper;
}
