// The OpenGL layer of the drawn windows: pixel format, colour values, the
// bitmap font's display lists and the replay of a computed frame.
#include "common/win32/gl_support.h"

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "common/color.h"
#include "common/font_glyphs.h"

namespace {

// Transform, viewport, stencil and depth groups: what a text call may touch.
constexpr GLbitfield kTextAttribMask = 0x1D00;
constexpr GLsizei kFontListCount = 1024;  // the two sets use the first 512
constexpr int kSetBelow = 256;
constexpr GLfloat kCellWidth = 16, kCellHeight = 12;

void ColorFrom(const DrawColor& c) { glColor4f(c.r, c.g, c.b, c.a); }

void Vertices(const DrawList& list, const DrawOp& op) {
    for (uint32_t i = op.first; i < op.first + op.count && i < list.points.size(); ++i) {
        const DrawPoint& p = list.points[i];
        ColorFrom(p.color);
        glVertex2f(p.x, p.y);
    }
}

void DrawText(const BitmapFont& font, const char* text, int set) {
    glPushAttrib(kTextAttribMask);
    glListBase(font.base + set);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

// Wine (8 at least) renders a child window's GL frames into an offscreen X
// window whose copy never reaches the screen: the window stays as its
// background brush left it. There the context renders into a hidden popup
// of the same size instead, and every frame is copied into the child
// through GDI, which Wine shows like any other drawing.
bool RunningUnderWine() {
    static const bool wine = [] {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
}

bool PaintWithGdi() {
    static const bool gdi = [] {
        wchar_t value[8] = L"";
        const DWORD length = GetEnvironmentVariableW(L"ORLA_OPENGL", value, 8);
        return RunningUnderWine() && !(length == 1 && value[0] == '1');
    }();
    return gdi;
}

HWND MakeHiddenStandIn(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, client.right, client.bottom, nullptr, nullptr,
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)), nullptr);
}

// The stand-in's drawable must hold the whole viewport of a window that
// has been resized since.
void FollowTargetSize(HWND standIn, HWND target) {
    if (!standIn || !target) return;
    RECT want, have;
    GetClientRect(target, &want);
    GetClientRect(standIn, &have);
    if (want.right != have.right || want.bottom != have.bottom)
        SetWindowPos(standIn, nullptr, 0, 0, want.right, want.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The frame in the back buffer, drawn into the target window's DC.
void CopyFrameThroughGdi(HDC target) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    if (width <= 0 || height <= 0) return;
    thread_local std::vector<uint32_t> pixels;
    pixels.resize(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadBuffer(GL_BACK);
    glReadPixels(viewport[0], viewport[1], width, height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels.data());
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as GL reads
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(target, viewport[0], 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
}

}  // namespace

bool SetupPixelFormat(HDC dc) {
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof pfd);
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 16;
    pfd.cDepthBits = 16;
    int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0) {
        MessageBoxW(nullptr, L"ChoosePixelFormat failed", L"Error", MB_OK);
        return false;
    }
    if (!SetPixelFormat(dc, format, &pfd)) {
        MessageBoxW(nullptr, L"SetPixelFormat failed", L"Error", MB_OK);
        return false;
    }
    return true;
}

bool MakeWindowContext(HWND window, HGLRC* context) {
    *context = nullptr;
    HWND target = RunningUnderWine() ? MakeHiddenStandIn(window) : nullptr;
    if (!target) target = window;
    // The DC stays with the context for the life of the window.
    HDC dc = GetDC(target);
    if (!SetupPixelFormat(dc)) return false;
    *context = wglCreateContext(dc);
    if (*context && !wglMakeCurrent(dc, *context)) {
        wglDeleteContext(*context);
        *context = nullptr;
    }
    return true;
}

void SetClearColorRef(uint32_t color) {
    DrawColor c = ColorFromRef(color);
    glClearColor(c.r, c.g, c.b, 0.0f);
}

void SetColorRef(uint32_t color) {
    DrawColor c = ColorFromRef(color);
    glColor3f(c.r, c.g, c.b);
}

void BuildBitmapFont(BitmapFont* font) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // rows of 2 bytes, packed
    font->base = glGenLists(kFontListCount);
    for (int set = 0; set < 2; ++set) {
        GLfloat yOrigin = set == 0 ? -2.0f : kCellHeight;
        for (int n = 0; n < 256; ++n) {
            glNewList(font->base + set * kSetBelow + n, GL_COMPILE);
            glBitmap(static_cast<GLsizei>(kCellWidth), static_cast<GLsizei>(kCellHeight), 0.0f, yOrigin,
                     static_cast<GLfloat>(GlyphAdvance(static_cast<uint8_t>(n))), 0.0f, kFontGlyphs[n]);
            glEndList();
        }
    }
}

void DrawTextAbove(const BitmapFont& font, const char* text) { DrawText(font, text, 0); }
void DrawTextBelow(const BitmapFont& font, const char* text) { DrawText(font, text, kSetBelow); }

bool MakeDrawnTarget(HWND window, bool withFont, DrawnTarget* target) {
    RECT client;
    GetClientRect(window, &client);
    if (PaintWithGdi()) {
        target->gdi = true;
        MakeFrameBitmap(&target->bitmap, client.right, client.bottom);
        return true;
    }
    if (!MakeWindowContext(window, &target->context)) return false;
    if (target->context) {
        SetClearColorRef(0);
        if (withFont) BuildBitmapFont(&target->font);
        glViewport(0, 0, client.right, client.bottom);
    }
    return true;
}

void ResizeDrawnTarget(DrawnTarget* target, int width, int height) {
    if (target->gdi) {
        if (width != target->bitmap.width || height != target->bitmap.height)
            MakeFrameBitmap(&target->bitmap, width, height);
    } else if (target->context) {
        glViewport(0, 0, width, height);
    }
}

void ReplayDrawList(const DrawList& list, DrawnTarget* target, HDC dc) {
    if (target->gdi) {
        PaintDrawList(list, &target->bitmap);
        BitBlt(dc, 0, 0, target->bitmap.width, target->bitmap.height, target->bitmap.dc, 0, 0, SRCCOPY);
        return;
    }
    if (!target->context) return;
    const BitmapFont* font = target->font.base ? &target->font : nullptr;
    // A context on another window than the shown one draws into a stand-in
    // (see MakeWindowContext); DCs differ anyway, as GetDC makes new ones.
    HDC glDc = wglGetCurrentDC();
    HWND glWindow = glDc ? WindowFromDC(glDc) : nullptr, shown = WindowFromDC(dc);
    const bool standIn = glWindow && shown && glWindow != shown;
    if (standIn) FollowTargetSize(glWindow, shown);
    for (const DrawOp& op : list.ops) {
        const float* v = op.values;
        switch (op.kind) {
            case DrawOp::Kind::Ortho:
                glMatrixMode(GL_PROJECTION);
                glLoadIdentity();
                glOrtho(v[0], v[1], v[2], v[3], v[4], v[5]);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                break;
            case DrawOp::Kind::Clear:
                glClearColor(v[0], v[1], v[2], 0.0f);
                glClear(GL_COLOR_BUFFER_BIT);
                break;
            case DrawOp::Kind::Color:
                glColor4f(v[0], v[1], v[2], v[3]);
                break;
            case DrawOp::Kind::Lines:
            case DrawOp::Kind::LineStrip:
                glBegin(op.kind == DrawOp::Kind::Lines ? GL_LINES : GL_LINE_STRIP);
                Vertices(list, op);
                glEnd();
                break;
            case DrawOp::Kind::Quad:
            case DrawOp::Kind::Polygon:
            case DrawOp::Kind::Triangle:
                glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
                glBegin(op.kind == DrawOp::Kind::Quad ? GL_QUADS
                        : op.kind == DrawOp::Kind::Triangle ? GL_TRIANGLES
                                                            : GL_POLYGON);
                Vertices(list, op);
                glEnd();
                break;
            case DrawOp::Kind::Blend:
                if (v[0] != 0.0f) {
                    glEnable(GL_BLEND);
                    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
                } else {
                    glDisable(GL_BLEND);
                }
                break;
            case DrawOp::Kind::RasterPos:
                glRasterPos2f(v[0], v[1]);
                break;
            case DrawOp::Kind::TextAbove:
            case DrawOp::Kind::TextBelow:
                if (font && op.first < list.texts.size()) {
                    const char* text = list.texts[op.first].c_str();
                    if (op.kind == DrawOp::Kind::TextAbove) DrawTextAbove(*font, text);
                    else DrawTextBelow(*font, text);
                }
                break;
        }
    }
    if (standIn) {
        CopyFrameThroughGdi(dc);
        SwapBuffers(glDc);
    } else {
        SwapBuffers(dc);
    }
}

void RegisterDrawnWindowClass(const wchar_t* name, WNDPROC procedure, HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

DWORD RunDrawnWindowLoop(HWND window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    return static_cast<DWORD>(message.wParam);
}
