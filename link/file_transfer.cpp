// Reading log.log and the stored results out of a generation-2 instrument.
#include "link/file_transfer.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "link/connection.h"
#include "link/device_state.h"
#include "link/frames.h"
#include "link/link_shell.h"
#include "link/parse_answer.h"
#include "link/senders.h"
#include "link/trace.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "results/device_results_ids.h"
#include "results/stored_results.h"

namespace {

constexpr uint32_t kSizeQueryWaitMs = 100;
constexpr uint32_t kChunkWaitMs = 50;
constexpr uint32_t kStoredResultWaitMs = 250;
// Small enough that an answer is taken within a few ms of its last byte,
// large enough that the driver is not asked hundreds of times per answer.
constexpr uint32_t kQueuePollMs = 5;

// Chunk answer: 0 type, 1 length, 2 data count, 3 file-system error,
// 4-7 offset, 8-11 file size, data from 12, CRC in the last four.
constexpr uint32_t kChunkDataAt = 12;
constexpr uint32_t kChunkOverhead = 16;
constexpr uint32_t kProgressPerChunk = kLogChunkSize * 100;

// Stored-result answer: 2-3 index, 4-35 entry, 36-37 highest index,
// 38 nonzero = nothing stored at this index.
constexpr uint32_t kStoredAnswerLength = 48;
constexpr uint32_t kStoredEntryAt = 4;
constexpr uint32_t kStoredHighestAt = 36;
constexpr uint32_t kStoredEmptyAt = 38;
// Above this many results the bar moves on nine counters of ten, which
// spares the viewer's window most of the repaints.
constexpr uint32_t kEveryProgressUpTo = 99;
// An instrument that has given no right answer for this long is gone or
// talking nonsense: the transfer ends with what it has, so that the worker
// polls and follows a series started on the keypad again.
constexpr uint32_t kGiveUpMs = 3000;

AnswerWait g_answerWait = AnswerWait::UntilQueued;

uint32_t Le32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
           static_cast<uint32_t>(at[3]) << 24;
}
uint16_t Le16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }

// Waits for an answer of the given length: the fixed time, or only until
// that many bytes are queued. Either way the answer is then read whole.
// False when the link is lost meanwhile; nothing is reopened here.
bool AwaitAnswer(uint32_t length, uint32_t limitMs) {
    uint32_t queued = 0;
    if (g_answerWait == AnswerWait::Fixed) {
        platform::Wait(limitMs);
        return RxQueueCountIfOpen(&queued);
    }
    for (uint32_t waited = 0; waited < limitMs;) {
        uint32_t step = limitMs - waited < kQueuePollMs ? limitMs - waited : kQueuePollMs;
        platform::Wait(step);
        waited += step;
        if (!RxQueueCountIfOpen(&queued)) return false;
        if (queued >= length) return true;
    }
    return true;
}

// Frames are padded to whole words, so the last chunk's answer may be up to
// three bytes longer than its data.
uint32_t ChunkAnswerLength(uint32_t fileSize, uint32_t offset) {
    uint32_t left = fileSize - offset;
    uint32_t n = left < kLogChunkSize ? left : kLogChunkSize;
    return kChunkOverhead + ((n + 3) & ~3u);
}

void ReadAndParse() {
    g_rxCount = ReadAnswer(g_rxBuffer);
    if (g_rxCount != 0) ParseAnswer(g_rxBuffer, g_rxCount);
}

bool GoodChunk(const uint8_t* buffer, uint32_t count) {
    return count != 0 && CheckGen2Frame(buffer, count) == FrameCheck::Ok && buffer[0] == command::kReadLogChunk &&
           buffer[3] == 0;
}

bool FileSystemError(const uint8_t* buffer, uint32_t count) {
    return count != 0 && CheckGen2Frame(buffer, count) == FrameCheck::Ok && buffer[0] == command::kReadLogChunk &&
           buffer[3] != 0;
}

// Lost chunks and the instrument's own padding show as blanks.
void ShowLogWithBlanks(uint8_t* file, uint32_t size) {
    for (uint32_t i = 0; i < size; ++i)
        if (file[i] == 0) file[i] = ' ';
    TheLinkShell().setLogViewerText(reinterpret_cast<const char*>(file));
}

void ShowPercentage(uint32_t progress, uint32_t fileSize) {
    char text[64];
    std::snprintf(text, sizeof text, "Чтение файла log.log %u%%", progress / fileSize);
    TheLinkShell().setLogViewerText(text);
}

// Answers for another index (one that came too late for its own request)
// or of another kind (a poll answer still on its way) are not taken: the
// result is asked for again, as for a lost one.
bool StoredAnswerFor(uint16_t index, const uint8_t* buffer, uint32_t count) {
    return count != 0 && CheckGen2Frame(buffer, count) == FrameCheck::Ok && buffer[0] == command::kStoredResult &&
           Gen2FrameLength(buffer) >= kStoredAnswerLength && Le16(buffer + 2) == index;
}

// The file without the chunks that never came, and why it stopped.
void ShowUnfinishedLog(uint8_t* file, uint32_t size) {
    ShowLogWithBlanks(file, size);
    ui::PostMessageBox(ui::Window::LogViewer, "Прибор не отвечает. Файл log.log прочитан не полностью.", "Ошибка!",
                       ui::kIconError);
}

void ReadLogChunks(uint8_t* file, uint32_t size) {
    const DeviceState& s = g_deviceState;
    uint32_t offset = 0;
    uint32_t progress = 0;
    uint32_t lastGood = platform::TickCount();
    do {
        SendCommandWithArgument(command::kReadLogChunk, offset);
        const bool open = AwaitAnswer(ChunkAnswerLength(size, offset), kChunkWaitMs);
        g_rxCount = open ? ReadAnswer(g_rxBuffer) : 0;
        if (GoodChunk(g_rxBuffer, g_rxCount)) lastGood = platform::TickCount();
        ParseLogChunk(g_rxBuffer, g_rxCount, file, &size);
        ShowPercentage(progress, size);
        offset += kLogChunkSize;
        if (!s.deviceLogRequest) return;
        if (!open || platform::TickCount() - lastGood >= kGiveUpMs) {
            ShowUnfinishedLog(file, size);
            return;
        }
        progress += kProgressPerChunk;
    } while (offset < size);
    ShowLogWithBlanks(file, size);
}

// Ends a transfer that the instrument stopped answering: the list shows the
// results read so far, and a box says that some are missing.
void EndUnfinishedTransfer(uint16_t counter) {
    g_deviceState.storedResultsRequest = false;
    ui::CloseControl(ui::Window::DeviceResults, IDC_DEVICE_RESULTS_PROGRESS);
    if (counter > 0) FillStoredResultsList(counter - 1u);
    ui::PostMessageBox(ui::Window::DeviceResults, "Прибор не отвечает. Прочитаны не все результаты.", "Ошибка!",
                       ui::kIconError);
}

// Takes a right answer for the counter; true when it was the last one.
bool TakeStoredAnswer(uint16_t counter) {
    uint8_t answer[kStoredAnswerLength];
    std::memcpy(answer, g_rxBuffer, sizeof answer);
    uint16_t highest = Le16(answer + kStoredHighestAt);
    if (highest <= kEveryProgressUpTo || counter % 10 != 0)
        ui::SetProgress(ui::Window::DeviceResults, IDC_DEVICE_RESULTS_PROGRESS, counter, highest);
    if (answer[kStoredEmptyAt] == 0)
        std::memcpy(&g_storedResults[counter], answer + kStoredEntryAt, sizeof(StoredResultEntry));
    // At or past the end: the instrument may have dropped results while
    // they were being read, and the counter must not run on to wrap.
    if (counter < highest) return false;
    g_deviceState.storedResultsRequest = false;
    ui::CloseControl(ui::Window::DeviceResults, IDC_DEVICE_RESULTS_PROGRESS);
    FillStoredResultsList(highest);
    return true;
}

}  // namespace

void SetAnswerWait(AnswerWait mode) { g_answerWait = mode; }

void ParseLogChunk(const uint8_t* buffer, uint32_t count, uint8_t* fileBuffer, uint32_t* fileSize) {
    if (count == 0 || g_deviceState.protocolGeneration != 2) return;
    switch (CheckGen2Frame(buffer, count)) {
        case FrameCheck::Incomplete: TraceText("Принят не весь пакет!"); return;
        case FrameCheck::BadCrc: TraceText("Ошибка CRC!"); return;
        case FrameCheck::Ok: break;
    }
    if (buffer[0] != command::kReadLogChunk) {
        TraceText("При чтение log.log ответ не на ту команду");
        return;
    }
    if (buffer[3] != 0) {
        TraceText("Ошибка файловой системы.");
        return;
    }
    uint32_t length = Gen2FrameLength(buffer);
    if (length < kChunkOverhead) return;  // too short to hold offset and size
    if (*fileSize == 0) {
        *fileSize = Le32(buffer + 8);
        return;
    }
    if (!fileBuffer) return;
    // Neither the count nor the offset is trusted: data come only from
    // inside the frame and land only inside the file.
    uint32_t n = buffer[2];
    if (n > length - kChunkOverhead) n = length - kChunkOverhead;
    uint32_t offset = Le32(buffer + 4);
    if (offset >= *fileSize) return;
    if (n > *fileSize - offset) n = *fileSize - offset;
    std::memcpy(fileBuffer + offset, buffer + kChunkDataAt, n);
}

void ReadDeviceLog() {
    DeviceState& s = g_deviceState;
    ReadAndParse();
    if (s.protocolGeneration != 2) return;

    // The size comes with the first chunk, whose length is not known yet.
    SendCommandWithArgument(command::kReadLogChunk, 0);
    platform::Wait(kSizeQueryWaitMs);
    g_rxCount = ReadAnswer(g_rxBuffer);
    uint32_t size = 0;
    ParseLogChunk(g_rxBuffer, g_rxCount, nullptr, &size);
    if (FileSystemError(g_rxBuffer, g_rxCount)) {
        TheLinkShell().setLogViewerText("Ошибка чтения файловой системы.");
        return;
    }
    if (size == 0) {
        TheLinkShell().setLogViewerText("Файл log.log не найден.");
        return;
    }
    // The size is the instrument's word: one that cannot be a log (or
    // that would wrap size + 1) is a damaged file system, not a request to
    // take all memory.
    uint8_t* file = size <= kMaxDeviceLogSize ? new (std::nothrow) uint8_t[size + 1]() : nullptr;
    if (!file) {
        TheLinkShell().setLogViewerText("Ошибка чтения файловой системы.");
        return;
    }

    ReadLogChunks(file, size);
    delete[] file;
}

void TransferStoredResults() {
    const DeviceState& s = g_deviceState;
    uint16_t counter = 0;
    uint32_t lastRight = platform::TickCount();
    while (s.storedResultsRequest) {
        RequestStoredResult(counter);
        const bool open = AwaitAnswer(kStoredAnswerLength, kStoredResultWaitMs);
        g_rxCount = open ? ReadAnswer(g_rxBuffer) : 0;
        if (!s.storedResultsRequest) return;  // the viewer is gone
        if (StoredAnswerFor(counter, g_rxBuffer, g_rxCount)) {
            if (TakeStoredAnswer(counter)) return;
            lastRight = platform::TickCount();
            ++counter;
        } else if (!open || platform::TickCount() - lastRight >= kGiveUpMs) {
            EndUnfinishedTransfer(counter);
            return;
        }
    }
}
