// Draws the banner picture printed at the foot of every report page
// (1437 x 106 pixels, 24-bit colour): the program name beside a well that
// leaves its rig, builds angle and runs out horizontally through the strata,
// with its survey stations marked and the probe at the bottom of the hole.
//
//   orb-banner resources/banner_313.png
#include <QtGui/QFont>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kWidth = 1437;
constexpr int kHeight = 106;
const QColor kNavy(18, 59, 99);
const QColor kStation(224, 122, 31);
const QColor kStrata(214, 226, 236);
const QColor kGrey(110, 120, 130);

void DrawBackground(QPainter& p) {
    QLinearGradient sky(0, 0, kWidth, 0);
    sky.setColorAt(0.0, QColor(255, 255, 255));
    sky.setColorAt(1.0, QColor(236, 243, 249));
    p.fillRect(0, 0, kWidth, kHeight, sky);
    p.fillRect(0, 0, kWidth, 4, kNavy);
    p.fillRect(0, kHeight - 4, kWidth, 4, kNavy);
}

// The sphere the program is named after, with a latitude and a meridian.
void DrawLogo(QPainter& p) {
    const QRectF ball(20, 17, 72, 72);
    QRadialGradient shade(ball.center() - QPointF(14, 14), 60);
    shade.setColorAt(0.0, QColor(120, 170, 215));
    shade.setColorAt(1.0, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(ball);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 2));
    p.drawEllipse(ball.adjusted(0, 22, 0, -22));
    p.drawEllipse(ball.adjusted(22, 0, -22, 0));
    p.setPen(QPen(kStation, 3));
    p.drawLine(QPointF(56, 53), QPointF(56 + 26 * std::sin(0.5), 53 - 26 * std::cos(0.5)));
}

void DrawName(QPainter& p) {
    QFont name("Liberation Sans");
    name.setBold(true);
    name.setPixelSize(64);
    p.setFont(name);
    p.setPen(kNavy);
    p.drawText(QPointF(108, 76), "Orb");

    QFont sub("Noto Sans CJK SC");
    sub.setPixelSize(22);
    p.setFont(sub);
    p.setPen(kGrey);
    p.drawText(QPointF(248, 48), "电子单多点测斜");
    QFont latin("Liberation Sans");
    latin.setPixelSize(17);
    latin.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    p.setFont(latin);
    p.drawText(QPointF(249, 76), "BOREHOLE SURVEY");
}

// Gently waving bedding planes under the ground line.
void DrawStrata(QPainter& p, int left) {
    p.setPen(QPen(kStrata, 2));
    for (int layer = 0; layer < 5; ++layer) {
        QPainterPath bed;
        const double base = 38 + layer * 13;
        bed.moveTo(left, base);
        for (int x = left; x <= kWidth; x += 8) {
            bed.lineTo(x, base + 3 * std::sin((x + layer * 97) / 70.0));
        }
        p.drawPath(bed);
    }
    p.setPen(QPen(kGrey, 2));
    p.drawLine(left, 24, kWidth - 12, 24);
}

void DrawRig(QPainter& p, double x) {
    p.setPen(QPen(kNavy, 2));
    p.setBrush(Qt::NoBrush);
    const QPointF top(x, 6), leftFoot(x - 12, 24), rightFoot(x + 12, 24);
    p.drawLine(top, leftFoot);
    p.drawLine(top, rightFoot);
    p.drawLine(QPointF(x - 8, 18), QPointF(x + 8, 18));
    p.drawLine(QPointF(x - 4, 12), QPointF(x + 4, 12));
}

// Vertical from the rig, a build section, then horizontal to the probe.
QPainterPath WellPath(double x0, double end) {
    QPainterPath well;
    well.moveTo(x0, 24);
    well.lineTo(x0, 36);
    well.cubicTo(x0, 70, x0 + 30, 84, x0 + 90, 84);
    well.lineTo(end, 84);
    return well;
}

void DrawWell(QPainter& p, double x0, double end) {
    const QPainterPath well = WellPath(x0, end);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(well);
    p.setPen(QPen(kNavy, 1.5));
    p.setBrush(kStation);
    const double length = well.length();
    for (double s = 30; s < length - 40; s += 52) {
        p.drawEllipse(well.pointAtPercent(well.percentAtLength(s)), 5, 5);
    }
    // The probe, nose first, at the bottom of the hole.
    p.setBrush(kNavy);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(end - 6, 78, 46, 12), 6, 6);
    p.setBrush(kStation);
    p.drawRect(QRectF(end + 10, 80, 10, 8));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: orb-banner OUT.png\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QImage img(kWidth, kHeight, QImage::Format_RGB888);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawBackground(p);
        DrawLogo(p);
        DrawName(p);
        DrawStrata(p, 468);
        DrawRig(p, 520);
        DrawWell(p, 520, 1370);
    }
    if (!img.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
