#pragma once
// The fake's Windows user name, for tests of what records the account.
#include <string>

namespace fake {
// What platform::AccountName returns from now on ("lab" until set).
void SetAccountName(const std::string& name);
}  // namespace fake
