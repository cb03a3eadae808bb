// The fake's Windows user name: a fixed one the tests may change.
#include "platform/fake/fake_account.h"

#include "platform/account.h"

namespace {
std::string& Name() {
    static std::string name = "lab";
    return name;
}
}  // namespace

namespace fake {
void SetAccountName(const std::string& name) { Name() = name; }
}  // namespace fake

namespace platform {
std::string AccountName() { return Name(); }
}  // namespace platform
