#include "core/system/CipherSource.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/SqlText.h"

namespace {

class CipherRow : public OldRow {
public:
    explicit CipherRow(const db::Row& row) : m_row(row) {}
    QVariant value(int column) const override { return m_row.value(column); }

private:
    const db::Row& m_row;
};

class CipherSource : public OldDatabase {
public:
    CipherSource(const QString& path, const QString& password)
        : m_connection(db::BuildConnectionString(path, password), db::OpenMode::MustExist), m_snapshot(m_connection)
    {
    }

    QStringList tableNames() override { return m_connection.tableNames(); }

    QStringList columnNames(const QString& table) override
    {
        QStringList names;
        for (const auto& column : m_connection.tableColumns(table))
            names << column.first;
        return names;
    }

    qlonglong rowCount(const QString& table) override
    {
        return m_connection.query(QStringLiteral("SELECT count(*) FROM %1").arg(db::QuotedName(table)))
            .value(0, 0)
            .toLongLong();
    }

    void forEachRow(const QString& table, const QStringList& columns,
                    const std::function<void(const OldRow&)>& visit) override
    {
        db::Statement rows(m_connection,
                           QStringLiteral("SELECT %1 FROM %2").arg(db::QuotedNameList(columns), db::QuotedName(table)));
        rows.forEachRow({}, [&](const db::Row& row) { visit(CipherRow(row)); });
    }

    bool passwordMatches() const override { return true; }

private:
    db::Connection m_connection;
    db::ReadTransaction m_snapshot;
};

} // namespace

std::unique_ptr<OldDatabase> OpenCipherSource(const QString& path, const QString& password)
{
    return std::make_unique<CipherSource>(path, password);
}
