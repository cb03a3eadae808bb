#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim/sim.h"

namespace {

constexpr double kMinSimSpeed = 1e-3;
constexpr double kMaxSimSpeed = 1e6;

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool ParseInt(const std::string& text, int64_t* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0') return false;
    *out = v;
    return true;
}

bool ParseInt(const std::string& text, int* out) {
    int64_t v;
    if (!ParseInt(text, &v) || v < -2147483647LL || v > 2147483647LL) return false;
    *out = int(v);
    return true;
}

// Times and the clock start are added to the model's clock in 64 bits;
// clamped here, no sum of them can overflow. 10^12 ms is over 30 years.
constexpr int64_t kMaxSimTimeMs = 1000000000000LL;
constexpr int64_t kMinResetPeriodMs = 100;
bool ParseTime(const std::string& text, int64_t* out) {
    int64_t v;
    if (!ParseInt(text, &v)) return false;
    *out = std::min(std::max(v, -kMaxSimTimeMs), kMaxSimTimeMs);
    return true;
}

bool ParseDouble(const std::string& text, double* out) {
    if (text.empty()) return false;
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool ParseBool(const std::string& text, bool* out) {
    std::string t = Lower(text);
    if (t == "1" || t == "true" || t == "yes" || t == "on") return *out = true, true;
    if (t == "0" || t == "false" || t == "no" || t == "off") return *out = false, true;
    return false;
}

// "45.2, 47.0" in kV -> tenths of a kV.
bool ParseVoltages(const std::string& text, std::vector<uint16_t>* out) {
    std::vector<uint16_t> list;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        item = Trim(item);
        if (item.empty()) continue;
        double kv;
        if (!ParseDouble(item, &kv) || kv < 0 || kv > 3276.7) return false;
        list.push_back(uint16_t(std::lround(kv * 10)));
    }
    *out = list;
    return true;
}

// "1, 3,7" -> result indices 0..65535.
bool ParseIndices(const std::string& text, std::vector<uint16_t>* out) {
    std::vector<uint16_t> list;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        item = Trim(item);
        if (item.empty()) continue;
        int64_t v;
        if (!ParseInt(item, &v) || v < 0 || v > 65535) return false;
        list.push_back(uint16_t(v));
    }
    *out = list;
    return true;
}

}  // namespace

bool SimApplyConfigKey(const std::string& rawKey, const std::string& rawValue, SimConfig* c) {
    const std::string key = Lower(Trim(rawKey));
    const std::string value = Trim(rawValue);
    struct IntKey {
        const char* name;
        int* field;
    };
    const IntKey ints[] = {
        {"measurement_count", &c->measurementCount},
        {"pause_minutes", &c->pauseMinutes},
        {"rise_rate", &c->riseRate},
        {"max_voltage", &c->maxVoltage},
        {"table_lift", &c->tableLift},
        {"calibration_constant", &c->calibrationConstant},
        {"adc_offset", &c->adcOffset},
        {"lift_ms", &c->liftMs},
        {"pre_test_delay_ms", &c->preTestDelayMs},
        {"breakdown_ms", &c->breakdownMs},
        {"stir_ms", &c->stirMs},
        {"lower_ms", &c->lowerMs},
        {"finished_ms", &c->finishedMs},
        {"reset_cause", &c->resetCause},
        {"reset_counter", &c->resetCounter},
        {"erase_error", &c->eraseError},
        {"status_value_count_override", &c->statusValueCountOverride},
        {"hour_offset", &c->hourOffset},
        {"stored_results", &c->storedResults},
        {"log_error", &c->logError},
        {"fail_write_at", &c->failWriteAt},
        {"fail_status_at", &c->failStatusAt},
        {"bad_crc_at", &c->badCrcAt},
        {"split_answer_at", &c->splitAnswerAt},
        {"garbage_at", &c->garbageAt},
        {"bad_crc_every", &c->badCrcEvery},
        {"split_answer_every", &c->splitAnswerEvery},
        {"garbage_every", &c->garbageEvery},
        {"stored_value_count_override", &c->storedValueCountOverride},
        {"stored_bad_crc_at", &c->storedBadCrcAt},
        {"stored_missing_at", &c->storedMissingAt},
    };
    for (const IntKey& k : ints)
        if (key == k.name) return ParseInt(value, k.field);
    struct BoolKey {
        const char* name;
        bool* field;
    };
    const BoolKey bools[] = {
        {"pre_test_delay", &c->preTestDelay}, {"error_of_mean", &c->errorOfMean}, {"sound", &c->sound},
        {"alt_method", &c->altMethod},        {"door_open", &c->doorOpen},
    };
    for (const BoolKey& k : bools)
        if (key == k.name) return ParseBool(value, k.field);
    if (key == "description") return c->description = value, true;
    if (key == "serial") return c->serial = value, true;
    if (key == "replug_serial") return c->replugSerial = value, true;
    if (key == "journal") return c->journalPath = value, true;
    if (key == "version") return c->version = value, true;
    if (key == "device_log") return c->deviceLog = value, true;
    if (key == "clock_start") return ParseTime(value, &c->clockStart);
    if (key == "voltages") return ParseVoltages(value, &c->voltages);
    if (key == "unplug_at_ms") return ParseTime(value, &c->unplugAtMs);
    if (key == "replug_at_ms") return ParseTime(value, &c->replugAtMs);
    if (key == "reset_every_ms") {
        // An instrument takes longer than this to boot; a shorter period
        // would only make the model reboot millions of times to catch up.
        if (!ParseTime(value, &c->resetEveryMs)) return false;
        if (c->resetEveryMs > 0 && c->resetEveryMs < kMinResetPeriodMs) c->resetEveryMs = kMinResetPeriodMs;
        return true;
    }
    if (key == "stored_empty_slots") return ParseIndices(value, &c->storedEmptySlots);
    if (key == "fail_command") {
        // A command code reads best in hex (0x48); decimal works too.
        char* end = nullptr;
        long v = std::strtol(value.c_str(), &end, 0);
        if (value.empty() || *end != '\0' || v < 0 || v > 255) return false;
        c->failCommand = int(v);
        return true;
    }
    if (key == "fail_command_at" || key == "fail_command_count") {
        int v;
        if (!ParseInt(value, &v) || v < 1) return false;
        (key == "fail_command_at" ? c->failCommandAt : c->failCommandCount) = v;
        return true;
    }
    if (key == "fail_command_mode") {
        const std::string mode = Lower(value);
        if (mode == "error") c->failCommandMode = SimConfig::WriteFault::Error;
        else if (mode == "short") c->failCommandMode = SimConfig::WriteFault::Short;
        else if (mode == "unplug") c->failCommandMode = SimConfig::WriteFault::Unplug;
        else return false;
        return true;
    }
    if (key == "fail_command_replug_ms") return ParseTime(value, &c->failCommandReplugMs);
    if (key == "log_announced_size") {
        int64_t v;
        if (!ParseInt(value, &v) || v < -1 || v > 0xFFFFFFFFLL) return false;
        c->logAnnouncedSize = v;
        return true;
    }
    if (key == "answer_latency_ms") {
        int v;
        if (!ParseInt(value, &v) || v < 0) return false;
        c->answerLatencyMs = v;
        return true;
    }
    if (key == "speed") {
        double v;
        if (!ParseDouble(value, &v) || v <= 0) return false;
        // The model divides and multiplies its times by the speed and turns
        // them into 64-bit integers; outside this range they overflow.
        c->speed = std::min(std::max(v, kMinSimSpeed), kMaxSimSpeed);
        return true;
    }
    if (key == "seed") {
        int64_t v;
        if (!ParseInt(value, &v) || v < 0 || v > 0xFFFFFFFFLL) return false;
        c->seed = uint32_t(v);
        return true;
    }
    return false;
}

bool SimLoadConfigFile(const char* path, SimConfig* config) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line, section;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        first = false;
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section = Lower(Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
            continue;
        }
        // Keys before any section count as the instrument's; other sections
        // are left for other tools sharing the file.
        if (!section.empty() && section != "instrument") continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        SimApplyConfigKey(line.substr(0, eq), line.substr(eq + 1), config);
    }
    return true;
}

SimConfig SimConfigFromEnvironment() {
    SimConfig config;
    // Demonstration speed: a default series (6 breakdowns, 1 min pauses,
    // 2 kV/s, the pre-test delay) takes about 53 s instead of nine minutes.
    config.speed = 10.0;
    // Something to see in the instrument's results list at once.
    config.storedResults = 5;
    const char* path = std::getenv("ORLA_SIM_CONFIG");
    if (path && *path) SimLoadConfigFile(path, &config);
    return config;
}
