// The laboratory's SQL database as the core reaches it: one ODBC connection and its statements.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system_time.h"

// SQL texts and text values are UTF-8 on this side of the seam (the
// implementation hands them to the driver as UTF-16); what comes back for
// people to read (diagnostics, server names) is Windows-1251 like every text
// of the program. Every call may block for as long as the network takes, so
// none is made on the user-interface thread or the link worker.
namespace platform {
namespace db {

using Connection = intptr_t;
constexpr Connection kNoConnection = 0;

// One parameter of a statement. A NULL keeps its kind: a database may
// refuse a NULL of another type than its column's.
struct Value {
    enum class Kind { Integer, Decimal, Boolean, Text, Timestamp };
    Kind kind = Kind::Text;
    bool null = false;
    int64_t integer = 0;   // Integer, Boolean (0 or 1), Decimal in tenths
    std::string text;      // Text, UTF-8
    SystemTime time = {};  // Timestamp, local time, milliseconds kept
};

// What SQLGetInfo tells of the other end.
enum class Info { DbmsName, DbmsVersion, ServerName, DatabaseName };

// Connects without ever prompting (SQLDriverConnect, SQL_DRIVER_NOPROMPT);
// a DSN alone ("DSN=lab") is a connection string too. kNoConnection on
// failure, with the driver's words in *error.
Connection Connect(const std::string& connectionString, uint32_t timeoutSeconds, std::string* error);
// Ends the connection and frees it; kNoConnection is ignored.
void Disconnect(Connection connection);
// The item's text, empty when the driver does not say.
std::string GetInfo(Connection connection, Info item);
// Runs one statement without parameters; its result, if any, is dropped.
bool Execute(Connection connection, const std::string& sql);
// Whether "SELECT ... FROM table" can be run: false for a missing table (or
// one this login may not read).
bool TableExists(Connection connection, const std::string& table);
// The first column of the first row as text (Windows-1251); false on
// failure or when there is no row.
bool QueryScalar(Connection connection, const std::string& sql, const std::vector<Value>& parameters,
                 std::string* result);
// Autocommit off until Commit or Rollback ends the transaction.
bool Begin(Connection connection);
bool Commit(Connection connection);
bool Rollback(Connection connection);
// Prepares sql once and runs it for every row, each row giving the values of
// its markers in order; stops at the first failure and returns false.
bool ExecuteBatch(Connection connection, const std::string& sql, const std::vector<std::vector<Value>>& rows);
// The driver's diagnostics of the last failed call on the connection; empty
// when nothing failed.
std::string LastError(Connection connection);

}  // namespace db
}  // namespace platform
