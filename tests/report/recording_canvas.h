// A canvas that only records what is drawn on it, with the font and pen in
// force at the time, so page layouts can be checked position by position.
#pragma once

#include <string>
#include <vector>

#include "report/canvas.h"

namespace orb::test {

struct DrawnText {
    int x, y;
    std::string text;
    std::string face;
    int tenthsOfPoint;
};

struct DrawnLine {
    int x1, y1, x2, y2;
    CanvasPenStyle style;
    int width;
    CanvasColor color;
};

struct DrawnBitmap {
    int x, y, id;
};

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(double dpi) : dpiX_(dpi), dpiY_(dpi) {}
    RecordingCanvas(double dpiX, double dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}

    double DotsPerInchX() const override { return dpiX_; }
    double DotsPerInchY() const override { return dpiY_; }
    void SetFont(std::string_view face, int tenths) override {
        face_ = face;
        size_ = tenths;
    }
    void DrawText(int x, int y, std::string_view utf8) override {
        texts.push_back({x, y, std::string(utf8), face_, size_});
    }
    void SetPen(CanvasPenStyle style, int width, CanvasColor color) override {
        style_ = style;
        width_ = width;
        color_ = color;
    }
    void ResetPen() override { SetPen(CanvasPenStyle::Solid, 1, CanvasColor{0, 0, 0}); }
    void DrawLine(int x1, int y1, int x2, int y2) override {
        lines.push_back({x1, y1, x2, y2, style_, width_, color_});
    }
    void DrawBitmap(int x, int y, int id) override { bitmaps.push_back({x, y, id}); }

    // The first text drawn with exactly this content, or nullptr.
    const DrawnText* Find(const std::string& text) const {
        for (const auto& t : texts) {
            if (t.text == text) return &t;
        }
        return nullptr;
    }
    // Texts drawn at this y, left to right in drawing order.
    std::vector<DrawnText> AtY(int y) const {
        std::vector<DrawnText> out;
        for (const auto& t : texts) {
            if (t.y == y) out.push_back(t);
        }
        return out;
    }

    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;
    std::vector<DrawnBitmap> bitmaps;

private:
    double dpiX_, dpiY_;
    std::string face_;
    int size_ = 0;
    CanvasPenStyle style_ = CanvasPenStyle::Solid;
    int width_ = 1;
    CanvasColor color_{};
};

}  // namespace orb::test
