#pragma once
// The D2XX driver's functions as the program declares them itself.
#include <cstdint>

// Our own declaration of the D2XX ABI: stdcall on 32-bit Windows, DWORD and
// ULONG 32 bits wide, FT_HANDLE an opaque pointer. No vendor header is used.
#if defined(_WIN32)
#define ORLA_WINAPI __stdcall
#else
#define ORLA_WINAPI
#endif

using FT_HANDLE = void*;
using FT_STATUS = uint32_t;
using FT_DWORD = uint32_t;

constexpr FT_STATUS FT_OK = 0;
constexpr FT_STATUS FT_INVALID_HANDLE = 1;
constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
constexpr FT_STATUS FT_IO_ERROR = 4;
constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
constexpr FT_STATUS FT_NOT_SUPPORTED = 17;
constexpr FT_STATUS FT_OTHER_ERROR = 18;

constexpr FT_DWORD FT_OPEN_BY_SERIAL_NUMBER = 1;
constexpr FT_DWORD FT_OPEN_BY_DESCRIPTION = 2;
constexpr uint8_t FT_BITS_8 = 8;
constexpr uint8_t FT_STOP_BITS_1 = 0;
constexpr uint8_t FT_PARITY_NONE = 0;

using FtOpenFn = FT_STATUS(ORLA_WINAPI*)(int deviceNumber, FT_HANDLE* handle);
using FtOpenExFn = FT_STATUS(ORLA_WINAPI*)(void* arg, FT_DWORD flags, FT_HANDLE* handle);
using FtCloseFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle);
using FtReadFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, void* buffer, FT_DWORD toRead, FT_DWORD* got);
using FtWriteFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, void* buffer, FT_DWORD toWrite, FT_DWORD* written);
using FtSetBaudRateFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, FT_DWORD baud);
using FtSetDataCharacteristicsFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, uint8_t wordLength,
                                                           uint8_t stopBits, uint8_t parity);
using FtGetStatusFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, FT_DWORD* rxBytes, FT_DWORD* txBytes,
                                              FT_DWORD* events);
using FtGetDeviceInfoFn = FT_STATUS(ORLA_WINAPI*)(FT_HANDLE handle, FT_DWORD* type, FT_DWORD* id,
                                                  char* serial, char* description, void* dummy);
// Looked up but never called by the program; any pointer type would do.
using FtAnyFn = void*;

// Bound functions. The eight the program calls are typed; the rest of the
// lookup list is kept only to prove the library is complete.
struct D2xxTable {
    FtOpenFn open;
    FtOpenExFn openEx;
    FtCloseFn close;
    FtReadFn read;
    FtWriteFn write;
    FtSetBaudRateFn setBaudRate;
    FtSetDataCharacteristicsFn setDataCharacteristics;
    FtGetStatusFn getStatus;
    FtGetDeviceInfoFn getDeviceInfo;
};

namespace platform {
// LoadLibraryA / GetProcAddress for the driver. The library stays loaded for
// the life of the process.
void* LoadDriverLibrary(const char* name);
void* DriverFunction(void* library, const char* name);
}  // namespace platform
