// Loads ftd2xx.dll the way the program does, opens the instrument by its USB
// description, sets the generation-2 line and checks one answer frame.
// Usage: dll_probe.exe [description] [command]   (command 0x00 or 0x02)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/d2xx.h"

namespace {

// Same word-wise CRC as the link; kept here so the probe checks the driver
// independently of the code under test.
uint32_t CrcWords(const uint8_t* bytes, size_t count) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i + 4 <= count; i += 4) {
        uint32_t w = bytes[i] | (bytes[i + 1] << 8) | (bytes[i + 2] << 16) |
                     (uint32_t(bytes[i + 3]) << 24);
        crc ^= w;
        for (int b = 0; b < 32; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

int Fail(const char* what, FT_STATUS status) {
    std::printf("dll_probe: %s failed (status %u)\n", what, unsigned(status));
    return 1;
}

template <typename T>
bool Bind(HMODULE lib, const char* name, T* fn) {
    *fn = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
    if (!*fn) std::printf("dll_probe: ftd2xx.dll has no %s\n", name);
    return *fn != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    const char* description = argc > 1 ? argv[1] : "ORLA-K200V2";
    unsigned command = argc > 2 ? unsigned(std::strtoul(argv[2], nullptr, 0)) : 0x02;
    if (command != 0x00 && command != 0x02) {
        std::printf("dll_probe: command must be 0x00 or 0x02\n");
        return 2;
    }

    HMODULE lib = LoadLibraryA("ftd2xx.dll");
    if (!lib) {
        std::printf("dll_probe: LoadLibraryA(ftd2xx.dll) failed, error %lu\n", GetLastError());
        return 1;
    }
    FtOpenExFn openEx;
    FtCloseFn close;
    FtReadFn read;
    FtWriteFn write;
    FtSetBaudRateFn setBaud;
    FtSetDataCharacteristicsFn setData;
    FtGetStatusFn getStatus;
    if (!Bind(lib, "FT_OpenEx", &openEx) || !Bind(lib, "FT_Close", &close) || !Bind(lib, "FT_Read", &read) ||
        !Bind(lib, "FT_Write", &write) || !Bind(lib, "FT_SetBaudRate", &setBaud) ||
        !Bind(lib, "FT_SetDataCharacteristics", &setData) || !Bind(lib, "FT_GetStatus", &getStatus))
        return 1;

    FT_HANDLE handle = nullptr;
    char name[64];
    std::snprintf(name, sizeof name, "%s", description);
    FT_STATUS st = openEx(name, FT_OPEN_BY_DESCRIPTION, &handle);
    if (st != FT_OK) return Fail("FT_OpenEx by description", st);
    if ((st = setBaud(handle, 115200)) != FT_OK) return Fail("FT_SetBaudRate 115200", st);
    if ((st = setData(handle, FT_BITS_8, FT_STOP_BITS_1, FT_PARITY_NONE)) != FT_OK)
        return Fail("FT_SetDataCharacteristics 8N1", st);

    uint8_t frame[8] = {uint8_t(command), 0x08, 0, 0, 0, 0, 0, 0};
    uint32_t crc = CrcWords(frame, 4);
    for (int i = 0; i < 4; ++i) frame[4 + i] = uint8_t(crc >> (8 * i));
    FT_DWORD written = 0;
    if ((st = write(handle, frame, sizeof frame, &written)) != FT_OK) return Fail("FT_Write", st);
    if (written != sizeof frame) {
        std::printf("dll_probe: FT_Write wrote %u of 8 bytes\n", unsigned(written));
        return 1;
    }

    // The answer is queued after its time on the wire; give it up to a second.
    uint8_t answer[512];
    FT_DWORD got = 0;
    for (int tries = 0; tries < 20; ++tries) {
        Sleep(50);
        FT_DWORD rx = 0, tx = 0, ev = 0;
        if ((st = getStatus(handle, &rx, &tx, &ev)) != FT_OK) return Fail("FT_GetStatus", st);
        if (rx == 0) continue;
        FT_DWORD n = 0;
        FT_DWORD want = rx < sizeof answer - got ? rx : FT_DWORD(sizeof answer - got);
        if ((st = read(handle, answer + got, want, &n)) != FT_OK) return Fail("FT_Read", st);
        got += n;
        if (got >= 2 && got >= answer[1]) break;
    }
    close(handle);

    if (got < 2) {
        std::printf("dll_probe: no answer to command 0x%02X (%u bytes)\n", command, unsigned(got));
        return 1;
    }
    unsigned length = answer[1];
    if (answer[0] != command) {
        std::printf("dll_probe: answer type 0x%02X, expected 0x%02X\n", answer[0], command);
        return 1;
    }
    if (length < 8 || length % 4 != 0 || got < length) {
        std::printf("dll_probe: bad length field %u (read %u bytes)\n", length, unsigned(got));
        return 1;
    }
    if (command == 0x02 && length != 72) {
        std::printf("dll_probe: settings answer is %u bytes, expected 72\n", length);
        return 1;
    }
    uint32_t check = CrcWords(answer, length);
    if (check != 0) {
        std::printf("dll_probe: CRC over the %u-byte answer is 0x%08X, expected 0\n", length, unsigned(check));
        return 1;
    }
    std::printf("dll_probe: %s answered 0x%02X with %u bytes, CRC ok\n", description, command, length);
    return 0;
}
