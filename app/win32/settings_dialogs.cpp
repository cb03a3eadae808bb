// The device and program settings dialogs.
#include "app/win32/settings_dialogs.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "database/database_sender.h"
#include "app/device_settings_choice.h"
#include "verdict/method_choice.h"
#include "verdict/norm_book.h"
#include "app/organisation_name_edit.h"
#include "app/program_settings_window.h"
#include "common/program_settings.h"
#include "verdict/series_verdict.h"
#include "app/settings_dialog_ids.h"
#include "common/win32/dialog_placement.h"
#include "app/win32/shell_handles.h"
#include "link/device_state.h"
#include "platform/threads.h"
#include "platform/win32/wide.h"

namespace {

// ---- device settings, dialog 400

DeviceSettingsChoice ChoiceOfLists(HWND dialog) {
    DeviceSettingsChoice choice = {};
    for (int l = 0; l < kDeviceSettingsListCount; ++l)
        choice.index[l] = static_cast<int>(SendDlgItemMessageW(dialog, kDeviceSettingsLists[l].listId, CB_GETCURSEL, 0, 0));
    return choice;
}

int MethodItem(HWND dialog) { return static_cast<int>(SendDlgItemMessageW(dialog, IDC_LIST_METHOD, CB_GETCURSEL, 0, 0)); }

void FillDeviceLists(HWND dialog) {
    const DeviceSettings current = CopyCurrentSettings();
    DeviceSettingsChoice choice = ChoiceFromSettings(current);
    for (int l = 0; l < kDeviceSettingsListCount; ++l) {
        const DeviceSettingsListItems& list = kDeviceSettingsLists[l];
        HWND combo = GetDlgItem(dialog, list.listId);
        for (int i = 0; i < list.itemCount; ++i)
            platform::SendText1251(combo, CB_ADDSTRING, 0, list.items[i]);
        if (choice.extra[l][0]) platform::SendText1251(combo, CB_ADDSTRING, 0, choice.extra[l]);
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(choice.index[l]), 0);
    }
    HWND methods = GetDlgItem(dialog, IDC_LIST_METHOD);
    for (const std::string& item : MethodListItems(g_normBook))
        platform::SendText1251(methods, CB_ADDSTRING, 0, item.c_str());
    int item = MethodItemForSettings(g_normBook, current, g_programSettings.methodName);
    SendMessageW(methods, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

// A method picked: the four lists it decides follow; the other two stay.
void ApplyMethod(HWND dialog) {
    const TestMethod* method = FindMethod(g_normBook, MethodOfItem(g_normBook, MethodItem(dialog)));
    if (!method) return;
    const DeviceSettings current = CopyCurrentSettings();
    DeviceSettingsChoice choice = ChoiceFromSettings(SettingsWithMethod(SettingsFromChoice(ChoiceOfLists(dialog), current), *method));
    for (DeviceSettingsList l : {kListCount, kListPause, kListDelay, kListRate})
        SendDlgItemMessageW(dialog, kDeviceSettingsLists[l].listId, CB_SETCURSEL, static_cast<WPARAM>(choice.index[l]), 0);
}

// A list changed by hand: the method list says which method that now is.
void FollowLists(HWND dialog) {
    const DeviceSettings asked = SettingsFromChoice(ChoiceOfLists(dialog), CopyCurrentSettings());
    int item = MethodItemForSettings(g_normBook, asked, MethodOfItem(g_normBook, MethodItem(dialog)));
    SendDlgItemMessageW(dialog, IDC_LIST_METHOD, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

void AskForDeviceSettings(HWND dialog) {
    RequestSettingsChange(SettingsFromChoice(ChoiceOfLists(dialog), CopyCurrentSettings()));
    ChangeMethod(MethodOfItem(g_normBook, MethodItem(dialog)));
}

void DeviceListChanged(HWND dialog, int id) {
    if (id == IDC_LIST_METHOD)
        ApplyMethod(dialog);
    else
        FollowLists(dialog);
}

INT_PTR CALLBACK DeviceSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CentreDialogOnOwner(dialog);
            FillDeviceLists(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK: AskForDeviceSettings(dialog); EndDialog(dialog, 1); break;
                case IDCANCEL: EndDialog(dialog, 1); break;
                default:
                    if (HIWORD(wParam) == CBN_SELCHANGE) DeviceListChanged(dialog, LOWORD(wParam));
                    break;
            }
            return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

// ---- program settings, dialog 500

constexpr int kTextLimit = 255;
constexpr int kOrganisationLimit = static_cast<int>(sizeof g_programSettings.organisationName) - 1;

void ShowProgramTexts(HWND dialog) {
    // Limits first: what the fields hold is then exactly what OK stores.
    SendDlgItemMessageW(dialog, IDC_ORGANISATION, EM_EXLIMITTEXT, 0, kOrganisationLimit);
    for (int id : {IDC_SERIAL, IDC_DIREKTOR, IDC_DIREKTOR_NAME})
        SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, kTextLimit, 0);

    char name[sizeof g_programSettings.organisationName];
    OrganisationNameForEdit(g_programSettings.organisationName, name, sizeof name);
    platform::SetItemText1251(dialog, IDC_ORGANISATION, name);
    platform::SetItemText1251(dialog, IDC_DIREKTOR, g_programSettings.direktor);
    platform::SetItemText1251(dialog, IDC_DIREKTOR_NAME, g_programSettings.direktorName);
    platform::SetItemText1251(dialog, IDC_SERIAL, g_programSettings.priborSerialNumber);
    SendDlgItemMessageW(dialog, IDC_DATABASE, EM_LIMITTEXT, sizeof g_programSettings.databaseConnection - 1, 0);
    platform::SetItemText1251(dialog, IDC_DATABASE, MaskPassword(g_programSettings.databaseConnection).c_str());
    CheckDlgButton(dialog, IDC_ONLY_APPROVED, g_programSettings.issueOnlyApproved ? BST_CHECKED : BST_UNCHECKED);
}

// The field as typed, with the stored password where its asterisks still stand.
std::string DatabaseField(HWND dialog) {
    char shown[sizeof g_programSettings.databaseConnection];
    platform::ItemTextInto(dialog, IDC_DATABASE, shown, sizeof shown);
    return UnmaskPassword(shown, g_programSettings.databaseConnection);
}

void TakeProgramTexts(HWND dialog) {
    ProgramSettings& s = g_programSettings;
    int n = platform::ItemTextInto(dialog, IDC_ORGANISATION, s.organisationName, sizeof s.organisationName);
    // A CR LF cut in half at the limit would be saved as a stray byte.
    if (n > 0 && s.organisationName[n - 1] == '\r') s.organisationName[n - 1] = 0;
    platform::ItemTextInto(dialog, IDC_DIREKTOR, s.direktor, kTextLimit + 1);
    platform::ItemTextInto(dialog, IDC_DIREKTOR_NAME, s.direktorName, kTextLimit + 1);
    platform::ItemTextInto(dialog, IDC_SERIAL, s.priborSerialNumber, kTextLimit + 1);
    for (char* text : {s.organisationName, s.priborSerialNumber, s.direktor, s.direktorName}) DropTabs(text);
    const std::string connection = DatabaseField(dialog);
    std::snprintf(s.databaseConnection, sizeof s.databaseConnection, "%s", connection.c_str());
    s.issueOnlyApproved = IsDlgButtonChecked(dialog, IDC_ONLY_APPROVED) == BST_CHECKED;
}

// "Проверить" connects from a thread of its own: a database that does not
// answer must not freeze the windows, which the link worker writes to.
constexpr UINT kCheckDone = WM_APP + 1;

struct DatabaseCheckJob {
    HWND dialog;
    std::string connection, serial;
    std::string text;
    bool connected;
};

void RunDatabaseCheck(void* argument) {
    auto* job = static_cast<DatabaseCheckJob*>(argument);
    const DatabaseCheckResult result = CheckDatabase(job->connection, job->serial);
    job->text = DatabaseCheckText(result);
    job->connected = result.connected;
    if (!PostMessageW(job->dialog, kCheckDone, 0, reinterpret_cast<LPARAM>(job))) delete job;
}

void StartDatabaseCheck(HWND dialog) {
    const std::string connection = DatabaseField(dialog);
    if (connection.empty()) {
        platform::MessageBox1251(dialog, kDatabaseOffText, kDatabaseBoxCaption, MB_OK | MB_ICONINFORMATION);
        return;
    }
    char serial[kTextLimit + 1];
    platform::ItemTextInto(dialog, IDC_SERIAL, serial, sizeof serial);
    auto* job = new DatabaseCheckJob{dialog, connection, serial, std::string(), false};
    EnableWindow(GetDlgItem(dialog, IDC_DATABASE_CHECK), FALSE);
    if (!platform::StartThread(RunDatabaseCheck, job, true, nullptr)) {
        delete job;
        EnableWindow(GetDlgItem(dialog, IDC_DATABASE_CHECK), TRUE);
    }
}

void ShowDatabaseCheck(HWND dialog, LPARAM posted) {
    auto* job = reinterpret_cast<DatabaseCheckJob*>(posted);
    EnableWindow(GetDlgItem(dialog, IDC_DATABASE_CHECK), TRUE);
    platform::MessageBox1251(dialog, job->text.c_str(), kDatabaseBoxCaption,
                             MB_OK | (job->connected ? MB_ICONINFORMATION : MB_ICONERROR));
    delete job;
}

// The name field's own procedure; one settings dialog is open at a time.
// Subclassed by its window procedure, as the clipboard-aware fields are:
// comctl32's SetWindowSubclass is not among the imports that
// tests/imports finds documented for Windows XP SP3 and 7 SP1.
WNDPROC g_nameFieldProcedure = nullptr;

// Tab in the name field only moves the focus: the field's own Tab handling
// moves it and then took the tab character too.
LRESULT CALLBACK NameFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR && wParam == '\t') return 0;
    LRESULT result = CallWindowProcW(g_nameFieldProcedure, field, message, wParam, lParam);
    if (message == WM_GETDLGCODE) {
        result &= ~DLGC_WANTTAB;
        const MSG* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB)
            result &= ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
    }
    return result;
}

void SubclassNameField(HWND field) {
    g_nameFieldProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NameFieldProc)));
}

// The default focus selects the whole name, and one stray Enter then
// replaces it by an empty line that OK would store.
void PlaceCaretAfterName(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_ORGANISATION);
    SetFocus(edit);
    LONG end = GetWindowTextLengthW(edit);  // at least the length; the control keeps it in range
    CHARRANGE caret = {end, end};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
}

INT_PTR CALLBACK ProgramSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            CentreDialogOnOwner(dialog);
            ShowProgramTexts(dialog);
            SubclassNameField(GetDlgItem(dialog, IDC_ORGANISATION));
            PlaceCaretAfterName(dialog);
            return FALSE;  // the focus is set
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDOK:
                    TakeProgramTexts(dialog);
                    // On disk now: a first start's entries must survive a crash.
                    if (!SaveProgramSettings(g_programSettings))
                        platform::MessageBox1251(dialog, kSettingsNotSaved, "Ошибка!", MB_OK | MB_ICONERROR);
                    ConfigureDatabaseSender(g_programSettings.databaseConnection, g_programSettings.priborSerialNumber);
                    EndDialog(dialog, 1);
                    break;
                case IDCANCEL: EndDialog(dialog, 1); break;
                case IDC_DATABASE_CHECK: StartDatabaseCheck(dialog); break;
                default: break;
            }
            return TRUE;
        case kCheckDone: ShowDatabaseCheck(dialog, lParam); return TRUE;
        case WM_CLOSE: EndDialog(dialog, 1); return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void ShowDeviceSettingsDialog(HWND owner) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_DEVICE_SETTINGS), owner, DeviceSettingsProc, 0);
}

// Without Riched20.dll the template cannot be made and nothing opens.
void ShowProgramSettingsDialog(HWND owner) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_PROGRAM_SETTINGS), owner, ProgramSettingsProc, 0);
}
