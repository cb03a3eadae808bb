// The main window: start-up, the form and its focus keys, commands, closing.
#include "app/win32/main_window.h"

#include <commctrl.h>

#include <cstring>

#include "database/database_sender.h"
#include "common/format.h"
#include "app/number_check.h"
#include "verdict/norm_book.h"
#include "verdict/series_verdict.h"
#include "app/program_settings_window.h"
#include "common/program_settings.h"
#include "common/win32/clipboard_aware.h"
#include "app/resource_ids.h"
#include "app/win32/shell_handles.h"
#include "app/main_window_ops.h"
#include "app/win32/about_box.h"
#include "app/win32/form_autocomplete.h"
#include "verdict/win32/norms_dialog.h"
#include "journal/win32/journal_window.h"
#include "journal/win32/amendment_dialog.h"
#include "app/win32/settings_dialogs.h"
#include "app/window_rules.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/frames.h"
#include "app/ended_series.h"
#include "link/link_worker.h"
#include "app/unarchived_series.h"
#include "platform/clock.h"
#include "platform/win32/dpi.h"
#include "picture/win32/status_picture.h"
#include "platform/win32/window_registry.h"
#include "protocol/win32/protocol_output.h"
#include "results/archive.h"
#include "results/amendment_rules.h"
#include "results/archive_suggestions.h"
#include "results/archive_versions.h"
#include "results/stored_results.h"
#include "verdict/verdict.h"
#include "results/win32/archive_viewer.h"
#include "results/win32/device_results_viewer.h"
#include "service/win32/service_view.h"
#include "platform/win32/wide.h"

HWND g_serviceView = nullptr;

namespace {

constexpr UINT_PTR kSettingsTimer = 1;
// The form and the window placement reach the disk this often when they
// changed, so a crash or a power cut loses at most this much typing.
constexpr UINT kSettingsPeriodMs = 30000;
// A finished series log.dat refused is tried again when its period is due.
constexpr UINT_PTR kArchiveRetryTimer = 2;
constexpr UINT kArchiveRetryTickMs = 1000;

// The verdict line's colour: green for a pass, red for a fail or an invalid
// series, dark yellow for the fair band, the window's own text otherwise.
COLORREF VerdictColour(uint8_t verdict) {
    switch (verdict) {
        case kVerdictMeets: return RGB(0, 128, 0);
        case kVerdictFair: return RGB(160, 110, 0);
        case kVerdictFails:
        case kVerdictInvalid: return RGB(200, 0, 0);
        default: return GetSysColor(COLOR_BTNTEXT);
    }
}

INT_PTR ColourStatic(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (id == IDC_VALUE_METHOD)
        SetTextColor(dc, MethodLineMarked() ? VerdictColour(kVerdictFails) : GetSysColor(COLOR_BTNTEXT));
    else if (id == IDC_VERDICT)
        SetTextColor(dc, VerdictColour(ShownVerdict()));
    else if (id == IDC_ARCHIVE_STATE)
        SetTextColor(dc, VerdictColour(kVerdictFails));
    else
        return FALSE;
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

// Notifications of the norm list and the form's fields.
bool Notification(int id, int code) {
    if (id == IDC_NORM_CHOICE && code == CBN_SELCHANGE) NormChosen();
    else if (id == kFirstFormField + 3 && code == EN_KILLFOCUS) ProposeNormForSource();
    else if (id >= kFirstFormField && id <= kLastFormField && code == EN_SETFOCUS) RefreshFormAutocomplete(id);
    else if (id == IDC_ARCHIVE_STATE && code == STN_CLICKED) RetryUnarchivedSeries(true);
    else return false;
    return true;
}

void StartUp(HWND window) {
    RegisterWindow(ui::Window::Main, window);
    RegisterStatusBar(CreateStatusWindowW(WS_CHILD | WS_VISIBLE, L"Запуск программы...", window, 0));

    ClearStoredResults();
    {
        std::lock_guard<platform::Mutex> guard(g_currentRecordLock);
        FillProtocolSlots(g_currentRecord, platform::CycleCounterLow());
    }
    for (int id = kFirstFormField; id <= kLastFormField; ++id) {
        MakeClipboardAware(GetDlgItem(window, id));
        // The record holds 255 characters a text; more would be cut from
        // the protocol without the user seeing it.
        SendDlgItemMessageW(window, id, EM_LIMITTEXT, kProtocolTextSize - 1, 0);
    }
    StartStatusPicture(window);

    SetStatusText("Чтение настроек программы...");
    LoadProgramSettings(g_programSettings);
    RestoreFormText(g_programSettings);
    LoadArchivedTexts(&ArchivedTexts());
    AttachFormAutocomplete(window);
    g_normBook = LoadNormBook(NormBookPath().c_str());
    // The norms' names are long: the closed list shows what fits, its tip the whole name.
    ui::AttachToolTip(ui::Window::Main, IDC_NORM_CHOICE);
    ShowMethodAndNorms();
    if (g_programSettings.firstRun) {
        platform::MessageBox1251(window, "Пожалуйста, заполните!", "Внимание!", MB_OK);
        SendMessageW(window, WM_COMMAND, CMD_PROGRAM_SETTINGS, 0);
    }
    if (g_programSettings.serviceMode) {
        g_serviceView = CreateServiceView(window);
        RegisterWindow(ui::Window::ServiceView, g_serviceView);
        if (g_serviceView && g_programSettings.progonkaMode) CheckDlgButton(g_serviceView, IDC_PROGONKA, BST_CHECKED);
    }
    PlaceMainWindow(window);

    char today[256];
    FormatTodayDate(today);
    platform::SetItemText1251(window, IDC_SAMPLE_DATE, today);
    platform::SetItemText1251(window, IDC_TEST_DATE, today);

    SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_MAIN))));
    EnableProtocolOutput(false);
    SetTimer(window, kSettingsTimer, kSettingsPeriodMs, nullptr);
    SetTimer(window, kArchiveRetryTimer, kArchiveRetryTickMs, nullptr);
    ui::AttachToolTip(ui::Window::Main, IDC_ARCHIVE_STATE);
    // Before the worker: its first archived series must wake the sender.
    ui::AttachToolTip(ui::Window::Main, IDC_DATABASE_STATE);
    const std::string ini = g_programSettings.iniPath;
    StartDatabaseSender(ini.substr(0, ini.find_last_of('\\') + 1));
    ConfigureDatabaseSender(g_programSettings.databaseConnection, g_programSettings.priborSerialNumber);
    StartLinkWorker();
}

// The current record with the form's texts as they stand now.
void RecordWithFormTexts(HWND window, TestRecord* copy) {
    CopyCurrentRecord(copy);
    for (int i = 0; i < kFormFieldCount; ++i)
        platform::ItemTextInto(window, kFirstFormField + i, copy->protocolText[i], kProtocolTextSize);
    KeepArchivedNumber(copy);
}

// What the form's texts read, as a print reads them, when the form last
// matched the archive's newest version of the series it holds (its test time
// names that series). A text that still reads the same the user has not
// changed since; the others are the user's own.
TestRecord g_formBase;
bool g_formBaseSet = false;

// The ended series with the form's texts; false before any series ended.
bool HeldSeriesForm(HWND window, TestRecord* form) {
    SystemTime ended;
    if (!EndedSeriesTime(&ended)) return false;
    RecordWithFormTexts(window, form);
    form->testTime = ended;
    return true;
}

// Until the form has followed a version of its series, it matched the texts
// the series was archived with.
TestRecord& FormBase(const TestRecord& form) {
    if (!g_formBaseSet || !SameSeries(g_formBase, form)) {
        CopyCurrentRecord(&g_formBase);
        g_formBase.testTime = form.testTime;
        g_formBaseSet = true;
    }
    return g_formBase;
}

// Whether the number field shows the number proposed for the next series
// rather than the ended series' own.
bool NumberFieldProposed(HWND window) {
    static TestRecord probe;  // 3416 bytes; user-interface thread only
    char shown[kProtocolTextSize];
    platform::ItemTextInto(window, kFirstFormField, shown, sizeof shown);
    std::memcpy(probe.protocolText[0], shown, sizeof shown);
    KeepArchivedNumber(&probe);
    return std::strcmp(shown, probe.protocolText[0]) != 0;
}

// The fields flagged in changed take their texts; a number field that
// proposes the next series' number keeps it, for the next series. base, when
// given, records that the form now reads those texts.
void ShowFollowedTexts(HWND window, const TestRecord& texts, uint16_t changed, TestRecord* base) {
    const bool proposed = NumberFieldProposed(window);
    char text[kProtocolTextSize];
    for (int k = 0; k < kFormFieldCount; ++k) {
        if (!(changed & (1u << k)) || (k == 0 && proposed)) continue;
        lstrcpynA(text, texts.protocolText[k], sizeof text);  // an archived text may lack its terminator
        platform::SetItemText1251(window, kFirstFormField + k, text);
        if (base) std::memcpy(base->protocolText[k], text, sizeof text);
    }
}

// Runs once the print or file dialog was confirmed. A protocol must never say
// what the archive does not hold: texts mended since the series was archived
// go in first as its next version, and that version is printed. The form
// first follows the newest version where the user changed nothing, so a
// version made in the viewer is never reverted unseen. A series that log.dat
// refused and the program keeps takes the texts printed, and goes in with them.
bool ArchiveMendedTexts(HWND window, TestRecord* record) {
    static TestRecord newest, amended, form;  // 3416 bytes each; user-interface thread only
    SystemTime ended;
    if (!EndedSeriesTime(&ended)) return true;
    record->testTime = ended;
    if (!NewestArchivedVersion(*record, &newest)) {
        TakeTextsIntoKeptSeries(*record);
        return true;
    }
    TestRecord& base = FormBase(*record);
    form = *record;
    ShowFollowedTexts(window, *record, FollowNewestTexts(form, base, newest, record), nullptr);
    SystemTime now;
    platform::LocalTime(&now);
    if (!AmendmentNeeded(*record, newest, SecondsSince2000(now), &amended)) {
        *record = newest;  // the version printed is the one archived, its marks included
    } else {
        // The reason is asked before anything is written: Отмена appends nothing.
        static AmendmentAnswer note;  // user-interface thread only
        if (!AskAmendmentAnswer(window, newest, amended, &note) || !ArchiveAppend(amended)) return false;
        RegisterAmendment(window, amended, note);
        *record = amended;
        ArchivedTexts().Take(amended);
    }
    HeldSeriesForm(window, &form);
    std::memcpy(base.protocolText, form.protocolText, sizeof base.protocolText);
    return true;
}

// Tab and Shift+Tab come as accelerators: the window is no dialog box, so
// nothing else walks the form.
void MoveToField(HWND window, int (*order)(int)) {
    HWND focus = GetFocus();
    if (!focus || GetParent(focus) != window) return;
    if (int next = order(GetDlgCtrlID(focus))) SetFocus(GetDlgItem(window, next));
}

bool Command(HWND window, int id) {
    switch (id) {
        case CMD_NEXT_FIELD: MoveToField(window, NextFormField); return true;
        case CMD_PREVIOUS_FIELD: MoveToField(window, PreviousFormField); return true;
        case CMD_SPACE: return true;  // swallowed: Space must not press buttons or type blanks
        case IDC_START:
            // Greyed by the worker during a transfer; a key or a click that
            // comes before it is refused here.
            if (TransferUnderWay()) return true;
            // Two series under one protocol number only when the user says so.
            if (!StartWithNumberConfirmed()) return true;
            PostWorkerCommand(command::kStart);
            SetFocus(GetDlgItem(window, IDC_STOP));
            return true;
        case IDC_STOP: PostWorkerCommand(command::kStop); return true;
        case IDC_PRINT:
        case CMD_SAVE_PROTOCOL: {
            static TestRecord copy;  // 3416 bytes; only the user-interface thread gets here
            RecordWithFormTexts(window, &copy);
            const ProtocolCommit commit = [window](TestRecord* record) { return ArchiveMendedTexts(window, record); };
            if (id == IDC_PRINT)
                PrintProtocol(copy, commit);
            else
                SaveProtocolRtf(copy, commit);
            return true;
        }
        case CMD_ARCHIVE: ShowArchiveViewer(); return true;
        case CMD_OPEN_ARCHIVE: ShowOtherArchive(); return true;
        case CMD_JOURNAL: ShowJournalWindow(window); return true;
        case CMD_EXIT: SendMessageW(window, WM_CLOSE, 0, 0); return true;
        case CMD_DEVICE_SETTINGS: ShowDeviceSettingsDialog(window); return true;
        case CMD_PROGRAM_SETTINGS: ShowProgramSettingsDialog(window); return true;
        case CMD_NORMS:
            // A norm or method changed or gone: the list must offer what the book holds.
            if (ShowNormsDialog(window)) ShowMethodAndNorms();
            return true;
        case CMD_ABOUT: ShowAboutBox(window); return true;
        case CMD_DEVICE_RESULTS:
            ShowDeviceResultsWindow(window);
            g_deviceState.storedResultsRequest = true;
            return true;
        default: return false;
    }
}

}  // namespace

void FormFollowsAmendment(const TestRecord& amended) {
    static TestRecord form, shown;  // 3416 bytes each; user-interface thread only
    HWND window = WindowHandle(ui::Window::Main);
    if (!window || !HeldSeriesForm(window, &form) || !SameSeries(form, amended)) return;
    TestRecord& base = FormBase(form);
    ShowFollowedTexts(window, amended, FollowNewestTexts(form, base, amended, &shown), &base);
}

INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: StartUp(window); return TRUE;
        case WM_SIZE: LayOutMainWindow(window, lParam); return TRUE;
        case WM_GETMINMAXINFO: LimitMainWindowTracking(reinterpret_cast<MINMAXINFO*>(lParam)); return FALSE;
        case WM_ACTIVATE: InvalidateRect(window, nullptr, FALSE); return TRUE;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            if (HWND picture = GetDlgItem(window, IDC_PICTURE)) SendMessageW(picture, WM_PAINT, 0, 0);
            return TRUE;
        }
        case WM_CLOSE:
            // A series that ends after the program has gone is never archived.
            if (SeriesUnderWay() && platform::MessageBox1251(window, "Идет испытание. Выйти из программы?", "Внимание!",
                                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
                return TRUE;
            if (!MayCloseWithUnarchivedSeries()) return TRUE;
            if (!SaveProgramSettings(g_programSettings))
                platform::MessageBox1251(window, kSettingsNotSaved, "Ошибка!", MB_OK | MB_ICONERROR);
            PostQuitMessage(0);
            return TRUE;
        case WM_COMMAND:
            if (lParam && Notification(LOWORD(wParam), HIWORD(wParam))) return TRUE;
            return Command(window, LOWORD(wParam)) ? TRUE : FALSE;
        case WM_CTLCOLORSTATIC: return ColourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case kPostedMessageBox: ShowPostedMessageBox(lParam); return TRUE;
        case WM_TIMER:
            // A failure here is told at exit, when the last write is tried.
            if (wParam == kSettingsTimer) SaveProgramSettingsIfChanged(g_programSettings);
            if (wParam == kArchiveRetryTimer) RetryUnarchivedSeries(false);
            return TRUE;
        default: return FALSE;
    }
}
