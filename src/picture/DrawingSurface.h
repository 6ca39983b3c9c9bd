// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vibrona {

// A colour as a 32-bit number with red in the lowest byte: 0x00BBGGRR.
using Color = std::uint32_t;
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clWhite = 0xFFFFFF;

enum class PenStyle { psSolid };

// A rectangle of pixels: left and top inside, right and bottom just outside.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const PixelRect &, const PixelRect &) = default;
};

// What the picture is drawn on: a pen for lines and outlines, a brush for
// fills, and a current position for MoveTo and LineTo. Coordinates are
// pixels, origin top left, y downwards; what lies beyond the surface's edges
// is clipped without error.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual void setPenColor(Color color) = 0;
    virtual void setPenWidth(std::int32_t width) = 0;
    virtual void setPenStyle(PenStyle style) = 0;
    virtual void setBrushColor(Color color) = 0;

    virtual void MoveTo(std::int32_t x, std::int32_t y) = 0;
    // A line with the pen from the current position to (x, y), which then
    // becomes the current position.
    virtual void LineTo(std::int32_t x, std::int32_t y) = 0;
    // The axis-parallel rectangle with corners (x1, y1) and (x2, y2),
    // outlined with the pen and filled with the brush.
    virtual void Rectangle(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;
    // The ellipse inscribed in that rectangle; the corners may come in either order.
    virtual void Ellipse(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) = 0;

    // The part of the surface that drawing may reach.
    virtual PixelRect clipRect() const = 0;
    // Fills the rectangle with the brush, without outline.
    virtual void fillRect(const PixelRect &rect) = 0;
};

} // namespace vibrona
