// The thread that keeps the laboratory database up to date with log.dat, and the dialog's check.
#pragma once
#include <string>

#include "database/database_texts.h"

// Starts the sender once, at the lowest priority; it waits until configured.
// dataFolder ends in a backslash (empty: the working folder).
void StartDatabaseSender(const std::string& dataFolder);
// The connection string (empty = no database) and the instrument's serial
// number, both Windows-1251; a change sends the archive to the new target.
// Never waits for the sender.
void ConfigureDatabaseSender(const char* connection, const char* serial);
// A series or an amendment was appended to log.dat; never waits.
void WakeDatabaseSender();

// Connects and looks around for "Проверить"; blocks for as long as the
// network takes, so it is run on a thread of its own.
DatabaseCheckResult CheckDatabase(const std::string& connection, const std::string& serial);
