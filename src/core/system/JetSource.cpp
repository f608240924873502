#include "core/system/JetSource.h"

#include "core/data/DbError.h"
#include "core/platform/IsolatedRun.h"
#include "core/system/JetHeader.h"

#include <QFile>
#include <QFileInfo>

#include <mdbtools.h>

#include <cstdlib>
#include <vector>

namespace {

// libmdb writes each value as text into a buffer of this size; a longer memo
// is cut. No table of the old program holds a memo, and the conversion cuts
// texts to 255 characters anyway.
constexpr int kBindSize = 64 * 1024;

struct HandleCloser {
    void operator()(MdbHandle* handle) const { mdb_close(handle); }
};
struct TableFreer {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;
using Table = std::unique_ptr<MdbTableDef, TableFreer>;

db::DbError Unreadable(const QString& what)
{
    return db::DbError(db::ErrorKind::Other,
                       QStringLiteral("無法讀取這個 Access 資料庫檔案，檔案可能已加密或損毀（%1）").arg(what));
}

// libmdb converts texts with the handle's iconv descriptors: always to UTF-8
// (whatever MDBICONV says), from UCS-2 in Jet 4 and from the chosen code page
// in Jet 3.
void SetTextEncoding(MdbHandle* mdb)
{
    const QByteArray from = IS_JET3(mdb) ? Jet3Charset() : QByteArrayLiteral("UCS-2LE");
    mdb_iconv_close(mdb);
    mdb->iconv_in = iconv_open("UTF-8", from.constData());
    mdb->iconv_out = iconv_open(from.constData(), "UTF-8");
    if (mdb->iconv_in == reinterpret_cast<iconv_t>(-1) || mdb->iconv_out == reinterpret_cast<iconv_t>(-1))
        throw db::DbError(db::ErrorKind::Other,
                          QStringLiteral("無法使用字碼 %1 讀取 Access 97 的文字（請檢查 MDB_JET3_CHARSET）")
                              .arg(QString::fromLatin1(from)));
}

QStringList UserTables(MdbHandle* mdb)
{
    QStringList names;
    GPtrArray* catalog = mdb_read_catalog(mdb, MDB_TABLE);
    if (catalog == nullptr)
        throw Unreadable(QStringLiteral("資料表清單"));
    for (guint i = 0; i < catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalog, i));
        if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

Table OpenTable(MdbHandle* mdb, const QString& name)
{
    QByteArray utf8 = name.toUtf8();
    Table table(mdb_read_table_by_name(mdb, utf8.data(), MDB_TABLE));
    if (!table || mdb_read_columns(table.get()) == nullptr)
        throw Unreadable(QStringLiteral("資料表 %1").arg(name));
    return table;
}

MdbColumn* ColumnAt(MdbTableDef* table, guint i)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

// Every table read to its end, embedded objects too: what the conversion
// will do, done first in a copy of the process, since libmdb loops forever
// on some damaged files.
bool ReadsToTheEnd(MdbHandle* mdb)
{
    for (const QString& name : UserTables(mdb)) {
        const Table table = OpenTable(mdb, name);
        std::vector<std::vector<char>> buffers(table->num_cols, std::vector<char>(kBindSize));
        std::vector<int> lengths(table->num_cols);
        for (guint i = 0; i < table->num_cols; ++i)
            mdb_bind_column(table.get(), int(i) + 1, buffers[i].data(), &lengths[i]);
        mdb_rewind_table(table.get());
        while (mdb_fetch_row(table.get())) {
            for (guint i = 0; i < table->num_cols; ++i) {
                if (ColumnAt(table.get(), i)->col_type == MDB_OLE && lengths[i] > 0) {
                    size_t size = 0;
                    free(mdb_ole_read_full(mdb, ColumnAt(table.get(), i), &size));
                }
            }
        }
    }
    return true;
}

struct BoundColumn {
    MdbColumn* column;
    std::vector<char> buffer;
    int length = 0;
};

class JetRow : public OldRow {
public:
    JetRow(MdbHandle* mdb, std::vector<BoundColumn>& columns) : m_mdb(mdb), m_columns(columns) {}

    QVariant value(int i) const override
    {
        BoundColumn& bound = m_columns[size_t(i)];
        const QByteArray text(bound.buffer.data(), bound.length);
        switch (bound.column->col_type) {
        case MDB_BOOL:
            return QVariant(text == "1");
        case MDB_OLE:
            return bound.length == 0 ? QVariant() : oleBytes(bound);
        case MDB_BINARY:
            return bound.length == 0 ? QVariant() : QVariant(text);
        default:
            break;
        }
        // libmdb cannot tell a null from an empty text; the conversion takes both alike.
        if (bound.length == 0)
            return QVariant();
        switch (bound.column->col_type) {
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return QVariant(text.toLongLong());
        case MDB_FLOAT:
        case MDB_DOUBLE:
            // Written by printf, in whatever decimal sign the locale has.
            return QVariant(QByteArray(text).replace(',', '.').toDouble());
        default:
            // Currency and decimals keep the exact digits libmdb writes.
            return QVariant(QString::fromUtf8(text));
        }
    }

private:
    QVariant oleBytes(BoundColumn& bound) const
    {
        size_t size = 0;
        void* data = mdb_ole_read_full(m_mdb, bound.column, &size);
        const QByteArray bytes(static_cast<const char*>(data), qsizetype(size));
        free(data);
        return bytes;
    }

    MdbHandle* m_mdb;
    std::vector<BoundColumn>& m_columns;
};

class JetSource : public OldDatabase {
public:
    JetSource(Handle mdb, bool passwordMatches) : m_mdb(std::move(mdb)), m_passwordMatches(passwordMatches) {}

    QStringList tableNames() override { return UserTables(m_mdb.get()); }

    QStringList columnNames(const QString& name) override
    {
        const Table table = OpenTable(m_mdb.get(), name);
        QStringList names;
        for (guint i = 0; i < table->num_cols; ++i)
            names << QString::fromUtf8(ColumnAt(table.get(), i)->name);
        return names;
    }

    qlonglong rowCount(const QString& name) override { return OpenTable(m_mdb.get(), name)->num_rows; }

    void forEachRow(const QString& name, const QStringList& columns,
                    const std::function<void(const OldRow&)>& visit) override
    {
        const Table table = OpenTable(m_mdb.get(), name);
        QStringList names;
        for (guint i = 0; i < table->num_cols; ++i)
            names << QString::fromUtf8(ColumnAt(table.get(), i)->name);
        std::vector<BoundColumn> bound(size_t(columns.size()));
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const qsizetype at = names.indexOf(columns[c]);
            if (at < 0)
                throw Unreadable(QStringLiteral("欄位 %1.%2").arg(name, columns[c]));
            BoundColumn& column = bound[size_t(c)];
            column.column = ColumnAt(table.get(), guint(at));
            column.buffer.resize(kBindSize);
            mdb_bind_column(table.get(), int(at) + 1, column.buffer.data(), &column.length);
        }
        mdb_rewind_table(table.get());
        const JetRow row(m_mdb.get(), bound);
        while (mdb_fetch_row(table.get()))
            visit(row);
    }

    bool passwordMatches() const override { return m_passwordMatches; }

private:
    Handle m_mdb;
    bool m_passwordMatches;
};

} // namespace

std::unique_ptr<OldDatabase> OpenJetSource(const QString& path, const QString& password,
                                           const std::function<void()>& waiting)
{
    const std::optional<JetHeader> header = ReadJetHeader(path, Jet3Charset());
    if (!header)
        throw Unreadable(QStringLiteral("檔頭"));
    // From Access 2007 on a database password encrypts the whole file in a
    // way libmdb cannot undo.
    if (header->version >= MDB_VER_ACCDB_2007 && !header->password.isEmpty())
        throw db::DbError(db::ErrorKind::Other,
                          QStringLiteral("這個 Access 資料庫檔案以密碼加密，本程式無法讀取；請在 Access 中移除密碼或另存成 Access 2000 格式後再轉檔"));
    Handle mdb(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    if (!mdb)
        throw Unreadable(QStringLiteral("開啟"));
    mdb_set_bind_size(mdb.get(), kBindSize);
    mdb_set_date_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(mdb.get(), "%Y-%m-%d %H:%M:%S");
    mdb_set_boolean_fmt_numbers(mdb.get());
    SetTextEncoding(mdb.get());
    // Generous even on a slow share: a whole file reads at many megabytes a second.
    const qint64 megabytes = QFileInfo(path).size() >> 20;
    const int limit = int(std::min<qint64>(5000 + megabytes * 1000, 600000));
    switch (RunIsolated([&] { return ReadsToTheEnd(mdb.get()); }, limit, waiting)) {
    case IsolatedOutcome::Succeeded:
        break;
    case IsolatedOutcome::Failed:
        throw Unreadable(QStringLiteral("讀取時發生錯誤"));
    case IsolatedOutcome::TimedOut:
        throw Unreadable(QStringLiteral("讀取沒有結束"));
    }
    return std::make_unique<JetSource>(std::move(mdb), header->password == password);
}
