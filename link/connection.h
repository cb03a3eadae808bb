#pragma once
// The worker's D2XX handle: opening, reopening, reading and writing.
#include <cstdint>

constexpr uint32_t kRxBufferSize = 10000;

// Link state of the worker (the driver handle never leaves this thread).
extern uint8_t g_rxBuffer[kRxBufferSize];
extern uint32_t g_rxCount;

// Makes sure an instrument is open and configured: returns at once while
// the link is alive, else reopens (by description the first time, by serial
// number afterwards) without limit.
void ConnectDevice();
// Receive-queue bytes; 0 after a failed status query (which reconnects).
uint32_t RxQueueCount();
// Receive-queue bytes into *count; false when the status query fails, and
// then nothing is reopened: a transfer ends itself on a lost link and leaves
// the reconnection to the worker's loop.
bool RxQueueCountIfOpen(uint32_t* count);
// Reads what is queued, at most kRxBufferSize bytes; 0 when nothing was
// queued or the read failed.
uint32_t ReadAnswer(uint8_t* buffer);
// Writes the whole frame, reconnecting and retrying until it goes out; a
// write that sends only part of it is followed by the whole frame again once
// the instrument has dropped the part.
void WriteBlock(const uint8_t* frame, uint32_t length);
// One write attempt; a failure reconnects and drops the frame. True only
// when every byte was written (a short write is a failure too).
bool WriteOnce(const uint8_t* frame, uint32_t length);
// Link faults so far (failed or short writes, failed reads and status
// queries, reopenings); two readings that differ mean an exchange between
// them may have lost a command or an answer.
uint32_t LinkFaultCount();

// Fresh start for every test case: no handle, first connection pending,
// indicator not started.
void ResetConnection();
