#pragma once
// Test methods, the decision on a series against its method and norm, and
// the conclusion texts every display of a series shares.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/test_record.h"

// Stored in the record's verdict block: the values are a file format.
enum MethodCode : uint8_t {
    kMethodNone = 0,
    kMethodGost = 1,
    kMethodIec = 2,
    kMethodAstm2mm = 3,
    kMethodAstm1mm = 4,
    kMethodOwn = 255,  // one of the laboratory's own methods
};
enum DispersionRule : uint8_t {
    kDispersionNone = 0,
    kDispersionRange = 1,  // max - min at most P % of the mean
    kDispersionCv = 2,     // coefficient of variation at most P %
};
enum Verdict : uint8_t {
    kVerdictNotJudged = 0,  // no norm, a bound under it, or an interrupted series
    kVerdictMeets = 1,      // the good band of a three-band norm
    kVerdictFair = 2,
    kVerdictFails = 3,
    kVerdictInvalid = 4,    // the dispersion rule failed
};
namespace deviation_bits {
constexpr uint8_t kBreakdowns = 0x01;
constexpr uint8_t kRiseRate = 0x02;
constexpr uint8_t kPauseShorter = 0x04;
constexpr uint8_t kNoDelay = 0x08;
}  // namespace deviation_bits

struct TestMethod {
    std::string name;        // as printed
    uint8_t code;            // MethodCode
    int breakdowns;
    uint16_t riseRate;       // tenths of a kilovolt per second
    int pauseMinutes;        // the shortest pause the method allows
    bool preTestDelay;
    uint8_t dispersionRule;  // DispersionRule
    uint8_t dispersionPercent;
};

// The methods every laboratory gets, in the order the lists show them.
const std::vector<TestMethod>& BuiltInMethods();
// The built-in method of a stored code; nullptr for none and for own methods.
const TestMethod* BuiltInMethod(uint8_t code);

// A norm's limits in tenths of a kilovolt; good == 0 for a one-limit norm,
// minimum == 0 when no norm is chosen.
struct NormLimits {
    uint16_t minimum;
    uint16_t good;
};

// Judges a finished series: the deviations of its settings snapshot and
// value count from the method (none without a method); a series with fewer
// values than its snapshot's count setting is then left not judged; else
// the dispersion rule, then the mean against the norm, a lower bound when a
// value did not break down. The block comes back present.
VerdictBlock JudgeSeries(const TestRecord& record, const TestMethod* method, NormLimits norm);

// Stopped or cut short: fewer values than the instrument was set to run.
bool SeriesInterrupted(const TestRecord& record);
// The stored verdict as displays show it: an interrupted series is not
// judged, whatever a version before that rule stored.
uint8_t EffectiveVerdict(const TestRecord& record);

// The whole conclusion as the protocols print it, from the stored block and
// the values, with the deviations after it; empty for a record not judged.
std::string ConclusionText(const TestRecord& record);
// The deviations alone ("Отклонение от методики: ..."); empty for none.
std::string DeviationText(const TestRecord& record);
// The archive column: "соотв.", "удовл.", "не соотв.", "недейств.",
// "прервана" or empty.
const char* VerdictShortText(const TestRecord& record);
// The stored method's printed name; the laboratory's own methods and none
// have no stored name ("своя методика" / empty).
const char* StoredMethodName(uint8_t code);
