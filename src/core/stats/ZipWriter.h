#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <future>
#include <vector>

// A zip member's bytes, deflated, with what its directory entry records.
struct PackedMember {
    QByteArray bytes;
    quint32 crc = 0;
    qint64 size = 0;
};

// Deflates a member made a slice at a time, each slice on the thread pool
// while the next is made; the slices' packed forms join into one stream.
// The fastest level: an office file's XML packs well enough, and its size
// matters less than the time.
class SliceDeflater {
public:
    void feed(QByteArray slice);
    // The member: `head` (what is known only once every slice is made, such
    // as a sheet's column widths), then the slices in the order fed.
    // Throws std::bad_alloc, as the packing of any slice may.
    PackedMember finish(QByteArrayView head = {});

private:
    std::vector<std::future<PackedMember>> m_slices;
};

// A zip archive built in memory: what an office file format (.xlsx) is
// packed in.
class ZipWriter {
public:
    // False (with the reason) when the member or the archive would pass the
    // 4 GB a plain zip can describe.
    bool add(const QString& name, const PackedMember& member, QString* error);
    bool add(const QString& name, QByteArrayView data, QString* error);
    // The finished archive; the writer is empty afterwards.
    QByteArray finish();

private:
    QByteArray m_archive;
    QByteArray m_directory;
    quint16 m_count = 0;
};
