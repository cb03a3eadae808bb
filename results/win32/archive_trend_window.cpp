// The "Динамика" window: the trend picture of a sample source, painted with
// GDI into a bitmap that the window shows and "Копировать" puts on the
// clipboard unchanged.
#include "results/win32/archive_trend_window.h"

#include <cstring>
#include <new>
#include <string>

#include "results/shell_ids.h"
#include "common/placement.h"
#include "common/draw_list.h"
#include "common/win32/gdi_frame.h"
#include "common/win32/drawn_window.h"
#include "platform/win32/dpi.h"
#include "results/archive_trend.h"
#include "results/archive_trend_ids.h"
#include "platform/win32/wide.h"

namespace {

constexpr wchar_t kWindowClass[] = L"ArchiveTrendWndClass";
constexpr wchar_t kPictureClass[] = L"ArchiveTrendPictureWndClass";
constexpr char kCaptionPrefix[] = "Динамика: ";
// Pixels of a 96 DPI screen, scaled to the screen's.
constexpr int kWidth = 640, kHeight = 420;
constexpr int kMinWidth = 320, kMinHeight = 240;
// The button strip above the picture.
constexpr int kMargin = 6, kButtonWidth = 100, kButtonHeight = 24;
constexpr int kButtonPoints = 8;  // the dialogs' font size

using platform::Scaled;

int PictureTop() { return Scaled(kButtonHeight + 2 * kMargin); }

// The dialogs' face at the screen's DPI; the stock GUI font stays at the
// size of a 96 DPI screen. Made once, kept while the program runs.
HFONT ButtonFont() {
    static HFONT font = CreateFontW(-MulDiv(kButtonPoints, platform::ScreenDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE,
                                    FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2");
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// What one window holds: the picture as data (computed once, when the
// archive's records were still there) and the bitmap it is painted into at
// the picture's current size.
struct TrendWindow {
    DrawList picture;
    FrameBitmap frame;
    HWND canvas = nullptr;
};

TrendWindow* StateOf(HWND window) { return reinterpret_cast<TrendWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

void Repaint(TrendWindow* state, int width, int height) {
    if (!MakeFrameBitmap(&state->frame, width, height)) return;
    PaintDrawList(state->picture, &state->frame);
    InvalidateRect(state->canvas, nullptr, FALSE);
}

void Layout(HWND window, TrendWindow* state) {
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom - PictureTop();
    SetWindowPos(state->canvas, nullptr, 0, PictureTop(), width, height > 1 ? height : 1,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Repaint(state, width, height);
}

// The bitmap as shown; the clipboard makes a CF_BITMAP of it for those who ask.
void CopyPicture(HWND window, const TrendWindow* state) {
    HGLOBAL dib = FrameAsDib(state->frame);
    if (!dib) return;
    if (!OpenClipboard(window)) {
        GlobalFree(dib);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_DIB, dib)) GlobalFree(dib);
    CloseClipboard();
}

// The bitmap as painted last; it covers the canvas, so nothing is erased.
void ShowFrame(HWND canvas, HDC dc) {
    const TrendWindow* state = StateOf(GetParent(canvas));
    if (state && state->frame.dc)
        BitBlt(dc, 0, 0, state->frame.width, state->frame.height, state->frame.dc, 0, 0, SRCCOPY);
}

LRESULT CALLBACK PictureProc(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DrawnWindow kind = [] {
        DrawnWindow k;
        k.paint = ShowFrame;
        k.keepsBitmap = true;
        return k;
    }();
    return DrawnWindowProc(kind, canvas, message, wParam, lParam);
}

LRESULT CALLBACK TrendProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TrendWindow* state = StateOf(window);
    switch (message) {
        case WM_SIZE:
            if (state && state->canvas && wParam != SIZE_MINIMIZED) Layout(window, state);
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {Scaled(kMinWidth), Scaled(kMinHeight)};
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_TREND_COPY && state) {
                CopyPicture(window, state);
                // Keys go to the focused window; the button would swallow Esc.
                SetFocus(window);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            // The main loop has no IsDialogMessage, so Esc is ours to handle.
            if (wParam == VK_ESCAPE) {
                PostMessageW(window, WM_CLOSE, 0, 0);
                return 0;
            }
            break;
        case WM_NCDESTROY:
            if (state) {
                ReleaseFrameBitmap(&state->frame);
                delete state;
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TrendProc;
    windowClass.hInstance = instance;
    // The program's own icons, as the archive viewer shows them.
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);
    windowClass.lpfnWndProc = PictureProc;
    windowClass.hbrBackground = nullptr;
    windowClass.lpszClassName = kPictureClass;
    RegisterClassExW(&windowClass);
    registered = true;
}

// Children made once the window holds its state, so that the state has one
// owner at every moment: this function until the window exists, then the
// window (released at WM_NCDESTROY).
bool AddChildren(HWND window, TrendWindow* state, HINSTANCE instance) {
    HWND copy = CreateWindowExW(0, L"BUTTON", L"Копировать", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                Scaled(kMargin), Scaled(kMargin), Scaled(kButtonWidth), Scaled(kButtonHeight), window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TREND_COPY)), instance, nullptr);
    if (copy) SendMessageW(copy, WM_SETFONT, reinterpret_cast<WPARAM>(ButtonFont()), FALSE);
    state->canvas = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE, 0, PictureTop(), 1, 1, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TREND_PICTURE)), instance,
                                    nullptr);
    return copy && state->canvas;
}

// The source as the list shows it, without the blanks around it.
std::string Caption(const char* source) {
    const void* zero = std::memchr(source, 0, kProtocolTextSize);
    size_t end = zero ? static_cast<size_t>(static_cast<const char*>(zero) - source) : kProtocolTextSize;
    size_t begin = 0;
    while (begin < end && (source[begin] == ' ' || source[begin] == '\t')) ++begin;
    while (end > begin && (source[end - 1] == ' ' || source[end - 1] == '\t')) --end;
    return kCaptionPrefix + std::string(source + begin, end - begin);
}

}  // namespace

void ShowArchiveTrend(HWND owner, const TestRecord* records, size_t count, const char* source) {
    if (!source) return;
    auto* state = new (std::nothrow) TrendWindow;
    if (!state) return;
    state->picture = BuildArchiveTrend(records, count, source);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClasses(instance);
    // Owned by the root of owner's chain: a window owned by the archive
    // viewer would be destroyed with it.
    HWND keeper = owner ? GetAncestor(owner, GA_ROOTOWNER) : nullptr;
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
    if (owner) {
        RECT o;
        GetWindowRect(owner, &o);
        const Placement p =
            CentreOnOwner({o.left, o.top, o.right - o.left, o.bottom - o.top}, Scaled(kWidth), Scaled(kHeight),
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        x = p.x;
        y = p.y;
    }
    HWND window = CreateWindowExW(0, kWindowClass, platform::Wide(Caption(source)).c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, Scaled(kWidth), Scaled(kHeight), keeper,
                                  nullptr, instance, nullptr);
    if (!window) {
        delete state;
        return;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    if (!AddChildren(window, state, instance)) {
        DestroyWindow(window);
        return;
    }
    Layout(window, state);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}
