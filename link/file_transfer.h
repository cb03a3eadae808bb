#pragma once
// Bulk transfers from a generation-2 instrument between polls: its event
// file log.log into the log viewer, and its stored results into
// g_storedResults for the device-results viewer.
#include <cstdint>

// Largest log.log the program takes; a larger announced size is treated as a
// file-system error and nothing is allocated for it.
constexpr uint32_t kMaxDeviceLogSize = 16u * 1024 * 1024;
constexpr uint32_t kLogChunkSize = 128;

// Reads log.log chunk by chunk into the LogViewer text, with the share read
// so far shown meanwhile. Ends early when deviceLogRequest is cleared. The
// worker clears the flag afterwards.
void ReadDeviceLog();

// Takes one answer to a chunk request (generation 2 only; a count of 0 does
// nothing). Damaged or foreign answers are traced and dropped. While
// *fileSize is 0 a good answer only sets it; afterwards its data go to
// fileBuffer at the offset it names, never past *fileSize bytes, so
// fileBuffer needs *fileSize bytes whatever the answer says.
void ParseLogChunk(const uint8_t* buffer, uint32_t count, uint8_t* fileBuffer, uint32_t* fileSize);

// Fetches stored results 0..highest into g_storedResults with the progress
// bar of the device-results viewer moving; ends with the list filled, or as
// soon as storedResultsRequest is cleared (between results).
void TransferStoredResults();

// How long the transfers wait for each answer: up to a fixed time as the
// first program did, or only until the whole answer is queued (the fixed
// time stays the upper bound). Same bytes either way; the fixed pace is
// kept for comparison in the transfer benchmark.
enum class AnswerWait { Fixed, UntilQueued };
void SetAnswerWait(AnswerWait mode);
