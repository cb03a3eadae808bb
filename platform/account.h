#pragma once
// Who the program runs as, behind the platform seam.
#include <string>

namespace platform {
// The Windows user name of the account the program runs under (GetUserNameW),
// in Windows-1251; empty when the system cannot say. Any thread.
std::string AccountName();
}  // namespace platform
