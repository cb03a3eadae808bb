// The main window: start-up, the form and its focus keys, commands, closing.
#include "app/win32/main_window.h"

#include <commctrl.h>

#include "app/database_sender.h"
#include "app/format.h"
#include "app/norm_book.h"
#include "app/series_verdict.h"
#include "app/program_settings.h"
#include "app/win32/clipboard_aware.h"
#include "app/resource_ids.h"
#include "app/win32/shell_handles.h"
#include "app/win32/about_box.h"
#include "app/win32/form_autocomplete.h"
#include "app/win32/norms_dialog.h"
#include "app/win32/settings_dialogs.h"
#include "app/win32/window_rules.h"
#include "link/current_record.h"
#include "link/device_state.h"
#include "link/end_of_series.h"
#include "link/link_worker.h"
#include "link/window_ops.h"
#include "platform/clock.h"
#include "platform/win32/dpi.h"
#include "picture/win32/status_picture.h"
#include "platform/win32/window_registry.h"
#include "protocol/win32/protocol_output.h"
#include "results/archive.h"
#include "results/archive_suggestions.h"
#include "results/archive_versions.h"
#include "results/stored_results.h"
#include "results/verdict.h"
#include "results/win32/archive_viewer.h"
#include "results/win32/device_results_viewer.h"
#include "service/win32/service_view.h"
#include "platform/win32/wide.h"

HINSTANCE g_instance = nullptr;
HWND g_serviceView = nullptr;

namespace {

constexpr uint8_t kStartCommand = 0x42;
constexpr uint8_t kStopCommand = 0x41;
constexpr UINT_PTR kSettingsTimer = 1;
// The form and the window placement reach the disk this often when they
// changed, so a crash or a power cut loses at most this much typing.
constexpr UINT kSettingsPeriodMs = 30000;

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

// A protocol must never say what the archive does not hold: texts mended
// since the series was archived go in first as its next version, and that
// version is printed. A series missing from the archive prints as it is.
void ArchiveMendedTexts(TestRecord* record) {
    static TestRecord newest, amended;  // 3416 bytes each; user-interface thread only
    SystemTime ended;
    if (!EndedSeriesTime(&ended)) return;
    record->testTime = ended;
    if (!NewestArchivedVersion(*record, &newest)) return;
    SystemTime now;
    platform::LocalTime(&now);
    if (!AmendmentNeeded(*record, newest, SecondsSince2000(now), &amended)) {
        *record = newest;  // the version printed is the one archived, its marks included
        return;
    }
    if (!ArchiveAppend(amended)) return;
    *record = amended;
    ArchivedTexts().Take(amended);
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
            PostWorkerCommand(kStartCommand);
            SetFocus(GetDlgItem(window, IDC_STOP));
            return true;
        case IDC_STOP: PostWorkerCommand(kStopCommand); return true;
        case IDC_PRINT:
        case CMD_SAVE_PROTOCOL: {
            static TestRecord copy;  // 3416 bytes; only the user-interface thread gets here
            RecordWithFormTexts(window, &copy);
            ArchiveMendedTexts(&copy);
            if (id == IDC_PRINT)
                PrintProtocol(copy);
            else
                SaveProtocolRtf(copy);
            return true;
        }
        case CMD_ARCHIVE: ShowArchiveViewer(); return true;
        case CMD_OPEN_ARCHIVE: ShowOtherArchive(); return true;
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
            return TRUE;
        default: return FALSE;
    }
}
