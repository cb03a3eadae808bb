// CREATE TABLE and the idempotent INSERT of a table (orla_series, orla_journal) per dialect; a batch of records in one transaction.
#include "database/database_sql.h"

#include <utility>

#include "database/database_rows.h"

namespace {

using platform::db::Value;
using Kind = Value::Kind;

const char* TypeName(SqlDialect d, Kind kind) {
    switch (kind) {
        case Kind::Text: return d == SqlDialect::SqlServer ? "NVARCHAR(255)" : d == SqlDialect::Sqlite ? "TEXT" : "VARCHAR(255)";
        case Kind::Integer: return "INTEGER";
        case Kind::Decimal: return d == SqlDialect::SqlServer ? "DECIMAL(5,1)" : "NUMERIC(5,1)";
        case Kind::Boolean: return d == SqlDialect::SqlServer ? "BIT" : "BOOLEAN";
        case Kind::Timestamp: return d == SqlDialect::SqlServer ? "DATETIME2(3)" : "TIMESTAMP(3)";
    }
    return "VARCHAR(255)";
}

std::string ColumnList(const SqlTable& t) {
    std::string list;
    for (const SeriesColumn& c : *t.columns) list += (list.empty() ? "" : ", ") + std::string(c.name);
    return list;
}

std::string KeyList(const SqlTable& t) {
    std::string list;
    for (int k = 0; k < t.keyColumns; ++k) list += (k ? ", " : "") + std::string((*t.columns)[size_t(k)].name);
    return list;
}

std::string KeyGuard(const SqlTable& t) {
    std::string guard;
    for (int k = 0; k < t.keyColumns; ++k) guard += (k ? " AND " : "") + std::string((*t.columns)[size_t(k)].name) + " = ?";
    return guard;
}

std::string Markers(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += i ? ", ?" : "?";
    return text;
}

SqlTable SeriesTable() { return SqlTable{kSeriesTable, &SeriesColumns(), kSeriesKeyColumns}; }

}  // namespace

SqlDialect DialectOfDbms(const std::string& name) {
    if (name.find("PostgreSQL") != std::string::npos) return SqlDialect::PostgreSql;
    if (name.find("SQL Server") != std::string::npos) return SqlDialect::SqlServer;
    if (name.find("SQLite") != std::string::npos) return SqlDialect::Sqlite;
    return SqlDialect::Other;
}

std::string CreateTableSql(SqlDialect d, const SqlTable& t) {
    std::string sql = std::string("CREATE TABLE ") + t.name + " (\n";
    for (const SeriesColumn& c : *t.columns)
        sql += std::string("  ") + c.name + " " + TypeName(d, c.kind) + (c.nullable ? " NULL" : " NOT NULL") + ",\n";
    return sql + "  PRIMARY KEY (" + KeyList(t) + ")\n)";
}

std::string CreateTableSql(SqlDialect d) { return CreateTableSql(d, SeriesTable()); }

std::string InsertSql(SqlDialect d, const SqlTable& t) {
    const size_t n = t.columns->size();
    const std::string into = std::string("INSERT INTO ") + t.name + " (" + ColumnList(t) + ")";
    switch (d) {
        case SqlDialect::PostgreSql:
            return into + " VALUES (" + Markers(n) + ") ON CONFLICT (" + KeyList(t) + ") DO NOTHING";
        case SqlDialect::Sqlite:
            return "INSERT OR IGNORE" + into.substr(6) + " VALUES (" + Markers(n) + ")";
        case SqlDialect::SqlServer:
        case SqlDialect::Other: break;
    }
    return into + " SELECT " + Markers(n) + " WHERE NOT EXISTS (SELECT 1 FROM " + t.name + " WHERE " + KeyGuard(t) + ")";
}

std::string InsertSql(SqlDialect d) { return InsertSql(d, SeriesTable()); }

std::vector<Value> InsertParameters(SqlDialect d, const SqlTable& t, std::vector<Value> row) {
    if (d == SqlDialect::SqlServer || d == SqlDialect::Other)
        for (int k = 0; k < t.keyColumns; ++k) row.push_back(row[static_cast<size_t>(k)]);
    return row;
}

std::vector<Value> InsertParameters(SqlDialect d, std::vector<Value> row) {
    return InsertParameters(d, SeriesTable(), std::move(row));
}

std::string CountSeriesSql() {
    return std::string("SELECT COUNT(DISTINCT test_time) FROM ") + kSeriesTable + " WHERE instrument_serial = ?";
}

bool EnsureTable(platform::db::Connection c, SqlDialect d, const SqlTable& t, bool* created) {
    *created = false;
    if (platform::db::TableExists(c, t.name)) return true;
    if (!platform::db::Execute(c, CreateTableSql(d, t))) return false;
    *created = true;
    return true;
}

bool EnsureSeriesTable(platform::db::Connection c, SqlDialect d, bool* created) {
    return EnsureTable(c, d, SeriesTable(), created);
}

bool SendRecords(platform::db::Connection c, SqlDialect d, const TestRecord* records, size_t count,
                 const std::string& serialUtf8, const SystemTime& now) {
    std::vector<std::vector<Value>> rows;
    rows.reserve(count);
    for (size_t i = 0; i < count; ++i)
        if (SendableRecord(records[i])) rows.push_back(InsertParameters(d, SeriesRow(records[i], serialUtf8, now)));
    if (rows.empty()) return true;
    if (!platform::db::Begin(c)) return false;
    if (platform::db::ExecuteBatch(c, InsertSql(d), rows) && platform::db::Commit(c)) return true;
    platform::db::Rollback(c);
    return false;
}
