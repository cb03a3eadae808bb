// Loads ftd2xx.dll and binds the driver functions the link uses.
#include "link/driver_binding.h"

#include <cstring>

D2xxTable g_d2xx = {};

namespace {

struct Lookup {
    const char* name;
    bool required;
};

// The order is the lookup order; the whole list is asked for even though the
// program calls only eight of these.
constexpr Lookup kFunctions[] = {
    {"FT_Open", true},
    {"FT_OpenEx", true},
    {"FT_ListDevices", false},
    {"FT_Close", true},
    {"FT_Read", true},
    {"FT_Write", true},
    {"FT_IoCtl", false},
    {"FT_SetBaudRate", true},
    {"FT_SetDivisor", false},
    {"FT_SetDataCharacteristics", true},
    {"FT_SetFlowControl", true},
    {"FT_ResetDevice", true},
    {"FT_SetDtr", false},
    {"FT_ClrDtr", false},
    {"FT_SetRts", false},
    {"FT_ClrRts", false},
    {"FT_GetModemStatus", false},
    {"FT_SetChars", false},
    {"FT_Purge", true},
    {"FT_SetTimeouts", true},
    {"FT_GetQueueStatus", false},
    {"FT_SetEventNotification", false},
    {"FT_GetStatus", true},
    {"FT_SetBreakOn", false},
    {"FT_SetBreakOff", false},
    {"FT_SetWaitMask", false},
    {"FT_WaitOnMask", false},
    {"FT_GetEventStatus", false},
    {"FT_ReadEE", false},
    {"FT_WriteEE", false},
    {"FT_EraseEE", false},
    {"FT_SetResetPipeRetryCount", true},
    {"FT_GetDeviceInfo", true},
};

template <typename Fn>
void Bind(Fn* slot, const char* wanted, const char* name, void* address) {
    if (std::strcmp(wanted, name) == 0) *slot = reinterpret_cast<Fn>(address);
}

}  // namespace

DriverLoad LoadDriver() {
    g_d2xx = D2xxTable{};
    void* library = platform::LoadDriverLibrary("ftd2xx.dll");
    if (!library) return DriverLoad::NoLibrary;
    bool complete = true;
    for (const Lookup& f : kFunctions) {
        void* address = platform::DriverFunction(library, f.name);
        if (!address && f.required) complete = false;
        Bind(&g_d2xx.open, "FT_Open", f.name, address);
        Bind(&g_d2xx.openEx, "FT_OpenEx", f.name, address);
        Bind(&g_d2xx.close, "FT_Close", f.name, address);
        Bind(&g_d2xx.read, "FT_Read", f.name, address);
        Bind(&g_d2xx.write, "FT_Write", f.name, address);
        Bind(&g_d2xx.setBaudRate, "FT_SetBaudRate", f.name, address);
        Bind(&g_d2xx.setDataCharacteristics, "FT_SetDataCharacteristics", f.name, address);
        Bind(&g_d2xx.getStatus, "FT_GetStatus", f.name, address);
        Bind(&g_d2xx.getDeviceInfo, "FT_GetDeviceInfo", f.name, address);
    }
    return complete ? DriverLoad::Ok : DriverLoad::MissingFunction;
}
