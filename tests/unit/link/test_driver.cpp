#include "tests/unit/link/test_driver.h"

#include <algorithm>
#include <cstring>

#include "platform/d2xx.h"
#include "platform/fake/fake_platform.h"

namespace testdrv {
namespace {

struct State {
    std::vector<Instrument> instruments;
    int openIndex = -1;  // instrument behind the open handle
    bool open = false;
    std::vector<uint8_t> queue;
    std::function<void(const std::vector<uint8_t>&)> responder;
    int failWrites = 0;
    int failStatus = 0;
    std::vector<Write> writes;
    std::vector<uint32_t> bauds;
    std::vector<std::string> opens;
    std::vector<std::string> missing;
};

State& S() {
    static State s;
    return s;
}

FT_HANDLE const kHandle = reinterpret_cast<FT_HANDLE>(0x5A5A);

bool Alive(FT_HANDLE h) {
    return h == kHandle && S().open && S().openIndex >= 0 && S().instruments[S().openIndex].plugged;
}

FT_STATUS ORLA_WINAPI Open(int, FT_HANDLE*) { return FT_DEVICE_NOT_FOUND; }

FT_STATUS ORLA_WINAPI OpenEx(void* arg, FT_DWORD flags, FT_HANDLE* handle) {
    std::string key(static_cast<const char*>(arg));
    for (size_t i = 0; i < S().instruments.size(); ++i) {
        const Instrument& in = S().instruments[i];
        if (!in.plugged) continue;
        if ((flags == FT_OPEN_BY_DESCRIPTION && in.description == key) ||
            (flags == FT_OPEN_BY_SERIAL_NUMBER && in.serial == key)) {
            S().openIndex = static_cast<int>(i);
            S().open = true;
            S().opens.push_back((flags == FT_OPEN_BY_DESCRIPTION ? "D:" : "S:") + key);
            *handle = kHandle;
            return FT_OK;
        }
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS ORLA_WINAPI Close(FT_HANDLE h) {
    if (h == kHandle) S().open = false;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI Read(FT_HANDLE h, void* buffer, FT_DWORD toRead, FT_DWORD* got) {
    *got = 0;
    if (!Alive(h)) return FT_IO_ERROR;
    FT_DWORD n = std::min<FT_DWORD>(toRead, static_cast<FT_DWORD>(S().queue.size()));
    std::memcpy(buffer, S().queue.data(), n);
    S().queue.erase(S().queue.begin(), S().queue.begin() + n);
    *got = n;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI WriteFn(FT_HANDLE h, void* buffer, FT_DWORD count, FT_DWORD* written) {
    *written = 0;
    if (!Alive(h)) return FT_IO_ERROR;
    if (S().failWrites > 0) {
        --S().failWrites;
        return FT_IO_ERROR;
    }
    const uint8_t* b = static_cast<const uint8_t*>(buffer);
    S().writes.push_back(Write{fake::Now(), std::vector<uint8_t>(b, b + count)});
    *written = count;
    if (S().responder) S().responder(S().writes.back().bytes);
    return FT_OK;
}

FT_STATUS ORLA_WINAPI SetBaudRate(FT_HANDLE h, FT_DWORD baud) {
    if (!Alive(h)) return FT_IO_ERROR;
    S().bauds.push_back(baud);
    return FT_OK;
}

FT_STATUS ORLA_WINAPI SetDataCharacteristics(FT_HANDLE h, uint8_t bits, uint8_t stop, uint8_t parity) {
    if (!Alive(h)) return FT_IO_ERROR;
    return bits == FT_BITS_8 && stop == FT_STOP_BITS_1 && parity == FT_PARITY_NONE ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS ORLA_WINAPI GetStatus(FT_HANDLE h, FT_DWORD* rx, FT_DWORD* tx, FT_DWORD* events) {
    if (!Alive(h)) return FT_IO_ERROR;
    if (S().failStatus > 0) {
        --S().failStatus;
        return FT_IO_ERROR;
    }
    *rx = static_cast<FT_DWORD>(S().queue.size());
    *tx = 0;
    *events = 0;
    return FT_OK;
}

FT_STATUS ORLA_WINAPI GetDeviceInfo(FT_HANDLE h, FT_DWORD* type, FT_DWORD* id, char* serial, char* description,
                                    void*) {
    if (!Alive(h)) return FT_IO_ERROR;
    const Instrument& in = S().instruments[S().openIndex];
    *type = 5;
    *id = 0x04036001;
    std::strncpy(serial, in.serial.c_str(), 16);
    std::strncpy(description, in.description.c_str(), 64);
    return FT_OK;
}

// Functions the program looks up but never calls.
FT_STATUS ORLA_WINAPI Unused() { return FT_NOT_SUPPORTED; }

void* Lookup(const char* name) {
    std::string n(name);
    if (std::find(S().missing.begin(), S().missing.end(), n) != S().missing.end()) return nullptr;
    if (n == "FT_Open") return reinterpret_cast<void*>(&Open);
    if (n == "FT_OpenEx") return reinterpret_cast<void*>(&OpenEx);
    if (n == "FT_Close") return reinterpret_cast<void*>(&Close);
    if (n == "FT_Read") return reinterpret_cast<void*>(&Read);
    if (n == "FT_Write") return reinterpret_cast<void*>(&WriteFn);
    if (n == "FT_SetBaudRate") return reinterpret_cast<void*>(&SetBaudRate);
    if (n == "FT_SetDataCharacteristics") return reinterpret_cast<void*>(&SetDataCharacteristics);
    if (n == "FT_GetStatus") return reinterpret_cast<void*>(&GetStatus);
    if (n == "FT_GetDeviceInfo") return reinterpret_cast<void*>(&GetDeviceInfo);
    return reinterpret_cast<void*>(&Unused);
}

}  // namespace

void Reset() { S() = State{}; }

void Install(const std::vector<std::string>& missing) {
    S().missing = missing;
    fake::SetDriverLibrary("ftd2xx.dll", [](const char* name) { return Lookup(name); });
}

void Plug(const std::string& description, const std::string& serial) {
    S().instruments.push_back(Instrument{description, serial, true});
}

void Unplug() {
    for (auto& in : S().instruments) in.plugged = false;
    S().queue.clear();
}

void Replug(const std::string& serial) {
    for (auto& in : S().instruments) {
        in.serial = serial;
        in.plugged = true;
    }
}

void Queue(const std::vector<uint8_t>& bytes) { S().queue.insert(S().queue.end(), bytes.begin(), bytes.end()); }
void OnWrite(std::function<void(const std::vector<uint8_t>&)> responder) { S().responder = std::move(responder); }
void FailWrites(int count) { S().failWrites = count; }
void FailStatusQueries(int count) { S().failStatus = count; }
const std::vector<Write>& Writes() { return S().writes; }
std::vector<uint8_t> WrittenCommands() {
    std::vector<uint8_t> out;
    for (const auto& w : S().writes) out.push_back(w.bytes.empty() ? 0 : w.bytes[0]);
    return out;
}
std::vector<uint32_t>& BaudRates() { return S().bauds; }
std::vector<std::string>& Opens() { return S().opens; }
size_t Queued() { return S().queue.size(); }

}  // namespace testdrv
