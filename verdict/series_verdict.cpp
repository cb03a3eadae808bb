// The method and norm of the next series, their controls in the main window,
// and the verdict line after a series.
#include "verdict/series_verdict.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

#include "common/form_ids.h"
#include "common/program_settings.h"
#include "platform/threads.h"
#include "platform/ui.h"
#include "verdict/method_choice.h"
#include "verdict/norm_book.h"
#include "verdict/verdict.h"
#include "verdict/verdict_ids.h"
#include "verdict/verdict_view.h"

namespace {

constexpr int kStandardField = IDC_FIRST_FIELD + 2;
constexpr int kSourceField = IDC_FIRST_FIELD + 3;

// What the worker judges by: a copy, so the book and the settings can
// change on the user-interface thread while a series ends.
struct Judgement {
    bool hasMethod = false;
    TestMethod method{};
    NormLimits norm{0, 0};
};
platform::Mutex g_judgementLock;
Judgement g_judgement;
std::atomic<uint8_t> g_shownVerdict{kNoVerdictShown};
std::atomic<bool> g_methodLineMarked{false};

// What the shell lent; set at start-up, read on the user-interface thread.
VerdictView g_view;

bool DeviceConnected() { return g_view.deviceConnected && g_view.reportedSettings && g_view.deviceConnected(); }

bool LastJudgedSeriesOf(const char* source, TestRecord* found) {
    return g_view.lastJudgedSeriesOfSource && g_view.lastJudgedSeriesOfSource(source, found);
}

// The norms listed after kNoNormItem, in list order (user-interface thread).
std::vector<Norm> g_listedNorms;
std::string g_lastProposedSource;

void CopyText(char* to, size_t size, const std::string& text) {
    std::strncpy(to, text.c_str(), size - 1);
    to[size - 1] = 0;
}

void UpdateJudgement() {
    const ProgramSettings& s = g_programSettings;
    Judgement j;
    if (const TestMethod* m = FindMethod(g_normBook, s.methodName)) {
        j.hasMethod = true;
        j.method = *m;
        if (const Norm* n = FindNorm(g_normBook, s.methodName, s.normName)) j.norm = {n->minimum, n->good};
    }
    std::lock_guard<platform::Mutex> guard(g_judgementLock);
    g_judgement = j;
}

// The norm the list shows chosen; none for "без нормы".
const Norm* ChosenNorm() {
    const int item = ui::ComboSelection(ui::Window::Main, IDC_NORM_CHOICE);
    return item >= 1 && item <= static_cast<int>(g_listedNorms.size()) ? &g_listedNorms[item - 1] : nullptr;
}

// The closed list cuts a long name; its tip holds the whole of it.
void ShowNormTip() {
    const Norm* norm = ChosenNorm();
    ui::SetToolTip(ui::Window::Main, IDC_NORM_CHOICE, norm ? norm->name.c_str() : kNoNormItem);
}

void SelectNorm(int item) {
    ui::ComboSelect(ui::Window::Main, IDC_NORM_CHOICE, item);
    NormChosen();
}

}  // namespace

void SetVerdictView(const VerdictView& view) { g_view = view; }

void ShowMethodAndNorms() {
    ProgramSettings& s = g_programSettings;
    g_listedNorms.clear();
    std::vector<const char*> items{kNoNormItem};
    int selected = 0;
    // No method, no norm: a limit holds only for results of its own method.
    if (FindMethod(g_normBook, s.methodName)) {
        for (const Norm* n : NormsOfMethod(g_normBook, s.methodName)) {
            g_listedNorms.push_back(*n);
            if (n->name == s.normName) selected = static_cast<int>(g_listedNorms.size());
        }
        for (const Norm& n : g_listedNorms) items.push_back(n.name.c_str());
    }
    ui::ComboSetItems(ui::Window::Main, IDC_NORM_CHOICE, items.data(), static_cast<int>(items.size()), selected);
    if (selected == 0) s.normName[0] = 0;
    ShowNormTip();
    UpdateJudgement();
    if (DeviceConnected())
        ShowMethodLine(g_view.reportedSettings());
    else
        ui::SetText(ui::Window::Main, IDC_VALUE_METHOD, MethodLineText(s.methodName).c_str());
}

void ShowMethodLine(const DeviceSettings& reported) {
    Judgement j;
    {
        std::lock_guard<platform::Mutex> guard(g_judgementLock);
        j = g_judgement;
    }
    const bool differs = j.hasMethod && !SettingsMatchMethod(reported, j.method);
    g_methodLineMarked = differs;
    ui::SetText(ui::Window::Main, IDC_VALUE_METHOD, MethodLineText(j.hasMethod ? j.method.name : "", differs).c_str());
}

bool MethodLineMarked() { return g_methodLineMarked; }

void ChangeMethod(const std::string& method) {
    ProgramSettings& s = g_programSettings;
    const std::string previous = s.methodName;
    if (method == previous) return;
    char standard[kProtocolTextSize];
    ui::GetText(ui::Window::Main, kStandardField, standard, sizeof standard);
    std::string name;
    if (StandardNameFollows(standard, previous, method, &name))
        ui::SetText(ui::Window::Main, kStandardField, name.c_str());
    CopyText(s.methodName, sizeof s.methodName, method);
    ShowMethodAndNorms();
    SaveMethodAndNorm(s);
}

void FollowMethodRename(const std::string& previous, const std::string& renamed) {
    ProgramSettings& s = g_programSettings;
    if (previous.empty() || previous == renamed) return;
    char standard[kProtocolTextSize];
    ui::GetText(ui::Window::Main, kStandardField, standard, sizeof standard);
    if (previous == standard) ui::SetText(ui::Window::Main, kStandardField, renamed.c_str());
    if (previous != s.methodName) return;
    CopyText(s.methodName, sizeof s.methodName, renamed);
    SaveMethodAndNorm(s);
}

void NormChosen() {
    ProgramSettings& s = g_programSettings;
    const Norm* norm = ChosenNorm();
    CopyText(s.normName, sizeof s.normName, norm ? norm->name : std::string());
    ShowNormTip();
    UpdateJudgement();
    SaveMethodAndNorm(s);
}

void ProposeNormForSource() {
    char source[kProtocolTextSize];
    ui::GetText(ui::Window::Main, kSourceField, source, sizeof source);
    // Leaving the field unchanged must not undo a norm the user picked since.
    if (g_lastProposedSource == source) return;
    g_lastProposedSource = source;
    const TestMethod* method = FindMethod(g_normBook, g_programSettings.methodName);
    TestRecord* last = new TestRecord;  // 3416 bytes: not on the window procedure's stack
    if (method && LastJudgedSeriesOf(source, last) && last->verdict.method == method->code) {
        const VerdictBlock& v = last->verdict;
        if (v.normMinimum == 0) SelectNorm(0);
        for (size_t i = 0; v.normMinimum && i < g_listedNorms.size(); ++i) {
            if (g_listedNorms[i].minimum != v.normMinimum || g_listedNorms[i].good != v.normGood) continue;
            SelectNorm(static_cast<int>(i) + 1);
            break;
        }
    }
    delete last;
}

VerdictBlock JudgeFinishedSeries(const TestRecord& record) {
    Judgement j;
    {
        std::lock_guard<platform::Mutex> guard(g_judgementLock);
        j = g_judgement;
    }
    return JudgeSeries(record, j.hasMethod ? &j.method : nullptr, j.norm);
}

void ShowVerdict(const TestRecord& record) {
    // The colour first: setting the text repaints the line.
    g_shownVerdict = record.verdict.present ? EffectiveVerdict(record) : kNoVerdictShown;
    ui::SetText(ui::Window::Main, IDC_VERDICT, ConclusionText(record).c_str());
}

void ClearVerdict() {
    if (g_shownVerdict == kNoVerdictShown) return;
    g_shownVerdict = kNoVerdictShown;
    ui::SetText(ui::Window::Main, IDC_VERDICT, "");
}

uint8_t ShownVerdict() { return g_shownVerdict; }
