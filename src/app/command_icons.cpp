#include "app/command_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

#include "app/command_ids.h"

namespace orb {

namespace {

const QColor kOutline(0x24, 0x33, 0x4A);
const QColor kBlue(0x3C, 0x7D, 0xD9);
const QColor kLightBlue(0xBF, 0xDB, 0xFF);
const QColor kGreen(0x3F, 0xA3, 0x4D);
const QColor kOrange(0xF0, 0x9A, 0x2E);
const QColor kYellow(0xF7, 0xD3, 0x5C);
const QColor kRed(0xD6, 0x45, 0x3D);
const QColor kPaper(0xFB, 0xFB, 0xF7);
const QColor kGrey(0x9A, 0xA3, 0xB0);

using Drawer = std::function<void(QPainter&)>;

QPen Outline(qreal w = 2.0) {
    return QPen(kOutline, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPixmap Render(const Drawer& draw, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pm;
}

void Sheet(QPainter& p, QRectF r) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRoundedRect(r, 1.5, 1.5);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
    p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    QLineF l(to, from);
    QLineF a = l;
    a.setLength(6);
    a.setAngle(l.angle() + 35);
    QLineF b = l;
    b.setLength(6);
    b.setAngle(l.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

void DrawOpen(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kYellow.darker(115));
    p.drawPolygon(QPolygonF({{3, 8}, {12, 8}, {14, 11}, {27, 11}, {27, 26}, {3, 26}}));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({{3, 26}, {8, 15}, {30, 15}, {25, 26}}));
    Arrow(p, {20, 9}, {25, 3}, kGreen);
}

void DrawSave(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(kLightBlue);
    p.drawRect(QRectF(8, 18, 16, 10));
    p.setBrush(kOutline);
    p.drawRect(QRectF(18, 6, 3, 5));
}

void DrawCommTest(QPainter& p) {
    // A probe and a plug with a two-way exchange.
    p.setPen(Outline());
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(2, 11, 9, 10), 2, 2);
    p.drawRoundedRect(QRectF(21, 11, 9, 10), 2, 2);
    Arrow(p, {12, 13}, {20, 13}, kGreen);
    Arrow(p, {20, 19}, {12, 19}, kBlue);
}

void DrawRealTime(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(QColor(0x1E, 0x2B, 0x3A));
    p.drawRoundedRect(QRectF(3, 5, 26, 20), 2, 2);
    p.setPen(QPen(QColor(0x5C, 0xE0, 0x6E), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({{6, 16}, {11, 16}, {13, 10}, {16, 21}, {19, 13}, {21, 16}, {26, 16}}));
    p.setPen(Outline());
    p.drawLine(QPointF(12, 28), QPointF(20, 28));
}

void DrawClock(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(4, 4, 24, 24));
    p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 8));
    p.drawLine(QPointF(16, 16), QPointF(22, 19));
    p.setPen(Outline(1.5));
    for (int i = 0; i < 12; i += 3) {
        QLineF tick(QPointF(16, 16), QPointF(16, 6));
        tick.setAngle(90 - 30 * i);
        tick.setLength(11);
        QLineF inner = tick;
        inner.setLength(9);
        p.drawLine(inner.p2(), tick.p2());
    }
}

void DrawDownload(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(12, 2, 8, 11), 2, 2);  // the probe
    p.setBrush(kLightBlue);
    p.drawPolygon(QPolygonF({{3, 20}, {3, 28}, {29, 28}, {29, 20}, {23, 20}, {21, 24}, {11, 24}, {9, 20}}));
    Arrow(p, {16, 11}, {16, 22}, kGreen);
}

void DrawWorkMode(QPainter& p) {
    QPainterPath gear;
    const QPointF c(16, 16);
    for (int i = 0; i < 8; ++i) {
        QLineF t(c, c + QPointF(13, 0));
        t.setAngle(i * 45.0 - 9);
        QLineF u(c, c + QPointF(13, 0));
        u.setAngle(i * 45.0 + 9);
        QLineF v(c, c + QPointF(10, 0));
        v.setAngle(i * 45.0 + 22.5 - 9);
        QLineF w(c, c + QPointF(10, 0));
        w.setAngle(i * 45.0 + 22.5 + 9);
        if (i == 0)
            gear.moveTo(t.p2());
        else
            gear.lineTo(t.p2());
        gear.lineTo(u.p2());
        gear.lineTo(v.p2());
        gear.lineTo(w.p2());
    }
    gear.closeSubpath();
    gear.addEllipse(c, 4, 4);
    p.setPen(Outline());
    p.setBrush(kOrange);
    p.drawPath(gear);
}

void DrawGrid(QPainter& p, bool onlyChecked) {
    Sheet(p, QRectF(3, 4, 26, 24));
    p.setPen(Outline(1.2));
    for (int r = 0; r < 4; ++r) {
        const qreal y = 7 + r * 5.5;
        const bool checked = !onlyChecked || r % 2 == 0;
        p.setBrush(checked ? kGreen : kPaper);
        p.drawRect(QRectF(6, y, 4, 4));
        p.setPen(QPen(onlyChecked && !checked ? kGrey : kBlue, 2));
        p.drawLine(QPointF(13, y + 2), QPointF(26, y + 2));
        p.setPen(Outline(1.2));
    }
}

void DrawWellInfo(QPainter& p) {
    // A derrick over a well head.
    p.setPen(Qt::NoPen);
    p.setBrush(kLightBlue);
    p.drawPolygon(QPolygonF({{16, 3}, {8, 26}, {24, 26}}));
    p.setPen(Outline());
    p.drawLine(QPointF(16, 3), QPointF(8, 26));
    p.drawLine(QPointF(16, 3), QPointF(24, 26));
    p.drawLine(QPointF(11, 17), QPointF(21, 17));
    p.drawLine(QPointF(13, 10), QPointF(19, 10));
    p.setPen(QPen(kOrange, 2));
    p.drawLine(QPointF(11, 17), QPointF(19, 10));
    p.setPen(Outline());
    p.setBrush(kBlue);
    p.drawRect(QRectF(4, 26, 24, 3));
}

void DrawDepth(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kYellow);
    p.drawRect(QRectF(4, 3, 9, 26));
    p.setPen(Outline(1.5));
    for (int i = 0; i < 6; ++i) p.drawLine(QPointF(4, 6 + i * 4), QPointF(i % 2 ? 8 : 10, 6 + i * 4));
    Arrow(p, {22, 4}, {22, 27}, kBlue);
}

void DrawPrint(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 9));
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10));
    p.setPen(QPen(kBlue, 1.5));
    p.drawLine(QPointF(12, 23), QPointF(20, 23));
    p.drawLine(QPointF(12, 26), QPointF(18, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
}

void DrawAbout(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    p.drawRoundedRect(QRectF(14, 13.5, 4, 11), 1.5, 1.5);
}

void DrawContextHelp(QPainter& p) {
    p.setPen(Outline(1.5));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3, 3}, {3, 22}, {7.5, 17.5}, {11, 25}, {14, 23.5}, {10.5, 16.5}, {16, 16.5}}));
    QFont f;
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kBlue);
    p.drawText(QRectF(15, 6, 16, 24), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawAppIcon(QPainter& p) {
    p.setPen(Outline());
    p.setBrush(kLightBlue);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(kOutline, 1.2));
    for (int i = 0; i < 8; ++i) {
        QLineF t(QPointF(16, 16), QPointF(30, 16));
        t.setAngle(i * 45);
        t.setLength(13);
        QLineF s = t;
        s.setLength(i % 2 ? 11 : 9.5);
        p.drawLine(s.p2(), t.p2());
    }
    p.setPen(Outline(1.5));
    p.setBrush(kOrange);
    p.save();
    p.translate(16, 16);
    p.rotate(30);
    p.drawRoundedRect(QRectF(-3, -11, 6, 22), 3, 3);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(0, -7), 1.5, 1.5);
    p.restore();
}

Drawer DrawerOf(int id) {
    switch (id) {
        case cmd::kFileOpen:
            return DrawOpen;
        case cmd::kFileSave:
            return DrawSave;
        case cmd::kProbeTest:
            return DrawCommTest;
        case cmd::kProbeRealTime:
            return DrawRealTime;
        case cmd::kProbeClock:
            return DrawClock;
        case cmd::kProbeDownload:
            return DrawDownload;
        case cmd::kProbeWorkMode:
            return DrawWorkMode;
        case cmd::kShowAll:
            return [](QPainter& p) { DrawGrid(p, false); };
        case cmd::kShowSelected:
            return [](QPainter& p) { DrawGrid(p, true); };
        case cmd::kWellInfo:
            return DrawWellInfo;
        case cmd::kDepthCalc:
            return DrawDepth;
        case cmd::kFilePrint:
            return DrawPrint;
        case cmd::kAbout:
            return DrawAbout;
        case cmd::kContextHelp:
            return DrawContextHelp;
        default:
            return {};
    }
}

QIcon MakeIcon(const Drawer& draw) {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) icon.addPixmap(Render(draw, size));
    return icon;
}

}  // namespace

QIcon CommandIcon(int id) {
    const Drawer d = DrawerOf(id);
    return d ? MakeIcon(d) : QIcon();
}

QIcon AppIcon() {
    return MakeIcon(DrawAppIcon);
}

}  // namespace orb
