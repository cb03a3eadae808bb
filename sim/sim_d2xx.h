#pragma once
// The D2XX entry points of the simulated driver, as SimLookupFunction hands
// them out and the DLL exports them. Signatures follow the D2XX ABI.
#include <cstdint>

#include "platform/d2xx.h"

#define SIM_FT_FUNCTIONS(X)                                                                                   \
    X(FT_Open, (int deviceNumber, FT_HANDLE* handle), (deviceNumber, handle))                                 \
    X(FT_OpenEx, (void* arg, FT_DWORD flags, FT_HANDLE* handle), (arg, flags, handle))                        \
    X(FT_ListDevices, (void* arg1, void* arg2, FT_DWORD flags), (arg1, arg2, flags))                          \
    X(FT_Close, (FT_HANDLE handle), (handle))                                                                 \
    X(FT_Read, (FT_HANDLE handle, void* buffer, FT_DWORD toRead, FT_DWORD* got), (handle, buffer, toRead, got)) \
    X(FT_Write, (FT_HANDLE handle, void* buffer, FT_DWORD toWrite, FT_DWORD* written),                        \
      (handle, buffer, toWrite, written))                                                                     \
    X(FT_IoCtl,                                                                                               \
      (FT_HANDLE handle, FT_DWORD code, void* in, FT_DWORD inSize, void* out, FT_DWORD outSize,               \
       FT_DWORD* returned, void* overlapped),                                                                 \
      (handle, code, in, inSize, out, outSize, returned, overlapped))                                        \
    X(FT_SetBaudRate, (FT_HANDLE handle, FT_DWORD baud), (handle, baud))                                      \
    X(FT_SetDivisor, (FT_HANDLE handle, uint16_t divisor), (handle, divisor))                                 \
    X(FT_SetDataCharacteristics, (FT_HANDLE handle, uint8_t wordLength, uint8_t stopBits, uint8_t parity),    \
      (handle, wordLength, stopBits, parity))                                                                 \
    X(FT_SetFlowControl, (FT_HANDLE handle, uint16_t flow, uint8_t xon, uint8_t xoff), (handle, flow, xon, xoff)) \
    X(FT_ResetDevice, (FT_HANDLE handle), (handle))                                                           \
    X(FT_SetDtr, (FT_HANDLE handle), (handle))                                                                \
    X(FT_ClrDtr, (FT_HANDLE handle), (handle))                                                                \
    X(FT_SetRts, (FT_HANDLE handle), (handle))                                                                \
    X(FT_ClrRts, (FT_HANDLE handle), (handle))                                                                \
    X(FT_GetModemStatus, (FT_HANDLE handle, FT_DWORD * status), (handle, status))                             \
    X(FT_SetChars, (FT_HANDLE handle, uint8_t event, uint8_t eventOn, uint8_t error, uint8_t errorOn),        \
      (handle, event, eventOn, error, errorOn))                                                               \
    X(FT_Purge, (FT_HANDLE handle, FT_DWORD mask), (handle, mask))                                            \
    X(FT_SetTimeouts, (FT_HANDLE handle, FT_DWORD readMs, FT_DWORD writeMs), (handle, readMs, writeMs))       \
    X(FT_GetQueueStatus, (FT_HANDLE handle, FT_DWORD * rxBytes), (handle, rxBytes))                           \
    X(FT_SetEventNotification, (FT_HANDLE handle, FT_DWORD mask, void* param), (handle, mask, param))         \
    X(FT_GetStatus, (FT_HANDLE handle, FT_DWORD * rxBytes, FT_DWORD * txBytes, FT_DWORD * events),           \
      (handle, rxBytes, txBytes, events))                                                                     \
    X(FT_SetBreakOn, (FT_HANDLE handle), (handle))                                                            \
    X(FT_SetBreakOff, (FT_HANDLE handle), (handle))                                                           \
    X(FT_SetWaitMask, (FT_HANDLE handle, FT_DWORD mask), (handle, mask))                                      \
    X(FT_WaitOnMask, (FT_HANDLE handle, FT_DWORD * mask), (handle, mask))                                     \
    X(FT_GetEventStatus, (FT_HANDLE handle, FT_DWORD * events), (handle, events))                             \
    X(FT_ReadEE, (FT_HANDLE handle, FT_DWORD offset, uint16_t * value), (handle, offset, value))              \
    X(FT_WriteEE, (FT_HANDLE handle, FT_DWORD offset, uint16_t value), (handle, offset, value))               \
    X(FT_EraseEE, (FT_HANDLE handle), (handle))                                                               \
    X(FT_SetResetPipeRetryCount, (FT_HANDLE handle, FT_DWORD count), (handle, count))                         \
    X(FT_GetDeviceInfo,                                                                                       \
      (FT_HANDLE handle, FT_DWORD * type, FT_DWORD * id, char* serial, char* description, void* dummy),       \
      (handle, type, id, serial, description, dummy))

#define SIM_DECLARE(name, params, args) FT_STATUS ORLA_WINAPI Sim_##name params;
SIM_FT_FUNCTIONS(SIM_DECLARE)
#undef SIM_DECLARE
