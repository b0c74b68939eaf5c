// The report canvas on a QPainter: one adapter for the printer, the print
// preview and PDF files. Coordinates are device units of the painter's
// device (no transformation), as the report layout expects.
#pragma once

#include <QtGui/QFont>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <functional>
#include <map>
#include <string>

#include "report/canvas.h"

namespace orb {

class QtCanvas : public Canvas {
public:
    // Resolution from the painter's device.
    explicit QtCanvas(QPainter& painter);
    QtCanvas(QPainter& painter, double dotsPerInchX, double dotsPerInchY);

    double DotsPerInchX() const override { return dpiX_; }
    double DotsPerInchY() const override { return dpiY_; }
    void SetFont(std::string_view face, int tenthsOfPoint) override;
    void DrawText(int x, int y, std::string_view utf8) override;
    void SetPen(CanvasPenStyle style, int width, CanvasColor color) override;
    void ResetPen() override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawBitmap(int x, int y, int resourceId) override;
    // Turns each text into what is drawn (the window's language on screen);
    // without one, texts are drawn as they come (printed reports, orb-cli).
    void SetTextFilter(std::function<QString(std::string_view)> filter) { filter_ = std::move(filter); }

private:
    QPainter& painter_;
    double dpiX_, dpiY_;
    std::map<std::pair<std::string, int>, QFont> fonts_;
    int ascent_ = 0;  // of the selected font, in device units
    std::function<QString(std::string_view)> filter_;
};

// The picture of a bitmap resource (the report banner is 313); a null image
// when there is none.
QImage LoadBitmapResource(int resourceId);

}  // namespace orb
