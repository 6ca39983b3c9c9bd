// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "picture/DrawingSurface.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vibrona::testing {

struct Point {
    std::int32_t x;
    std::int32_t y;
    friend bool operator==(const Point &, const Point &) = default;
    friend std::ostream &operator<<(std::ostream &out, const Point &p) { return out << '(' << p.x << ", " << p.y << ')'; }
};

// A rectangle as drawn, with the pen and brush in force at that moment.
struct DrawnRectangle {
    PixelRect corners;
    Color pen;
    Color brush;
};

// A surface that records every call, in order, as text ("LineTo(200, 16)"),
// and keeps the pen and brush so that the fills can be checked. The calls go
// into `log` where one is given, so that they interleave with a window's.
class RecordingSurface : public DrawingSurface {
public:
    explicit RecordingSurface(PixelRect clip = {0, 0, 377, 673}, std::vector<std::string> *log = nullptr)
        : m_clip(clip), m_log(log ? log : &m_calls)
    {
    }
    RecordingSurface(const RecordingSurface &) = delete;
    RecordingSurface &operator=(const RecordingSurface &) = delete;

    void setPenColor(Color color) override
    {
        m_pen = color;
        record("Pen.Color " + std::to_string(color));
    }
    void setPenWidth(std::int32_t width) override { record("Pen.Width " + std::to_string(width)); }
    void setPenStyle(PenStyle) override { record("Pen.Style psSolid"); }
    void setBrushColor(Color color) override
    {
        m_brush = color;
        record("Brush.Color " + std::to_string(color));
    }
    void MoveTo(std::int32_t x, std::int32_t y) override { record("MoveTo" + pair(x, y)); }
    void LineTo(std::int32_t x, std::int32_t y) override
    {
        m_lines.push_back({x, y});
        record("LineTo" + pair(x, y));
    }
    void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        m_rectangles.push_back({{x1, y1, x2, y2}, m_pen, m_brush});
        record("Rectangle" + quad(x1, y1, x2, y2));
    }
    void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override
    {
        record("Ellipse" + quad(x1, y1, x2, y2));
    }
    PixelRect clipRect() const override { return m_clip; }
    void fillRect(const PixelRect &r) override { record("FillRect" + quad(r.left, r.top, r.right, r.bottom)); }

    const std::vector<std::string> &calls() const { return m_calls; }
    const std::vector<Point> &lines() const { return m_lines; }
    const std::vector<DrawnRectangle> &rectangles() const { return m_rectangles; }
    Color pen() const { return m_pen; }
    Color brush() const { return m_brush; }

private:
    void record(std::string call) { m_log->push_back(std::move(call)); }
    static std::string pair(std::int32_t a, std::int32_t b)
    {
        return "(" + std::to_string(a) + ", " + std::to_string(b) + ")";
    }
    static std::string quad(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
    {
        return "(" + std::to_string(a) + ", " + std::to_string(b) + ", " + std::to_string(c) + ", " +
               std::to_string(d) + ")";
    }

    PixelRect m_clip;
    Color m_pen = clBlack;
    Color m_brush = clWhite;
    std::vector<std::string> m_calls;
    std::vector<std::string> *m_log;
    std::vector<Point> m_lines;
    std::vector<DrawnRectangle> m_rectangles;
};

} // namespace vibrona::testing
