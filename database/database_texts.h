// What the program says about the laboratory database, and the connection string's password in the dialog.
#pragma once
#include <cstdint>
#include <string>

// The main window's quiet line: empty when nothing waits (or no database is
// set), "Передача в базу: 200 из 50000" while records go, "В базу не
// передано: 3" while the database cannot be reached.
std::string DatabaseStateText(uint64_t waiting, uint64_t total, bool sending);
// The line's tooltip: the last error with its local time, empty after a success.
std::string DatabaseErrorTip(const std::string& error, const std::string& when);

// What "Проверить" found, for its box.
struct DatabaseCheckResult {
    bool connected = false;
    std::string error;  // the driver's words when not connected
    std::string dbms, version, server, database;
    bool tableExists = false;
    bool countKnown = false;
    uint64_t series = 0;  // of this instrument, when the table exists
};
std::string DatabaseCheckText(const DatabaseCheckResult& result);
// The box's text when the field is empty.
constexpr const char* kDatabaseOffText = "Строка соединения не задана: передача в базу данных выключена.";
constexpr const char* kDatabaseBoxCaption = "База данных лаборатории";

// The pause before the next try after failures in a row (1 for the first):
// 2 s, doubling, at most 5 minutes.
uint32_t DatabaseRetryPauseMs(uint32_t failures);

// The dialog shows the connection string with the password's value replaced
// by asterisks; taking it back puts the stored password in where the
// asterisks are still there.
std::string MaskPassword(const std::string& connection);
std::string UnmaskPassword(const std::string& shown, const std::string& stored);
