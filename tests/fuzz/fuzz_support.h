#pragma once
// Common ground of the fuzz targets: a fresh fake world, the scripted D2XX
// driver answering every write with bytes taken from the fuzz input, and
// records filled from fuzz bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ended_series.h"
#include "app/link_shell_install.h"
#include "app/unarchived_series.h"
#include "common/program_settings.h"
#include "link/crc32_words.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/link_worker_steps.h"
#include "platform/fake/fake_platform.h"
#include "common/test_record.h"
#include "tests/unit/link/test_driver.h"

namespace fuzz {

// The link's globals and the fake platform as a fresh process has them.
inline void ResetLinkWorld() {
    fake::Reset();
    ResetDeviceState();
    ResetLinkWorker();
    InstallLinkShell();
    ResetUnarchivedSeries();
    ForgetEndedSeries();
    testdrv::Reset();
    testdrv::Install();
    std::memset(static_cast<void*>(&g_currentRecord), 0, sizeof g_currentRecord);
    g_programSettings.serviceMode = false;
    g_programSettings.progonkaMode = false;
}

// Gives a generation-2 frame its length byte and a CRC that holds, so the
// fuzzer gets past the checksum to the fields behind it.
inline void SealGen2(std::vector<uint8_t>& f) {
    if (f.size() < 8 || f.size() > 255) return;
    f[1] = static_cast<uint8_t>(f.size());
    uint32_t crc = Crc32Words(f.data(), static_cast<uint16_t>(f.size() - 4));
    for (int i = 0; i < 4; ++i) f[f.size() - 4 + i] = static_cast<uint8_t>(crc >> (8 * i));
}

// One answer from the fuzz input: a flag byte (bit 0: seal as a generation-2
// frame; bit 1: the command's own byte first; bit 2: no answer at all), then
// a length and the bytes.
inline std::vector<uint8_t> TakeAnswer(FuzzedDataProvider& in, uint8_t command) {
    uint8_t flags = in.ConsumeIntegral<uint8_t>();
    if (flags & 4) return {};
    size_t length = in.ConsumeIntegralInRange<size_t>(0, 300);
    std::vector<uint8_t> a = in.ConsumeBytes<uint8_t>(length);
    if ((flags & 2) && !a.empty()) a[0] = command;
    if (flags & 1) SealGen2(a);
    return a;
}

// When set, the instrument is plugged in again at this virtual time (the
// link waits for it without end otherwise), under replugSerial.
inline uint32_t g_replugAt = 0;
inline std::string g_replugSerial = "FT123456";

// Makes the scripted driver answer each write from the fuzz input, cut into
// up to three pieces: the first queued at once, each further one when the
// virtual clock next moves, so one answer reaches the program in several
// reads. Once the input is used up the user closes the viewers, so that
// a transfer of a huge announced size ends.
inline void AnswerWritesFrom(FuzzedDataProvider& in) {
    static std::vector<std::vector<uint8_t>> pending;
    pending.clear();
    testdrv::OnWrite([&in](const std::vector<uint8_t>& written) {
        if (in.remaining_bytes() == 0) return;
        std::vector<uint8_t> a = TakeAnswer(in, written.empty() ? 0 : written[0]);
        size_t cut1 = in.ConsumeIntegralInRange<size_t>(0, a.size());
        size_t cut2 = in.ConsumeIntegralInRange<size_t>(cut1, a.size());
        testdrv::Queue(std::vector<uint8_t>(a.begin(), a.begin() + cut1));
        pending.emplace_back(a.begin() + cut1, a.begin() + cut2);
        pending.emplace_back(a.begin() + cut2, a.end());
    });
    g_replugAt = 0;
    fake::OnTimeAdvanced([&in](uint32_t now) {
        if (g_replugAt != 0 && now >= g_replugAt) {
            g_replugAt = 0;
            testdrv::Replug(g_replugSerial);
        }
        if (pending.empty()) {
            if (in.remaining_bytes() == 0) {
                g_deviceState.deviceLogRequest = false;
                g_deviceState.storedResultsRequest = false;
            }
            return;
        }
        testdrv::Queue(pending.front());
        pending.erase(pending.begin());
    });
}

// A record with every byte from the fuzz input (texts unterminated included).
inline TestRecord TakeRecord(FuzzedDataProvider& in) {
    TestRecord r;
    std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(sizeof r);
    bytes.resize(sizeof r, 0);
    std::memcpy(static_cast<void*>(&r), bytes.data(), sizeof r);
    return r;
}

// Fills a text field of fixed size from the fuzz input, always terminated.
inline void TakeText(FuzzedDataProvider& in, char* out, size_t size) {
    std::string s = in.ConsumeRandomLengthString(size - 1);
    std::memcpy(out, s.data(), s.size());
    out[s.size()] = 0;
}

}  // namespace fuzz
