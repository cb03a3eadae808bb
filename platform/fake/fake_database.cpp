// The database seam in the native tests: no driver, so every connection is refused.
#include "platform/database.h"

namespace platform {
namespace db {

Connection Connect(const std::string&, uint32_t, std::string* error) {
    *error = "no database driver in the tests";
    return kNoConnection;
}
void Disconnect(Connection) {}
std::string GetInfo(Connection, Info) { return std::string(); }
bool Execute(Connection, const std::string&) { return false; }
bool TableExists(Connection, const std::string&) { return false; }
bool QueryScalar(Connection, const std::string&, const std::vector<Value>&, std::string*) { return false; }
bool Begin(Connection) { return false; }
bool Commit(Connection) { return false; }
bool Rollback(Connection) { return false; }
bool ExecuteBatch(Connection, const std::string&, const std::vector<std::vector<Value>>&) { return false; }
std::string LastError(Connection) { return std::string(); }

}  // namespace db
}  // namespace platform
