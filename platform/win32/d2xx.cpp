// Loading the D2XX driver library on Windows.
#include "platform/d2xx.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace platform {

void* LoadDriverLibrary(const char* name) { return reinterpret_cast<void*>(LoadLibraryW(Wide(name).c_str())); }

void* DriverFunction(void* library, const char* name) {
    if (!library) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace platform
