#include "core/stats/ZipWriter.h"

#include <QDateTime>
#include <QThreadPool>

#include <zlib.h>

#include <limits>
#include <new>
#include <memory>

namespace {

constexpr quint16 kVersion = 20;        // 2.0: deflate
constexpr quint16 kUtf8Names = 0x0800;
constexpr quint16 kDeflated = 8;
constexpr qint64 kZipLimit = std::numeric_limits<quint32>::max();
constexpr uInt kOutputStep = 1 << 20;

void Put16(QByteArray& out, quint32 value)
{
    out += static_cast<char>(value & 0xff);
    out += static_cast<char>((value >> 8) & 0xff);
}

void Put32(QByteArray& out, quint32 value)
{
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// The time every member carries, in the archive's two-second DOS form.
void PutDosTime(QByteArray& out)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    Put16(out, (t.hour() << 11) | (t.minute() << 5) | (t.second() / 2));
    Put16(out, ((std::max(d.year(), 1980) - 1980) << 9) | (d.month() << 5) | d.day());
}

// One slice as raw deflate blocks. A slice that is not the last ends on a
// byte boundary without closing the stream, so the next slice's blocks can
// follow it.
PackedMember Deflate(QByteArrayView slice, bool last)
{
    PackedMember packed;
    z_stream z = {};
    // Only memory can fail zlib here: the state it needs, or its output.
    if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    packed.crc = static_cast<quint32>(crc32(0, nullptr, 0));
    // zlib counts in 32 bits: a larger slice goes in parts.
    constexpr qsizetype kPart = 1 << 30;
    qsizetype at = 0;
    do {
        const qsizetype length = std::min(kPart, slice.size() - at);
        const auto* bytes = reinterpret_cast<const Bytef*>(slice.data() + at);
        packed.crc = static_cast<quint32>(crc32(packed.crc, bytes, static_cast<uInt>(length)));
        at += length;
        const int flush = at < slice.size() ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        z.next_in = const_cast<Bytef*>(bytes);
        z.avail_in = static_cast<uInt>(length);
        int result = Z_OK;
        do {
            const qsizetype used = packed.bytes.size();
            packed.bytes.resize(used + kOutputStep);
            z.next_out = reinterpret_cast<Bytef*>(packed.bytes.data() + used);
            z.avail_out = kOutputStep;
            result = deflate(&z, flush);
            packed.bytes.resize(used + kOutputStep - z.avail_out);
            if (result == Z_STREAM_ERROR) {
                deflateEnd(&z);
                throw std::bad_alloc();
            }
        } while (z.avail_in > 0 || z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    } while (at < slice.size());
    deflateEnd(&z);
    packed.size = slice.size();
    return packed;
}

} // namespace

void SliceDeflater::feed(QByteArray slice)
{
    auto done = std::make_shared<std::promise<PackedMember>>();
    m_slices.push_back(done->get_future());
    QThreadPool::globalInstance()->start([done, slice = std::move(slice)] {
        try {
            done->set_value(Deflate(slice, false));
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    });
}

PackedMember SliceDeflater::finish(QByteArrayView head)
{
    PackedMember whole = Deflate(head, false);
    for (std::future<PackedMember>& slice : m_slices) {
        const PackedMember packed = slice.get();
        whole.bytes += packed.bytes;
        whole.crc = static_cast<quint32>(crc32_combine(whole.crc, packed.crc, static_cast<z_off_t>(packed.size)));
        whole.size += packed.size;
    }
    m_slices.clear();
    // The closing block: final, fixed codes, empty.
    whole.bytes += QByteArray::fromRawData("\x03\x00", 2);
    return whole;
}

bool ZipWriter::add(const QString& name, QByteArrayView data, QString* error)
{
    return add(name, Deflate(data, true), error);
}

bool ZipWriter::add(const QString& name, const PackedMember& member, QString* error)
{
    const QByteArray fileName = name.toUtf8();
    if (member.size >= kZipLimit || m_archive.size() + member.bytes.size() + 1024 >= kZipLimit
        || m_count == std::numeric_limits<quint16>::max()) {
        *error = QStringLiteral("檔案超過 4 GB，無法寫成壓縮檔");
        return false;
    }
    const auto offset = static_cast<quint32>(m_archive.size());
    auto common = [&](QByteArray& out) {
        Put16(out, kVersion);
        Put16(out, kUtf8Names);
        Put16(out, kDeflated);
        PutDosTime(out);
        Put32(out, member.crc);
        Put32(out, static_cast<quint32>(member.bytes.size()));
        Put32(out, static_cast<quint32>(member.size));
        Put16(out, static_cast<quint32>(fileName.size()));
        Put16(out, 0);   // no extra field
    };
    Put32(m_archive, 0x04034b50);
    common(m_archive);
    m_archive += fileName;
    m_archive += member.bytes;

    Put32(m_directory, 0x02014b50);
    Put16(m_directory, kVersion);
    common(m_directory);
    Put16(m_directory, 0);   // comment
    Put16(m_directory, 0);   // disk
    Put16(m_directory, 0);   // internal attributes
    Put32(m_directory, 0);   // external attributes
    Put32(m_directory, offset);
    m_directory += fileName;
    ++m_count;
    return true;
}

QByteArray ZipWriter::finish()
{
    QByteArray out = std::move(m_archive);
    const auto directoryOffset = static_cast<quint32>(out.size());
    out += m_directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, m_count);
    Put16(out, m_count);
    Put32(out, static_cast<quint32>(m_directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    m_archive.clear();
    m_directory.clear();
    m_count = 0;
    return out;
}
