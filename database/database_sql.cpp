// CREATE TABLE and the idempotent INSERT of orla_series per dialect; a batch of records in one transaction.
#include "database/database_sql.h"

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

std::string ColumnList() {
    std::string list;
    for (const SeriesColumn& c : SeriesColumns()) list += (list.empty() ? "" : ", ") + std::string(c.name);
    return list;
}

std::string Markers(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += i ? ", ?" : "?";
    return text;
}

constexpr const char* kKeyList = "instrument_serial, test_time, amendment";

}  // namespace

SqlDialect DialectOfDbms(const std::string& name) {
    if (name.find("PostgreSQL") != std::string::npos) return SqlDialect::PostgreSql;
    if (name.find("SQL Server") != std::string::npos) return SqlDialect::SqlServer;
    if (name.find("SQLite") != std::string::npos) return SqlDialect::Sqlite;
    return SqlDialect::Other;
}

std::string CreateTableSql(SqlDialect d) {
    std::string sql = std::string("CREATE TABLE ") + kSeriesTable + " (\n";
    for (const SeriesColumn& c : SeriesColumns())
        sql += std::string("  ") + c.name + " " + TypeName(d, c.kind) + (c.nullable ? " NULL" : " NOT NULL") + ",\n";
    return sql + "  PRIMARY KEY (" + kKeyList + ")\n)";
}

std::string InsertSql(SqlDialect d) {
    const size_t n = SeriesColumns().size();
    const std::string into = std::string("INSERT INTO ") + kSeriesTable + " (" + ColumnList() + ")";
    switch (d) {
        case SqlDialect::PostgreSql:
            return into + " VALUES (" + Markers(n) + ") ON CONFLICT (" + kKeyList + ") DO NOTHING";
        case SqlDialect::Sqlite:
            return "INSERT OR IGNORE" + into.substr(6) + " VALUES (" + Markers(n) + ")";
        case SqlDialect::SqlServer:
        case SqlDialect::Other: break;
    }
    return into + " SELECT " + Markers(n) + " WHERE NOT EXISTS (SELECT 1 FROM " + kSeriesTable +
           " WHERE instrument_serial = ? AND test_time = ? AND amendment = ?)";
}

std::vector<Value> InsertParameters(SqlDialect d, std::vector<Value> row) {
    if (d == SqlDialect::SqlServer || d == SqlDialect::Other)
        for (int k = 0; k < kSeriesKeyColumns; ++k) row.push_back(row[static_cast<size_t>(k)]);
    return row;
}

std::string CountSeriesSql() {
    return std::string("SELECT COUNT(DISTINCT test_time) FROM ") + kSeriesTable + " WHERE instrument_serial = ?";
}

bool EnsureSeriesTable(platform::db::Connection c, SqlDialect d, bool* created) {
    *created = false;
    if (platform::db::TableExists(c, kSeriesTable)) return true;
    if (!platform::db::Execute(c, CreateTableSql(d))) return false;
    *created = true;
    return true;
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
