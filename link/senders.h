#pragma once
// One-shot commands to the instrument, in its generation's framing.
#include <cstdint>

// One-shot senders: one write each; a failed write reconnects and the
// command is lost. Nothing is sent before a generation is known.
void SendCommand(uint8_t code);
// Generation 2 only.
void SendCommandWithArgument(uint8_t code, uint32_t argument);
void RequestStoredResult(uint16_t index);
