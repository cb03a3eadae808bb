// The SQL of orla_series in the dialects the program knows, and sending records in batches.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "platform/database.h"
#include "common/test_record.h"
#include "database/database_rows.h"

// PostgreSQL, Microsoft SQL Server and SQLite by name; any other DBMS gets
// standard types and the NOT EXISTS guard of SQL Server.
enum class SqlDialect { PostgreSql, SqlServer, Sqlite, Other };

// A table the program sends to: its name, its columns in row order, the
// first keyColumns of them being its unique key.
struct SqlTable {
    const char* name;
    const std::vector<SeriesColumn>* columns;
    int keyColumns;
};
// The same three statements for any such table.
std::string CreateTableSql(SqlDialect dialect, const SqlTable& table);
std::string InsertSql(SqlDialect dialect, const SqlTable& table);
std::vector<platform::db::Value> InsertParameters(SqlDialect dialect, const SqlTable& table,
                                                  std::vector<platform::db::Value> row);
// Creates the table when it is missing; *created says whether it was.
bool EnsureTable(platform::db::Connection connection, SqlDialect dialect, const SqlTable& table, bool* created);

// From what SQLGetInfo(SQL_DBMS_NAME) says ("PostgreSQL", "Microsoft SQL Server", "SQLite").
SqlDialect DialectOfDbms(const std::string& dbmsName);
std::string CreateTableSql(SqlDialect dialect);
// One row in, or nothing when the key is there already: sending a series
// twice leaves one row.
std::string InsertSql(SqlDialect dialect);
// The markers of InsertSql for one row: the guard of the NOT EXISTS form
// takes the three key values once more after the row.
std::vector<platform::db::Value> InsertParameters(SqlDialect dialect, std::vector<platform::db::Value> row);
// How many series (not versions) of one instrument the table holds; one
// marker, the serial number.
std::string CountSeriesSql();

// Creates the table when it is missing; *created says whether it was.
bool EnsureSeriesTable(platform::db::Connection connection, SqlDialect dialect, bool* created);
// Sends the records in one transaction, rolled back on any failure. Records
// that are not SendableRecord are left out. serialUtf8 names the instrument,
// sentAt is the local time now.
bool SendRecords(platform::db::Connection connection, SqlDialect dialect, const TestRecord* records, size_t count,
                 const std::string& serialUtf8, const SystemTime& sentAt);
