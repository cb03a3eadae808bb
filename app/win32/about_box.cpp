// The about box: product and versions, the maker, and the maker's web
// address as a link.
#include "app/win32/about_box.h"

#include <shellapi.h>

#include <cstdio>

#include "app/about_box_ids.h"
#include "common/maker_info.h"
#include "common/win32/dialog_placement.h"
#include "app/win32/shell_handles.h"
#include "link/device_state.h"
#include "platform/win32/dpi.h"
#include "platform/win32/wide.h"

namespace {

constexpr COLORREF kBackground = 0x4080FF;
constexpr COLORREF kLinkHot = 0xC10000;
constexpr COLORREF kText = 0x000000;

// One brush for the life of the dialog serves every colour message.
HBRUSH g_background = nullptr;
// The picture enlarged for a screen above 96 DPI, where the texts beside it
// grow with the dialog font. The control gets its own picture back before it
// goes, so each is freed by whoever made it.
HBITMAP g_scaledPicture = nullptr;
HBITMAP g_ownPicture = nullptr;

void ScalePicture(HWND dialog) {
    if (platform::ScreenDpi() == platform::kDesignDpi) return;
    auto original =
        reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size{};
    if (!original || !GetObjectW(original, sizeof size, &size)) return;
    g_scaledPicture = static_cast<HBITMAP>(
        CopyImage(original, IMAGE_BITMAP, platform::Scaled(size.bmWidth), platform::Scaled(size.bmHeight), 0));
    if (!g_scaledPicture) return;
    g_ownPicture = original;
    SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(g_scaledPicture));
}

void RestorePicture(HWND dialog) {
    if (!g_scaledPicture) return;
    SendDlgItemMessageW(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(g_ownPicture));
    DeleteObject(g_scaledPicture);
    g_scaledPicture = nullptr;
}

// Strictly inside the label's rectangle: a point on its edge is outside.
bool OverLabel(HWND dialog, int id, POINT screenPoint) {
    RECT r;
    HWND label = GetDlgItem(dialog, id);
    if (!label || !GetWindowRect(label, &r)) return false;
    return r.left < screenPoint.x && screenPoint.x < r.right && r.top < screenPoint.y && screenPoint.y < r.bottom;
}

bool ClientPointOverLabel(HWND dialog, int id, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(dialog, &p);
    return OverLabel(dialog, id, p);
}

void StartUp(HWND dialog) {
    g_background = CreateSolidBrush(kBackground);
    platform::SetItemText1251(dialog, IDC_ABOUT_MAKER_LINE1, MAKER_NAME_LINE1);
    platform::SetItemText1251(dialog, IDC_ABOUT_MAKER_LINE2, MAKER_NAME_LINE2);
    platform::SetItemText1251(dialog, IDC_ABOUT_CITY, MAKER_CITY);
    platform::SetItemText1251(dialog, IDC_ABOUT_WEB, MAKER_WEB_ADDRESS);
    char version[sizeof g_deviceState.deviceVersion];
    CopyDeviceVersion(version, sizeof version);  // the worker may rewrite it meanwhile
    if (version[0]) {
        char text[256];
        std::snprintf(text, sizeof text, "Версия прибора %s", version);
        platform::SetItemText1251(dialog, IDC_ABOUT_DEVICE_VERSION, text);
    }
    ScalePicture(dialog);
    CentreDialogOnOwner(dialog);
}

void Finish(HWND dialog) {
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: StartUp(dialog); return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                Finish(dialog);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE: Finish(dialog); return TRUE;
        case WM_DESTROY:
            if (g_background) DeleteObject(g_background);
            g_background = nullptr;
            RestorePicture(dialog);
            return FALSE;
        case WM_CTLCOLORDLG:
            SetBkColor(reinterpret_cast<HDC>(wParam), kBackground);
            return reinterpret_cast<INT_PTR>(g_background);
        case WM_CTLCOLORBTN: return reinterpret_cast<INT_PTR>(g_background);
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_ABOUT_WEB) {
                POINT cursor;
                bool hot = GetCursorPos(&cursor) && OverLabel(dialog, IDC_ABOUT_WEB, cursor);
                SetTextColor(dc, hot ? kLinkHot : kText);
            }
            return reinterpret_cast<INT_PTR>(g_background);
        }
        case WM_MOUSEMOVE:
            SetCursor(LoadCursor(nullptr, ClientPointOverLabel(dialog, IDC_ABOUT_WEB, lParam) ? IDC_HAND : IDC_ARROW));
            InvalidateRect(GetDlgItem(dialog, IDC_ABOUT_WEB), nullptr, FALSE);
            return FALSE;
        case WM_LBUTTONDOWN:
            if (ClientPointOverLabel(dialog, IDC_ABOUT_WEB, lParam)) {
                ShellExecuteW(dialog, L"open", platform::Wide(MAKER_WEB_ADDRESS).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            } else if ((wParam & MK_RBUTTON) && ClientPointOverLabel(dialog, IDC_ABOUT_PRODUCT, lParam)) {
                // The build's own marks, for the maker's service staff.
                platform::SetItemText1251(dialog, IDC_ABOUT_VERSION, "5.02");
                platform::SetItemText1251(dialog, IDC_ABOUT_WEB, "Jan 31 2019");
            }
            return FALSE;
        default: return FALSE;
    }
}

}  // namespace

void ShowAboutBox(HWND owner) {
    DialogBoxParamW(g_instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutProc, 0);
}
