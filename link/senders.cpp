// One-shot commands to the instrument, in its generation's framing.
#include "link/senders.h"

#include "link/connection.h"
#include "link/device_state.h"
#include "link/frames.h"

void SendCommand(uint8_t code) {
    int generation = g_deviceState.protocolGeneration;
    if (generation == 1) {
        WriteOnce(&code, 1);
    } else if (generation == 2) {
        uint8_t frame[kShortFrameSize];
        BuildShortFrame(frame, code);
        WriteOnce(frame, sizeof frame);
    }
}

void SendCommandWithArgument(uint8_t code, uint32_t argument) {
    if (g_deviceState.protocolGeneration != 2) return;
    uint8_t frame[kArgumentFrameSize];
    BuildArgumentFrame(frame, code, argument);
    WriteOnce(frame, sizeof frame);
}

void RequestStoredResult(uint16_t index) {
    if (g_deviceState.protocolGeneration != 2) return;
    uint8_t frame[kStoredResultFrameSize];
    BuildStoredResultFrame(frame, index);
    WriteOnce(frame, sizeof frame);
}
