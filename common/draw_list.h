#pragma once
// A frame as plain data. The picture and the service graphs compute what they
// draw as such a list with standard C++, so tests can look at it without a GL
// context; the OpenGL code only replays it, op by op, in order.
#include <cstdint>
#include <string>
#include <vector>

struct DrawColor {
    float r, g, b, a;
};

// Every vertex carries the colour that was current when it was added, so a
// batch of lines may change colour from vertex to vertex, as GL allows.
struct DrawPoint {
    float x, y;
    DrawColor color;
};

struct DrawOp {
    enum class Kind : uint8_t {
        Ortho,      // projection: values[0..5] = left, right, bottom, top, near, far
        Clear,      // clear the colour buffer to values[0..2], alpha 0
        Color,      // current colour values[0..3] (also the colour of text drawn next)
        Lines,      // GL_LINES over points[first, first + count)
        LineStrip,  // GL_LINE_STRIP over points[first, first + count)
        Quad,       // one filled quad over 4 points, both faces filled
        Polygon,    // one filled polygon over count points
        Triangle,   // one filled triangle over 3 points
        Blend,      // values[0] != 0: GL_BLEND on with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA); else off
        RasterPos,  // glRasterPos2f(values[0], values[1])
        TextAbove,  // DrawTextAbove of texts[first]
        TextBelow,  // DrawTextBelow of texts[first]
    };
    Kind kind;
    float values[6];
    uint32_t first;
    uint32_t count;
};

struct DrawList {
    std::vector<DrawOp> ops;
    std::vector<DrawPoint> points;
    std::vector<std::string> texts;  // Windows-1251
    DrawColor current{1, 1, 1, 1};

    void Ortho(float l, float r, float b, float t, float n, float f) {
        ops.push_back({DrawOp::Kind::Ortho, {l, r, b, t, n, f}, 0, 0});
    }
    void Clear(float r, float g, float b) { ops.push_back({DrawOp::Kind::Clear, {r, g, b, 0, 0, 0}, 0, 0}); }
    // The current colour: recorded as an op (for text) and given to the
    // vertices added from now on.
    void Color(float r, float g, float b, float a = 1.0f) {
        current = {r, g, b, a};
        ops.push_back({DrawOp::Kind::Color, {r, g, b, a, 0, 0}, 0, 0});
    }
    void Blend(bool on) { ops.push_back({DrawOp::Kind::Blend, {on ? 1.0f : 0.0f, 0, 0, 0, 0, 0}, 0, 0}); }
    void RasterPos(float x, float y) { ops.push_back({DrawOp::Kind::RasterPos, {x, y, 0, 0, 0, 0}, 0, 0}); }
    void Text(bool above, const std::string& text) {
        texts.push_back(text);
        ops.push_back({above ? DrawOp::Kind::TextAbove : DrawOp::Kind::TextBelow, {0, 0, 0, 0, 0, 0},
                       static_cast<uint32_t>(texts.size() - 1), 1});
    }
    // Starts a shape over the points added after it, until the next Begin or
    // another op. Colour changes inside a shape go through SetVertexColor.
    void Begin(DrawOp::Kind kind) {
        ops.push_back({kind, {0, 0, 0, 0, 0, 0}, static_cast<uint32_t>(points.size()), 0});
    }
    void SetVertexColor(float r, float g, float b, float a = 1.0f) { current = {r, g, b, a}; }
    void Point(float x, float y) {
        points.push_back({x, y, current});
        ++ops.back().count;
    }
};
