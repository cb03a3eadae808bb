// The service graph windows 660 and 661: their class, one thread with its own
// rendering context and font per graph, and the 100 ms redraw from the
// service history.
#include "service/win32/service_graphs.h"

#include <atomic>

#include "common/win32/drawn_window.h"
#include "common/win32/gl_support.h"
#include "platform/threads.h"
#include "platform/win32/dpi.h"
#include "service/service_graphs.h"
#include "service/service_history.h"
#include "service/service_view_ids.h"

namespace {

constexpr wchar_t kClassName[] = L"ServiceGraphWndClass";
constexpr DWORD kStartDelayMilliseconds = 50;
constexpr UINT kFrameMilliseconds = 100;
constexpr UINT_PTR kFrameTimer = 0;
// WS_CHILD | WS_VISIBLE and the class-specific bit 0x4; the view places and
// sizes the graphs in its WM_SIZE, so the first rectangle is a stand-in.
constexpr DWORD kGraphStyle = 0x50000004;
constexpr int kFirstX = 0, kFirstY = 160, kFirstWidth = 360, kFirstHeight = 150;

// Each graph thread takes the next id: the first makes the series graph and
// starts the second, which makes the histogram.
std::atomic<int> g_nextGraphId{IDC_SERVICE_SERIES_GRAPH};
HWND g_serviceView = nullptr;

// What a graph's thread draws with; the window points at it once it can draw.
DrawnTarget* TargetOf(HWND window) {
    return reinterpret_cast<DrawnTarget*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void DrawGraph(HWND window, HDC dc) {
    DrawnTarget* target = TargetOf(window);
    if (!target || !target->Ready()) return;
    DrawList frame;
    if (GetDlgCtrlID(window) == IDC_SERVICE_SERIES_GRAPH) {
        SYSTEMTIME today;
        GetLocalTime(&today);
        frame = BuildSeriesGraph(g_serviceHistory, today.wDay, today.wMonth);
    } else {
        frame = BuildVoltageHistogram(g_serviceHistory);
    }
    ReplayDrawList(frame, target, dc);
}

DrawnWindow GraphKind() {
    DrawnWindow kind;
    kind.paint = DrawGraph;
    // Sizes that come before the target exists are taken up when it is made.
    kind.resize = [](HWND window, int width, int height) {
        if (DrawnTarget* target = TargetOf(window)) ResizeDrawnTarget(target, width, height);
    };
    kind.timerId = kFrameTimer;
    kind.frameMilliseconds = kFrameMilliseconds;
    return kind;
}

LRESULT CALLBACK ServiceGraphProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const DrawnWindow kind = GraphKind();
    return DrawnWindowProc(kind, window, message, wParam, lParam);
}

void ServiceGraphThread(void*) {
    Sleep(kStartDelayMilliseconds);
    const int id = g_nextGraphId.fetch_add(1);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    using platform::Scaled;
    HWND window = CreateWindowExW(0, kClassName, L"", kGraphStyle, Scaled(kFirstX), Scaled(kFirstY),
                                  Scaled(kFirstWidth), Scaled(kFirstHeight),
                                  g_serviceView, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                  nullptr);
    if (id == IDC_SERVICE_SERIES_GRAPH) StartServiceGraphs(g_serviceView);

    DrawnTarget target;
    if (!MakeDrawnTarget(window, true, &target)) SendMessageW(window, WM_CLOSE, 0, 0);
    if (target.Ready()) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));

    ExitThread(RunDrawnWindowLoop(window));
}

}  // namespace

void StartServiceGraphs(HWND serviceView) {
    g_serviceView = serviceView;
    // The second call (from the first graph thread) finds the class there.
    RegisterDrawnWindowClass(kClassName, ServiceGraphProc, GetModuleHandleW(nullptr));
    if (!platform::StartThread(ServiceGraphThread, nullptr, true, nullptr)) {
        MessageBoxW(nullptr, L"Невозможно запустить поток OpenGL", L"Ошибка!", MB_OK);
        ExitProcess(0);
    }
}
