// The drawing surface of the printed report. The report is laid out in
// device units derived from the device's resolution, so the same layout
// serves a printer, a preview and a PDF; a Qt adapter draws it for real and
// a recording canvas lets the layout be checked without any window system.
#pragma once

#include <cstdint>
#include <string_view>

namespace orb {

struct CanvasColor {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const CanvasColor&, const CanvasColor&) = default;
};

enum class CanvasPenStyle { Solid, DashDot };

// Resource number of the banner picture at the foot of every report page.
inline constexpr int kBannerBitmapId = 313;

class Canvas {
public:
    virtual ~Canvas() = default;

    // Device units per inch, horizontally and vertically.
    virtual double DotsPerInchX() const = 0;
    virtual double DotsPerInchY() const = 0;

    // Selects a font by face name and size in tenths of a point for the text
    // drawn after it.
    virtual void SetFont(std::string_view face, int tenthsOfPoint) = 0;
    // Draws UTF-8 text whose top-left corner is at (x, y).
    virtual void DrawText(int x, int y, std::string_view utf8) = 0;

    // Selects a pen for the lines drawn after it; ResetPen returns to the
    // device's default pen (solid, black, one unit wide).
    virtual void SetPen(CanvasPenStyle style, int width, CanvasColor color) = 0;
    virtual void ResetPen() = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;

    // Copies a bitmap resource pixel for pixel, top-left corner at (x, y).
    // A bitmap that cannot be loaded is silently left out.
    virtual void DrawBitmap(int x, int y, int resourceId) = 0;
};

}  // namespace orb
