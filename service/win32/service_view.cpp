// The service view, dialog 600: raw instrument data, the series list, the
// remote keypad and the run-in switch.
#include "service/win32/service_view.h"

#include <commctrl.h>

#include "common/format.h"
#include "common/program_settings.h"
#include "common/win32/list_columns.h"
#include "link/device_state.h"
#include "link/frames.h"
#include "link/link_worker.h"
#include "platform/win32/dpi.h"
#include "platform/win32/window_registry.h"
#include "service/service_view_ids.h"
#include "service/service_view_layout.h"
#include "service/win32/service_graphs.h"
#include "service/win32/service_view_shell.h"

namespace {

// What the shell lent the service view; read on the user-interface thread only.
ServiceViewShell g_shell;

constexpr int kValueColumns = 6;
constexpr int kValueColumnWidth = 55;
const ListColumn kOtherColumns[] = {
    {"Среднее", 60},        {"Ср. кв. ошибка", 60}, {"К. вариации", 60},
    {"Причина сброса", 60}, {"Кол-во сбросов", 60}, {"Время", 90},
};
constexpr int kColumnCount = kValueColumns + sizeof kOtherColumns / sizeof kOtherColumns[0];

struct Key {
    int buttonId;
    uint8_t command;
};

const Key kKeys[] = {
    {IDC_SERVICE_KEY_UP, command::kUp},     {IDC_SERVICE_KEY_DOWN, command::kDown},
    {IDC_SERVICE_KEY_START, command::kStart}, {IDC_SERVICE_KEY_MENU, command::kMenu},
    {IDC_SERVICE_KEY_SELECT, command::kSelect}, {IDC_SERVICE_KEY_STOP, command::kStop},
};

// The standard test parameters: 6 measurements, table lift 0; pause 5 min,
// pre-test delay and sound on; 2.0 kV/s up to 100.0 kV.
constexpr uint8_t kStandardCountAndLift = 6;
constexpr uint8_t kStandardPauseAndFlags = 0xC5;
constexpr uint16_t kStandardRiseRate = 20;
constexpr uint16_t kStandardMaxVoltage = 1000;

// The value columns are headed by FormatWhole of 1..6 ("1 " .. "6 ").
void InsertColumns(HWND list) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    char digits[kValueColumns][256];
    ListColumn columns[kColumnCount];
    for (int c = 0; c < kValueColumns; ++c) {
        FormatWhole(digits[c], static_cast<float>(c + 1));
        columns[c] = {digits[c], kValueColumnWidth};
    }
    for (int c = kValueColumns; c < kColumnCount; ++c) columns[c] = kOtherColumns[c - kValueColumns];
    InsertListColumns(list, columns, kColumnCount);
}

// Children that do not exist yet (the graphs start later) are skipped.
void LayOut(HWND view) {
    RECT client;
    GetClientRect(view, &client);
    ServiceViewPlace places[kServiceViewPlaces];
    LayOutServiceView(client.right, client.bottom, platform::ScreenDpi(), places);
    for (const ServiceViewPlace& p : places)
        if (HWND child = GetDlgItem(view, p.id)) MoveWindow(child, p.x, p.y, p.width, p.height, TRUE);
}

void LoadStandardSettings() {
    DeviceSettings d = {};
    d.countAndLift = kStandardCountAndLift;
    d.pauseAndFlags = kStandardPauseAndFlags;
    d.riseRate = kStandardRiseRate;
    d.maxVoltage = kStandardMaxVoltage;
    RequestSettingsChange(d);
}

void Command(HWND view, int id) {
    for (const Key& key : kKeys)
        if (key.buttonId == id) return PostWorkerCommand(key.command);
    switch (id) {
        case IDC_SERVICE_GOST: LoadStandardSettings(); break;
        case IDC_SERVICE_ERASE_LOG: g_deviceState.eraseLogRequest = true; break;
        case IDC_SERVICE_DEVICE_LOG:
            g_deviceState.deviceLogRequest = true;
            if (g_shell.showDeviceLog) g_shell.showDeviceLog(view);
            break;
        case IDC_SERVICE_PROGONKA:
            g_programSettings.progonkaMode = IsDlgButtonChecked(view, IDC_SERVICE_PROGONKA) == BST_CHECKED;
            break;
        default: break;
    }
}

INT_PTR CALLBACK ServiceViewProc(HWND view, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            // Known before the graphs start, so the link's first texts find it.
            RegisterWindow(ui::Window::ServiceView, view);
            InsertColumns(GetDlgItem(view, IDC_SERVICE_LIST));
            SendMessageW(view, WM_SIZE, 0, 0);
            StartServiceGraphs(view);
            return TRUE;
        case WM_SIZE: LayOut(view); return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(view, &paint);
            EndPaint(view, &paint);
            // The series graph redraws at once instead of at its next frame.
            if (HWND graph = GetDlgItem(view, IDC_SERVICE_SERIES_GRAPH)) SendMessageW(graph, WM_PAINT, 0, 0);
            return 0;
        }
        case WM_COMMAND: Command(view, LOWORD(wParam)); return 0;
        default: return 0;
    }
}

}  // namespace

void SetServiceViewShell(const ServiceViewShell& shell) { g_shell = shell; }

HWND CreateServiceView(HWND mainWindow) {
    return CreateDialogParamW(g_instance, MAKEINTRESOURCEW(IDD_SERVICE_VIEW), mainWindow, ServiceViewProc, 0);
}
