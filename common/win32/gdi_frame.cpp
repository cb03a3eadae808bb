// GDI painting of drawn frames into a DIB section, for windows that must
// show and hand out the same pixels.
#include "common/win32/gdi_frame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/pixel_frame.h"

namespace {

// One pen and one brush of the current colour, made again only when the
// colour changes.
class Tools {
public:
    explicit Tools(HDC dc) : dc_(dc) {}
    ~Tools() {
        Select(~0u);
    }
    void Select(uint32_t ref) {
        if (ref == ref_) return;
        if (pen_) {
            SelectObject(dc_, GetStockObject(BLACK_PEN));
            SelectObject(dc_, GetStockObject(WHITE_BRUSH));
            DeleteObject(pen_);
            DeleteObject(brush_);
            pen_ = nullptr;
            brush_ = nullptr;
        }
        ref_ = ref;
        if (ref == ~0u) return;
        pen_ = CreatePen(PS_SOLID, 1, ref);
        brush_ = CreateSolidBrush(ref);
        SelectObject(dc_, pen_);
        SelectObject(dc_, brush_);
    }

private:
    HDC dc_;
    uint32_t ref_ = ~0u;
    HPEN pen_ = nullptr;
    HBRUSH brush_ = nullptr;
};

// A line as OpenGL draws it, both end pixels included (LineTo leaves out
// the last one).
void Segment(HDC dc, PixelPoint a, PixelPoint b, uint32_t ref) {
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    SetPixelV(dc, b.x, b.y, ref);
}

// GDI cannot mix a pen or brush with what lies below. A shape drawn while
// blending is on is mixed in afterwards: every pixel it changed becomes
// source * alpha + destination * (1 - alpha), as glBlendFunc(GL_SRC_ALPHA,
// GL_ONE_MINUS_SRC_ALPHA) makes it.
class BlendedShape {
public:
    BlendedShape(FrameBitmap* frame, const POINT* points, size_t count, float alpha)
        : frame_(frame), alpha_(std::max(0.0f, alpha)) {
        if (alpha_ >= 1.0f || count == 0) return;
        long left = points[0].x, right = left, top = points[0].y, bottom = top;
        for (const POINT* p = points; p != points + count; ++p) {
            left = std::min(left, p->x);
            right = std::max(right, p->x);
            top = std::min(top, p->y);
            bottom = std::max(bottom, p->y);
        }
        left_ = static_cast<int>(std::max(0L, left));
        top_ = static_cast<int>(std::max(0L, top));
        right_ = static_cast<int>(std::min<long>(frame->width - 1, right));
        bottom_ = static_cast<int>(std::min<long>(frame->height - 1, bottom));
        if (left_ > right_ || top_ > bottom_) return;
        GdiFlush();
        for (int y = top_; y <= bottom_; ++y)
            below_.insert(below_.end(), Row(y), Row(y) + (right_ - left_ + 1));
    }
    ~BlendedShape() {
        if (below_.empty()) return;
        GdiFlush();
        const uint32_t* old = below_.data();
        for (int y = top_; y <= bottom_; ++y) {
            uint32_t* row = Row(y);
            for (int x = 0; x <= right_ - left_; ++x, ++old) {
                if (row[x] == *old) continue;
                uint32_t mixed = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const float top = static_cast<float>((row[x] >> shift) & 0xFF);
                    const float bottom = static_cast<float>((*old >> shift) & 0xFF);
                    const float value = top * alpha_ + bottom * (1.0f - alpha_) + 0.5f;
                    mixed |= static_cast<uint32_t>(std::min(255.0f, value)) << shift;
                }
                row[x] = mixed;
            }
        }
    }

private:
    uint32_t* Row(int y) { return frame_->pixels + static_cast<size_t>(y) * frame_->width + left_; }
    FrameBitmap* frame_;
    float alpha_;
    int left_ = 0, top_ = 0, right_ = -1, bottom_ = -1;
    std::vector<uint32_t> below_;
};

}  // namespace

bool MakeFrameBitmap(FrameBitmap* frame, int width, int height) {
    ReleaseFrameBitmap(frame);
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as PaintText writes
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) {
        DeleteObject(bitmap);
        return false;
    }
    frame->dc = dc;
    frame->bitmap = bitmap;
    frame->previous = SelectObject(dc, bitmap);
    frame->pixels = static_cast<uint32_t*>(bits);
    frame->width = width;
    frame->height = height;
    return true;
}

void ReleaseFrameBitmap(FrameBitmap* frame) {
    if (frame->dc) {
        SelectObject(frame->dc, frame->previous);
        DeleteDC(frame->dc);
    }
    if (frame->bitmap) DeleteObject(frame->bitmap);
    *frame = FrameBitmap{};
}

void PaintDrawList(const DrawList& list, FrameBitmap* frame) {
    if (!frame->dc) return;
    HDC dc = frame->dc;
    // Before any Ortho, OpenGL's projection is the identity.
    PixelViewport view{-1, 1, -1, 1, frame->width, frame->height};
    Tools tools(dc);
    uint32_t textRef = RefFromColor(list.current);
    PixelPoint raster{0, frame->height - 1};
    bool blending = false;
    std::vector<POINT> corners;
    auto at = [&](uint32_t i) { return ToPixel(view, list.points[i].x, list.points[i].y); };
    auto refOf = [&](uint32_t i) { return RefFromColor(list.points[i].color); };
    auto alphaOf = [&](uint32_t i) { return blending ? list.points[i].color.a : 1.0f; };
    auto segment = [&](uint32_t i) {
        const PixelPoint a = at(i), b = at(i + 1);
        const POINT ends[] = {{a.x, a.y}, {b.x, b.y}};
        BlendedShape blend(frame, ends, 2, alphaOf(i));
        tools.Select(refOf(i));
        Segment(dc, a, b, refOf(i));
    };
    for (const DrawOp& op : list.ops) {
        const float* v = op.values;
        // Points an op may use, never beyond the list.
        const size_t total = list.points.size();
        const uint32_t end =
            op.first < total ? op.first + static_cast<uint32_t>(std::min<size_t>(op.count, total - op.first)) : op.first;
        switch (op.kind) {
            case DrawOp::Kind::Ortho:
                view = {v[0], v[1], v[2], v[3], frame->width, frame->height};
                break;
            case DrawOp::Kind::Clear: {
                const uint32_t ref = RefFromColor({v[0], v[1], v[2], 1});
                tools.Select(ref);
                PatBlt(dc, 0, 0, frame->width, frame->height, PATCOPY);
                break;
            }
            case DrawOp::Kind::Color:
                textRef = RefFromColor({v[0], v[1], v[2], v[3]});
                break;
            case DrawOp::Kind::Lines:
                for (uint32_t i = op.first; i + 1 < end; i += 2) segment(i);
                break;
            case DrawOp::Kind::LineStrip:
                for (uint32_t i = op.first; i + 1 < end; ++i) segment(i);
                break;
            case DrawOp::Kind::Quad:
            case DrawOp::Kind::Polygon:
            case DrawOp::Kind::Triangle:
                if (end - op.first < 3) break;
                corners.clear();
                for (uint32_t i = op.first; i < end; ++i) {
                    const PixelPoint p = at(i);
                    corners.push_back({p.x, p.y});
                }
                {
                    // Filled without an outline, as OpenGL fills: a shape of
                    // width 1 covers one column, one of height 0 nothing.
                    BlendedShape blend(frame, corners.data(), corners.size(), alphaOf(op.first));
                    tools.Select(refOf(op.first));
                    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
                    Polygon(dc, corners.data(), static_cast<int>(corners.size()));
                    SelectObject(dc, pen);
                }
                break;
            case DrawOp::Kind::Blend:
                blending = v[0] != 0.0f;
                break;
            case DrawOp::Kind::RasterPos:
                raster = ToPixel(view, v[0], v[1]);
                break;
            case DrawOp::Kind::TextAbove:
            case DrawOp::Kind::TextBelow:
                if (op.first >= list.texts.size()) break;
                // GDI may still hold shapes back; the text goes on top of them.
                GdiFlush();
                raster.x = PaintText(frame->pixels, frame->width, frame->height, raster, list.texts[op.first].c_str(),
                                     textRef, op.kind == DrawOp::Kind::TextAbove);
                break;
        }
    }
    GdiFlush();
}

HGLOBAL FrameAsDib(const FrameBitmap& frame) {
    if (!frame.pixels) return nullptr;
    const size_t row = static_cast<size_t>(frame.width) * 4;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + row * frame.height);
    if (!memory) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(memory));
    if (!header) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memset(header, 0, sizeof *header);
    header->biSize = sizeof *header;
    header->biWidth = frame.width;
    header->biHeight = frame.height;  // bottom-up, what every reader of CF_DIB takes
    header->biPlanes = 1;
    header->biBitCount = 32;
    header->biCompression = BI_RGB;
    header->biSizeImage = static_cast<DWORD>(row * frame.height);
    auto* rows = reinterpret_cast<uint8_t*>(header + 1);
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(rows + row * (frame.height - 1 - y), frame.pixels + static_cast<size_t>(y) * frame.width, row);
    GlobalUnlock(memory);
    return memory;
}
