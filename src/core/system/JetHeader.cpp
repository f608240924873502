#include "core/system/JetHeader.h"

#include <QFile>
#include <QStringDecoder>

#include <cmath>
#include <cstring>

namespace {

// Access hides bytes 0x18-0x97 of the first page under this fixed mask.
constexpr int kMaskedFrom = 0x18;
constexpr unsigned char kHeaderMask[128] = {
    0xB5, 0x6F, 0x03, 0x62, 0x61, 0x08, 0xC2, 0x55, 0xEB, 0xA9, 0x67, 0x72, 0x43, 0x3F, 0x00, 0x9C,
    0x7A, 0x9F, 0x90, 0xFF, 0x80, 0x9A, 0x31, 0xC5, 0x79, 0xBA, 0xED, 0x30, 0xBC, 0xDF, 0xCC, 0x9D,
    0x63, 0xD9, 0xE4, 0xC3, 0x7B, 0x42, 0xFB, 0x8A, 0xBC, 0x4E, 0x86, 0xFB, 0xEC, 0x37, 0x5D, 0x44,
    0x9C, 0xFA, 0xC6, 0x5E, 0x28, 0xE6, 0x13, 0xB6, 0x8A, 0x60, 0x54, 0x94, 0x7B, 0x36, 0xF5, 0x72,
    0xDF, 0xB1, 0x77, 0xF4, 0x13, 0x43, 0xCF, 0xAF, 0xB1, 0x33, 0x34, 0x61, 0x79, 0x5B, 0x92, 0xB5,
    0x7C, 0x2A, 0x05, 0xF1, 0x7C, 0x99, 0x01, 0x1B, 0x98, 0xFD, 0x12, 0x4F, 0x4A, 0x94, 0x6C, 0x3E,
    0x60, 0x26, 0x5F, 0x95, 0xF8, 0xD0, 0x89, 0x24, 0x85, 0x67, 0xC6, 0x1F, 0x27, 0x44, 0xD2, 0xEE,
    0xCF, 0x65, 0xED, 0xFF, 0x07, 0xC7, 0x46, 0xA1, 0x78, 0x16, 0x0C, 0xED, 0xE9, 0x2D, 0x62, 0xD4};
constexpr int kVersionAt = 0x14;
constexpr int kPasswordAt = 0x42;
constexpr int kCreatedAt = 0x72;   // a date (double) whose whole part masks a Jet 4 password once more

QString UpToNul(const QString& text)
{
    const qsizetype end = text.indexOf(QChar(0));
    return end < 0 ? text : text.left(end);
}

} // namespace

std::optional<JetHeader> ReadJetHeader(const QString& path, const QByteArray& jet3Charset)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray page = file.read(kMaskedFrom + int(sizeof kHeaderMask));
    if (page.size() < kMaskedFrom + int(sizeof kHeaderMask) || page.at(0) != 0
        || (page.mid(4, 16) != QByteArray("Standard Jet DB\0", 16) && page.mid(4, 16) != QByteArray("Standard ACE DB\0", 16)))
        return std::nullopt;
    for (int i = 0; i < int(sizeof kHeaderMask); ++i)
        page[kMaskedFrom + i] = char(page.at(kMaskedFrom + i) ^ kHeaderMask[i]);

    JetHeader header;
    header.version = static_cast<unsigned char>(page.at(kVersionAt));
    if (header.version == 0) {
        const QByteArray text = page.mid(kPasswordAt, 20);
        QStringDecoder decode(jet3Charset.constData());
        header.password = UpToNul(decode.isValid() ? QString(decode(text)) : QString::fromLatin1(text));
    } else {
        double created = 0;
        std::memcpy(&created, page.constData() + kCreatedAt, sizeof created);
        const qint32 whole = std::isfinite(created) && std::fabs(created) < 2.0e9 ? static_cast<qint32>(created) : 0;
        const unsigned char dateMask[4] = {static_cast<unsigned char>(whole), static_cast<unsigned char>(whole >> 8),
                                           static_cast<unsigned char>(whole >> 16),
                                           static_cast<unsigned char>(whole >> 24)};
        QByteArray text = page.mid(kPasswordAt, 40);
        for (int i = 0; i < text.size(); ++i)
            text[i] = char(text.at(i) ^ dateMask[i % 4]);
        header.password = UpToNul(QString::fromUtf16(reinterpret_cast<const char16_t*>(text.constData()), text.size() / 2));
    }
    return header;
}

QByteArray Jet3Charset()
{
    const QByteArray chosen = qgetenv("MDB_JET3_CHARSET");
    return chosen.isEmpty() ? QByteArrayLiteral("CP950") : chosen;
}
