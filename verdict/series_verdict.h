#pragma once
// The main window's method line, norm choice and verdict line, and the
// method and norm the next series is judged by. Everything here runs on the
// user-interface thread except JudgeFinishedSeries and the verdict line,
// which the link worker calls at the end and start of a series.
#include <cstdint>
#include <string>

#include "common/test_record.h"

// The norm list's first item: the series is then not judged against a norm.
constexpr const char* kNoNormItem = "без нормы";

// The method line and the norm list of the chosen method, the chosen norm
// selected (or kNoNormItem when it does not hold for the method).
void ShowMethodAndNorms();
// The device settings dialog chose a method (empty: none). Saved at once;
// the form's standard name follows when it still holds the old method's.
void ChangeMethod(const std::string& method);
// A laboratory's method renamed in the norm book (its norms went along):
// the choice and a standard name that named it follow; saved at once. The
// caller shows the method and norms again.
void FollowMethodRename(const std::string& previous, const std::string& renamed);
// The norm list's selection changed; saved at once.
void NormChosen();
// The sample source field was left: the norm its newest judged series was
// judged by is proposed, when it holds for the method chosen now.
void ProposeNormForSource();

// The method line for the instrument's settings as reported: marked when
// they are not the chosen method's, so the operator sees it before a
// series runs with deviations. Safe from the link worker.
void ShowMethodLine(const DeviceSettings& reported);
// Whether the method line carries that mark, for its colour.
bool MethodLineMarked();

// The decision on a series that has just ended, by the method and norm
// chosen now. Safe from the link worker.
VerdictBlock JudgeFinishedSeries(const TestRecord& record);
// The verdict line: the record's conclusion, or nothing.
void ShowVerdict(const TestRecord& record);
void ClearVerdict();
// What the line shows, for its colour: a Verdict value, or kNoVerdictShown.
constexpr uint8_t kNoVerdictShown = 0xFF;
uint8_t ShownVerdict();
