// The Windows user name from the system (advapi32's GetUserNameW), there from Windows 2000.
#include "platform/account.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace platform {

std::string AccountName() {
    // UNLEN (256) characters and the terminator.
    wchar_t name[257];
    DWORD size = sizeof name / sizeof name[0];
    if (!GetUserNameW(name, &size)) return std::string();
    return Narrow(name);
}

}  // namespace platform
