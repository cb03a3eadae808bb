// The columns of orla_series and the row of values one archived record gives.
#include "database/database_rows.h"

#include <ctime>

#include "common/version_info.h"
#include "results/archive.h"
#include "results/archive_csv.h"
#include "verdict/verdict.h"

namespace {

using platform::db::Value;
using Kind = Value::Kind;

// The order of the 13 protocol texts in the record.
const char* const kTextColumns[kProtocolTextCount] = {
    "protocol_number",  "material",           "standard",        "sample_source",  "sampling_date",
    "appearance",       "liquid_temperature", "room_temperature", "humidity",      "sample_preparation",
    "test_date",        "tester_position",    "tester_name",
};

std::vector<SeriesColumn> MakeColumns() {
    std::vector<SeriesColumn> c = {
        {"instrument_serial", Kind::Text, false},
        {"test_time", Kind::Timestamp, false},
        {"amendment", Kind::Integer, false},
        {"amended_at", Kind::Timestamp, true},
    };
    for (const char* name : kTextColumns) c.push_back({name, Kind::Text, false});
    c.push_back({"value_count", Kind::Integer, false});
    for (const char* name : {"u1", "u2", "u3", "u4", "u5", "u6"}) c.push_back({name, Kind::Decimal, true});
    for (const char* name : {"u1_no_breakdown", "u2_no_breakdown", "u3_no_breakdown", "u4_no_breakdown",
                             "u5_no_breakdown", "u6_no_breakdown"})
        c.push_back({name, Kind::Boolean, true});
    const SeriesColumn rest[] = {
        {"mean_kv", Kind::Decimal, false},         {"mean_no_breakdown", Kind::Boolean, false},
        {"rms_kv", Kind::Decimal, false},          {"cv_percent", Kind::Integer, false},
        {"series_length", Kind::Integer, false},   {"measurement_count", Kind::Integer, false},
        {"pause_minutes", Kind::Integer, false},   {"pre_test_delay", Kind::Boolean, false},
        {"rise_rate_kv_s", Kind::Decimal, false},  {"max_voltage_kv", Kind::Decimal, false},
        {"method", Kind::Integer, true},           {"method_name", Kind::Text, true},
        {"norm_min_kv", Kind::Decimal, true},      {"norm_good_kv", Kind::Decimal, true},
        {"dispersion_rule", Kind::Integer, true},  {"dispersion_percent", Kind::Integer, true},
        {"verdict", Kind::Integer, true},          {"verdict_text", Kind::Text, true},
        {"deviations", Kind::Integer, true},       {"from_instrument_memory", Kind::Boolean, false},
        {"program_version", Kind::Text, false},    {"sent_at", Kind::Timestamp, false},
    };
    c.insert(c.end(), std::begin(rest), std::end(rest));
    return c;
}

Value Null(Kind kind) {
    Value x;
    x.kind = kind;
    x.null = true;
    return x;
}
Value Integer(int64_t v) {
    Value x;
    x.kind = Kind::Integer;
    x.integer = v;
    return x;
}
Value Tenths(int64_t v) {
    Value x = Integer(v);
    x.kind = Kind::Decimal;
    return x;
}
Value Flag(bool v) {
    Value x = Integer(v ? 1 : 0);
    x.kind = Kind::Boolean;
    return x;
}
Value Text(std::string utf8) {
    Value x;
    x.kind = Kind::Text;
    x.text = std::move(utf8);
    return x;
}
Value Time(const SystemTime& t) {
    Value x;
    x.kind = Kind::Timestamp;
    x.time = t;
    return x;
}
Value Text1251(const char* text, size_t size) { return Text(Cp1251ToUtf8(text, size)); }

// The marks count local seconds since 2000; gmtime only splits the count.
Value AmendedAtValue(const TestRecord& r) {
    if (r.marks.amendment == 0) return Null(Kind::Timestamp);
    const std::time_t when = static_cast<std::time_t>(::AmendedAt(r)) + 946684800;
    const std::tm* t = std::gmtime(&when);
    if (!t) return Null(Kind::Timestamp);
    SystemTime s{};
    s.wYear = static_cast<uint16_t>(t->tm_year + 1900);
    s.wMonth = static_cast<uint16_t>(t->tm_mon + 1);
    s.wDay = static_cast<uint16_t>(t->tm_mday);
    s.wHour = static_cast<uint16_t>(t->tm_hour);
    s.wMinute = static_cast<uint16_t>(t->tm_min);
    s.wSecond = static_cast<uint16_t>(t->tm_sec);
    return Time(s);
}

void AddVoltages(std::vector<Value>& row, const TestRecord& r) {
    const int stored = StoredValueCount(r);
    for (int i = 0; i < kVoltageSlots; ++i)
        row.push_back(i < stored ? Tenths(r.breakdownVoltage[i] & kVoltageMask) : Null(Kind::Decimal));
    for (int i = 0; i < kVoltageSlots; ++i)
        row.push_back(i < stored ? Flag((r.breakdownVoltage[i] & kNoBreakdownBit) != 0) : Null(Kind::Boolean));
    // Without breakdown the mean is not known, only that it is at least the
    // bound voltage, as the protocols say.
    const bool bound = (r.meanVoltage & kNoBreakdownBit) != 0;
    row.push_back(Tenths(bound ? r.boundVoltage & kVoltageMask : r.meanVoltage & kVoltageMask));
    row.push_back(Flag(bound));
    row.push_back(Tenths(r.rmsError));
    row.push_back(Integer(r.variationPercent));
}

void AddSettings(std::vector<Value>& row, const TestRecord& r) {
    const DeviceSettings& s = r.settingsSnapshot;
    row.push_back(Integer(r.seriesLength));
    row.push_back(Integer(MeasurementCount(s)));
    row.push_back(Integer(PauseMinutes(s)));
    row.push_back(Flag(PreTestDelay(s)));
    row.push_back(Tenths(s.riseRate));
    row.push_back(Tenths(s.maxVoltage));
}

// The decision as stored when the series ended; a series never judged has none.
void AddVerdict(std::vector<Value>& row, const TestRecord& r) {
    const VerdictBlock& v = r.verdict;
    if (!v.present) {
        // The columns' own kinds, from the table.
        const std::vector<SeriesColumn>& columns = SeriesColumns();
        const size_t first = row.size();
        for (size_t c = first; c < first + 9 && c < columns.size(); ++c) row.push_back(Null(columns[c].kind));
        return;
    }
    row.push_back(Integer(v.method));
    const char* name = StoredMethodName(v.method);
    row.push_back(*name ? Text1251(name, kProtocolTextSize) : Null(Kind::Text));
    row.push_back(v.normMinimum ? Tenths(v.normMinimum) : Null(Kind::Decimal));
    row.push_back(v.normGood ? Tenths(v.normGood) : Null(Kind::Decimal));
    row.push_back(Integer(v.dispersionRule));
    row.push_back(Integer(v.dispersionPercent));
    row.push_back(Integer(EffectiveVerdict(r)));
    const char* shortText = VerdictShortText(r);
    row.push_back(*shortText ? Text1251(shortText, kProtocolTextSize) : Null(Kind::Text));
    row.push_back(Integer(v.deviations));
}

}  // namespace

const std::vector<SeriesColumn>& SeriesColumns() {
    static const std::vector<SeriesColumn> columns = MakeColumns();
    return columns;
}

std::vector<Value> SeriesRow(const TestRecord& r, const std::string& serialUtf8, const SystemTime& sentAt) {
    std::vector<Value> row;
    row.reserve(SeriesColumns().size());
    row.push_back(Text(serialUtf8));
    row.push_back(Time(r.testTime));
    row.push_back(Integer(r.marks.amendment));
    row.push_back(AmendedAtValue(r));
    // 255 characters at most, as the form takes them: a text without its
    // terminator would not fit the column and block every later row.
    for (int k = 0; k < kProtocolTextCount; ++k) row.push_back(Text1251(r.protocolText[k], kProtocolTextSize - 1));
    row.push_back(Integer(r.valueCount));
    AddVoltages(row, r);
    AddSettings(row, r);
    AddVerdict(row, r);
    row.push_back(Flag((r.marks.origin & origin_bits::kFromInstrumentMemory) != 0));
    row.push_back(Text(ORLA_VERSION_TEXT));
    row.push_back(Time(sentAt));
    return row;
}

bool SendableRecord(const TestRecord& r) {
    // A database refuses 31 February where the archive only stores numbers.
    static const int kMonthDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const SystemTime& t = r.testTime;
    const bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
    const bool realDay = t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= kMonthDays[t.wMonth - 1] &&
                         (t.wMonth != 2 || t.wDay < 29 || leap);
    const bool realTime = t.wYear >= 1900 && t.wYear <= 9999 && realDay && t.wHour < 24 && t.wMinute < 60 &&
                          t.wSecond < 60 && t.wMilliseconds < 1000;
    return realTime && ArchiveRecordCrc(r) == r.crc;
}
