#pragma once
// A scripted D2XX driver for the link tests: instruments that can be plugged
// and unplugged, a receive queue the test fills (or a responder that answers
// each write), and a record of every call.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testdrv {

struct Instrument {
    std::string description;
    std::string serial;
    bool plugged = true;
};

struct Write {
    uint32_t ms;
    std::vector<uint8_t> bytes;
};

void Reset();
// Every function of the lookup list except the ones named in missing.
void Install(const std::vector<std::string>& missing = {});
void Plug(const std::string& description, const std::string& serial);
void Unplug();  // every instrument
void Replug(const std::string& serial);
void Queue(const std::vector<uint8_t>& bytes);
// Called with every successful write; may Queue an answer.
void OnWrite(std::function<void(const std::vector<uint8_t>&)> responder);
void FailWrites(int count);
void FailStatusQueries(int count);

const std::vector<Write>& Writes();
std::vector<uint8_t> WrittenCommands();  // byte 0 of every write
std::vector<uint32_t>& BaudRates();
std::vector<std::string>& Opens();  // "D:<description>" or "S:<serial>", successful ones
size_t Queued();

}  // namespace testdrv
