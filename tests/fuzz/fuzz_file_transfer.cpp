// Fuzzes the device file transfers: single log chunk answers of any size
// and offset against a file buffer of exactly the announced size, and whole
// log reads and stored-result transfers from a generation-2 instrument that
// answers with the fuzz bytes.
#include "link/file_transfer.h"
#include "results/stored_results.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::ResetLinkWorld();
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
    case 0: {
        // The buffer is exactly *fileSize bytes, as the header allows.
        uint32_t fileSize = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<uint32_t>(1, 70000);
        std::vector<uint8_t> file(fileSize == 0 ? 1 : fileSize);
        uint32_t grown = 0;
        while (in.remaining_bytes() > 0) {
            std::vector<uint8_t> answer = fuzz::TakeAnswer(in, 0x08);
            if (fileSize == 0) {
                ParseLogChunk(answer.data(), static_cast<uint32_t>(answer.size()), file.data(), &grown);
                if (grown > 70000) grown = 0;  // the real reader refuses to allocate this much
                if (grown != 0) {
                    fileSize = grown;
                    file.assign(fileSize, 0);
                }
            } else {
                uint32_t kept = fileSize;
                ParseLogChunk(answer.data(), static_cast<uint32_t>(answer.size()), file.data(), &kept);
                if (kept != fileSize) __builtin_trap();  // a known size never changes
            }
        }
        break;
    }
    case 1:
        testdrv::Plug("ORLA-K200V2", "FT123456");
        fuzz::AnswerWritesFrom(in);
        if (!LinkWorkerStartup()) break;
        g_deviceState.deviceLogRequest = true;
        ReadDeviceLog();
        break;
    case 2:
        testdrv::Plug("ORLA-K200V2", "FT123456");
        fuzz::AnswerWritesFrom(in);
        if (!LinkWorkerStartup()) break;
        g_deviceState.storedResultsRequest = true;
        TransferStoredResults();
        break;
    }
    return 0;
}
