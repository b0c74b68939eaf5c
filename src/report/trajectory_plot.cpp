#include "report/trajectory_plot.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <optional>

#include "core/fixed_text.h"
#include "core/trajectory_csv.h"
#include "report/report_layout.h"

namespace orb {

namespace {

constexpr int kLabelFont = 80;  // tenths of a point
constexpr int kTitleFont = 90;
constexpr const char* kFace = kReportFangSongFace;

constexpr CanvasColor kInk{0, 0, 0};
constexpr CanvasColor kGrid{215, 215, 215};
constexpr CanvasColor kPath{0, 70, 170};
constexpr CanvasColor kBand{200, 235, 200};
constexpr CanvasColor kReference{30, 130, 30};
constexpr CanvasColor kFailed{215, 30, 30};
constexpr CanvasColor kMarker{200, 90, 0};

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

// Maps data values onto device coordinates: lo onto a, hi onto b.
struct Scale {
    double lo = 0, hi = 1;
    int a = 0, b = 1;
    double operator()(double v) const { return a + (v - lo) * (b - a) / (hi - lo); }
};

double NiceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double raw = span / maxTicks;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * p >= raw) return m * p;
    }
    return 10 * p;
}

int StepDecimals(double step) {
    return std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 6);
}

// Widens [lo, hi] to whole steps; an empty or degenerate range gets a width.
double NiceRange(double& lo, double& hi, int maxTicks, double minSpan) {
    if (!(hi - lo >= minSpan)) {
        const double mid = std::isfinite(lo + hi) ? (lo + hi) / 2 : 0;
        lo = mid - minSpan / 2;
        hi = mid + minSpan / 2;
    }
    const double step = NiceStep(hi - lo, maxTicks);
    lo = std::floor(lo / step + 1e-9) * step;
    hi = std::ceil(hi / step - 1e-9) * step;
    if (hi <= lo) hi = lo + step;
    return step;
}

struct Range {
    double lo = INFINITY, hi = -INFINITY;
    void Add(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool empty() const { return !(lo <= hi); }
};

// Drawing context: the canvas and the label font's em in device units.
struct Ink {
    Canvas& c;
    double em;
    int unit;  // device units of a thin line: 1 on a screen, more on paper

    void Pen(CanvasColor color, int width = 1, CanvasPenStyle style = CanvasPenStyle::Solid) {
        c.SetPen(style, std::max(1, width * unit), color);
    }
    void Line(double x1, double y1, double x2, double y2) {
        c.DrawLine(Round(x1), Round(y1), Round(x2), Round(y2));
    }
    void Frame(const PlotArea& r) {
        Pen(kInk);
        c.DrawLine(r.left, r.top, r.right, r.top);
        c.DrawLine(r.right, r.top, r.right, r.bottom);
        c.DrawLine(r.right, r.bottom, r.left, r.bottom);
        c.DrawLine(r.left, r.bottom, r.left, r.top);
    }
    int Width(std::string_view s, int font) const {
        return EstimatedTextWidth(s, font, em * 720.0 / kLabelFont);
    }
    // align: 0 left, 1 centre, 2 right of x.
    void Text(double x, double y, const std::string& s, int align = 0, int font = kLabelFont) {
        c.ResetPen();  // texts take the pen's colour
        c.SetFont(kFace, font);
        const int w = Width(s, font);
        c.DrawText(Round(x - (align == 1 ? w / 2.0 : align == 2 ? w : 0)), Round(y), s);
    }
    void Cross(double x, double y, double half) {
        Line(x - half, y - half, x + half, y + half);
        Line(x - half, y + half, x + half, y - half);
    }
};

// Feeds a polyline to the canvas without drawing more than the device can
// show. Along depth (one point per station, depth increasing) every pixel row
// keeps its first and last point and the span between its extremes; a free
// path drops points that fall on the pixel already reached.
class Polyline {
public:
    Polyline(Ink& ink, bool byRow) : ink_(ink), byRow_(byRow) {}
    ~Polyline() { Break(); }

    void Add(double xf, double yf) {
        if (!std::isfinite(xf) || !std::isfinite(yf)) {
            Break();
            return;
        }
        const int x = Round(xf), y = Round(yf);
        if (!byRow_) {
            if (havePrev_ && x == prevX_ && y == prevY_) return;
            if (havePrev_) ink_.c.DrawLine(prevX_, prevY_, x, y);
            prevX_ = x;
            prevY_ = y;
            havePrev_ = true;
            return;
        }
        if (open_ && y == row_) {
            last_ = x;
            min_ = std::min(min_, x);
            max_ = std::max(max_, x);
            return;
        }
        Flush();
        if (havePrev_) ink_.c.DrawLine(prevX_, prevY_, x, y);
        row_ = y;
        first_ = last_ = min_ = max_ = x;
        open_ = true;
    }
    // The next point starts a new piece (a gap, or an azimuth wrapping round).
    void Break() {
        Flush();
        havePrev_ = false;
    }

private:
    void Flush() {
        if (!open_) return;
        if (max_ > min_) ink_.c.DrawLine(min_, row_, max_, row_);
        prevX_ = last_;
        prevY_ = row_;
        havePrev_ = true;
        open_ = false;
    }

    Ink& ink_;
    bool byRow_;
    bool havePrev_ = false, open_ = false;
    int prevX_ = 0, prevY_ = 0;
    int row_ = 0, first_ = 0, last_ = 0, min_ = 0, max_ = 0;
};

std::string Num(double v, int decimals) {
    return FixedText(v, decimals);
}

// ---- plan view and vertical section -------------------------------------

struct XYPlot {
    PlotArea box;
    Scale x, y;
};

// A frame whose two axes have the same scale, with grid, tick labels, title
// and axis names. `yDown`: values grow downwards (depths).
XYPlot EqualAspectPlot(Ink& k, PlotArea outer, const std::string& title, const std::string& xName,
                       const std::string& yName, Range xr, Range yr, bool yDown) {
    const double em = k.em;
    XYPlot p;
    p.box = {Round(outer.left + 4.6 * em), Round(outer.top + 1.6 * em), outer.right,
             Round(outer.bottom - 2.8 * em)};
    if (p.box.width() < 10 || p.box.height() < 10) return p;
    double xlo = xr.lo, xhi = xr.hi, ylo = yr.lo, yhi = yr.hi;
    const double pad = 0.06 * std::max({xhi - xlo, yhi - ylo, 10.0});
    xlo -= pad, xhi += pad, ylo -= pad, yhi += pad;
    const double upp = std::max((xhi - xlo) / p.box.width(), (yhi - ylo) / p.box.height());
    const double xc = (xlo + xhi) / 2, yc = (ylo + yhi) / 2;
    xlo = xc - upp * p.box.width() / 2, xhi = xc + upp * p.box.width() / 2;
    ylo = yc - upp * p.box.height() / 2, yhi = yc + upp * p.box.height() / 2;
    p.x = {xlo, xhi, p.box.left, p.box.right};
    p.y = yDown ? Scale{ylo, yhi, p.box.top, p.box.bottom} : Scale{ylo, yhi, p.box.bottom, p.box.top};

    const double step = NiceStep(std::max(xhi - xlo, yhi - ylo), 6);
    const int dec = StepDecimals(step);
    k.Pen(kGrid);
    for (double v = std::ceil(xlo / step) * step; v <= xhi; v += step)
        k.Line(p.x(v), p.box.top, p.x(v), p.box.bottom);
    for (double v = std::ceil(ylo / step) * step; v <= yhi; v += step)
        k.Line(p.box.left, p.y(v), p.box.right, p.y(v));
    for (double v = std::ceil(xlo / step) * step; v <= xhi; v += step)
        k.Text(p.x(v), p.box.bottom + 0.2 * em, Num(v, dec), 1);
    for (double v = std::ceil(ylo / step) * step; v <= yhi; v += step)
        k.Text(p.box.left - 0.3 * em, p.y(v) - 0.6 * em, Num(v, dec), 2);
    k.Frame(p.box);
    k.Text((p.box.left + p.box.right) / 2.0, outer.top, title, 1, kTitleFont);
    k.Text((p.box.left + p.box.right) / 2.0, p.box.bottom + 1.4 * em, xName, 1);
    k.Text(outer.left, outer.top + 0.3 * em, yName);
    return p;
}

void DrawPlan(Ink& k, PlotArea outer, const TrajectoryPlotData& d, const char* unit) {
    const auto& st = d.trajectory.stations;
    Range east, north;
    east.Add(0), north.Add(0);
    for (const TrajectoryStation& s : st) east.Add(s.east), north.Add(s.north);
    const std::string u = std::string(" (") + unit + ")";
    const XYPlot p = EqualAspectPlot(k, outer, ORB_TEXT("core", "水平投影"), ORB_TEXT("core", "东") + u,
                                     ORB_TEXT("core", "北") + u, east, north, false);
    if (p.box.width() < 10 || p.box.height() < 10) return;
    // The direction of the vertical section, from the well head.
    const double az = d.trajectory.vsAzimuth * M_PI / 180.0;
    const double reach = std::max(d.trajectory.closureDistance, 1e-9);
    k.Pen(kReference, 1, CanvasPenStyle::DashDot);
    k.Line(p.x(0), p.y(0), p.x(reach * std::sin(az)), p.y(reach * std::cos(az)));
    k.Pen(kPath, 2);
    {
        Polyline line(k, false);
        line.Add(p.x(d.options.trajectory.tieOn.east), p.y(d.options.trajectory.tieOn.north));
        for (const TrajectoryStation& s : st) line.Add(p.x(s.east), p.y(s.north));
    }
    k.Pen(kMarker, 2);
    k.Cross(p.x(0), p.y(0), 0.3 * k.em);
    k.Cross(p.x(st.back().east), p.y(st.back().north), 0.3 * k.em);
}

void DrawSection(Ink& k, PlotArea outer, const TrajectoryPlotData& d, const char* unit) {
    const auto& st = d.trajectory.stations;
    Range vs, tvd;
    vs.Add(0), tvd.Add(d.options.trajectory.tieOn.tvd);
    for (const TrajectoryStation& s : st) vs.Add(s.verticalSection), tvd.Add(s.tvd);
    const std::string u = std::string(" (") + unit + ")";
    const std::string title =
        FillTemplate(ORB_TEXT("core", "垂直剖面（方位 %1°）"), {Num(d.trajectory.vsAzimuth, 2)});
    const XYPlot p = EqualAspectPlot(k, outer, title, ORB_TEXT("core", "视平移") + u,
                                     ORB_TEXT("core", "垂深") + u, vs, tvd, true);
    if (p.box.width() < 10 || p.box.height() < 10) return;
    k.Pen(kPath, 2);
    Polyline line(k, false);
    const TieOn& tie = d.options.trajectory.tieOn;
    const double vsAz = d.trajectory.vsAzimuth * M_PI / 180.0;
    line.Add(p.x(tie.north * std::cos(vsAz) + tie.east * std::sin(vsAz)), p.y(tie.tvd));
    for (const TrajectoryStation& s : st) line.Add(p.x(s.verticalSection), p.y(s.tvd));
}

// ---- strips against depth ------------------------------------------------

struct Strip {
    std::string name;
    std::string unit;
    std::function<double(std::size_t)> value;
    bool angle360 = false;  // azimuth: fixed 0..360, no line across the wrap
    bool fromZero = false;
    std::optional<double> reference;
    double tolerance = 0;
    int rule = -1;       // QcRule whose failures are marked
    double minSpan = 1;  // narrowest range shown (a constant value)
};

Range StripRange(const Strip& s, std::size_t n) {
    Range r;
    if (s.angle360) {
        r.Add(0), r.Add(360);
        return r;
    }
    if (s.fromZero) r.Add(0);
    for (std::size_t i = 0; i < n; ++i) r.Add(s.value(i));
    if (s.reference) r.Add(*s.reference - s.tolerance), r.Add(*s.reference + s.tolerance);
    if (r.empty()) return r;
    // A little room, so that a value at the end of the range is not hidden by the frame.
    const double pad = 0.04 * std::max(r.hi - r.lo, s.minSpan);
    if (!(s.fromZero && r.lo == 0)) r.lo -= pad;
    r.hi += pad;
    return r;
}

void DrawBand(Ink& k, const Strip& s, const Scale& x, const PlotArea& box) {
    if (!s.reference) return;
    const double a = x(*s.reference - s.tolerance), b = x(*s.reference + s.tolerance);
    const int width = Round(std::fabs(b - a));
    if (width >= 1) {
        k.c.SetPen(CanvasPenStyle::Solid, width, kBand);
        k.Line((a + b) / 2, box.top + 1, (a + b) / 2, box.bottom - 1);
    }
    k.Pen(kReference, 1, CanvasPenStyle::DashDot);
    k.Line(x(*s.reference), box.top, x(*s.reference), box.bottom);
}

void DrawStripSeries(Ink& k, const Strip& s, const Scale& x, const Scale& y, const TrajectoryPlotData& d) {
    const auto& st = d.trajectory.stations;
    k.Pen(kPath, 1);
    {
        Polyline line(k, true);
        for (std::size_t i = 0; i < st.size(); ++i) {
            const double v = s.value(i);
            if (s.angle360 && i > 0 && std::fabs(v - s.value(i - 1)) > 180) line.Break();
            line.Add(x(v), y(st[i].md));
        }
    }
    if (st.size() == 1) k.Cross(x(s.value(0)), y(st[0].md), 0.25 * k.em);
    if (s.rule < 0) return;
    k.Pen(kFailed, 1);
    int lastX = INT_MIN, lastY = INT_MIN;
    for (std::size_t i = 0; i < st.size(); ++i) {
        if ((d.failedRules[i] & (1u << s.rule)) == 0) continue;
        const double xv = x(s.value(i)), yv = y(st[i].md);
        if (!std::isfinite(xv) || (Round(xv) == lastX && Round(yv) == lastY)) continue;
        lastX = Round(xv), lastY = Round(yv);
        k.Cross(xv, yv, 0.2 * k.em);
    }
}

void DrawStrip(Ink& k, const Strip& s, const PlotArea& box, const Scale& y, const TrajectoryPlotData& d,
               double depthStep) {
    const std::size_t n = d.trajectory.stations.size();
    Range r = StripRange(s, n);
    double lo = r.empty() ? 0 : r.lo, hi = r.empty() ? 1 : r.hi;
    const double step = s.angle360 ? 90 : NiceRange(lo, hi, 3, s.minSpan);
    const Scale x{lo, hi, box.left, box.right};
    k.Pen(kGrid);
    for (double v = lo + step; v < hi - step / 2; v += step) k.Line(x(v), box.top, x(v), box.bottom);
    for (double v = std::ceil(y.lo / depthStep) * depthStep; v <= y.hi; v += depthStep)
        k.Line(box.left, y(v), box.right, y(v));
    DrawBand(k, s, x, box);
    k.Frame(box);
    DrawStripSeries(k, s, x, y, d);
    const double em = k.em;
    const double centre = (box.left + box.right) / 2.0;
    k.Text(centre, box.top - 2.7 * em, s.name, 1);
    k.Text(centre, box.top - 1.45 * em, s.unit, 1);
    const int dec = StepDecimals(step);
    const std::string first = Num(lo, dec), last = Num(hi, dec);
    // The two ends on one line when they fit, otherwise one below the other.
    const bool fit = k.Width(first, kLabelFont) + k.Width(last, kLabelFont) + 0.5 * em < box.width();
    k.Text(box.left, box.bottom + 0.2 * em, first);
    k.Text(box.right, box.bottom + (fit ? 0.2 : 1.3) * em, last, 2);
}

std::vector<Strip> MakeStrips(const TrajectoryPlotData& d) {
    const auto& st = d.trajectory.stations;
    const QcReferences& ref = d.options.qc.references;
    const QcTolerances& tol = d.options.qc.tolerances;
    auto usable = [](const std::optional<double>& v) {
        return v && std::isfinite(*v) ? v : std::optional<double>();
    };
    std::optional<double> dipRef = usable(ref.dip);
    if (dipRef) dipRef = SignedDip(*dipRef);
    const std::string dlsUnit = std::string("(") + DlsUnitText(d.options.trajectory.dlsInterval) + ")";
    auto strip = [](std::string name, std::string unit, std::function<double(std::size_t)> value,
                    double minSpan) {
        Strip x;
        x.name = std::move(name);
        x.unit = std::move(unit);
        x.value = std::move(value);
        x.minSpan = minSpan;
        return x;
    };
    auto checked = [&strip](std::string name, std::string unit, std::function<double(std::size_t)> value,
                            double minSpan, std::optional<double> reference, double tolerance, QcRule rule) {
        Strip x = strip(std::move(name), std::move(unit), std::move(value), minSpan);
        x.reference = reference;
        x.tolerance = tolerance;
        x.rule = int(rule);
        return x;
    };
    std::vector<Strip> s;
    s.push_back(strip(
        ORB_TEXT("core", "井斜"), "(°)", [&st](std::size_t i) { return st[i].inclination; }, 1));
    s.back().fromZero = true;
    s.push_back(strip(
        ORB_TEXT("core", "方位"), "(°)", [&st](std::size_t i) { return st[i].trueAzimuth; }, 1));
    s.back().angle360 = true;
    s.push_back(strip(
        ORB_TEXT("core", "狗腿度"), dlsUnit, [&st](std::size_t i) { return st[i].dls; }, 1));
    s.back().fromZero = true;
    s.push_back(checked(
        ORB_TEXT("core", "总加速度"), "(g)", [&d](std::size_t i) { return d.totalGravity[i]; }, 0.01,
        usable(ref.totalGravity), tol.totalGravity, QcRule::kTotalGravity));
    s.push_back(checked(
        ORB_TEXT("core", "地磁场强度"), "(nT)", [&d](std::size_t i) { return d.fieldStrength[i]; }, 100,
        usable(ref.fieldStrength), tol.fieldStrength, QcRule::kFieldStrength));
    s.push_back(checked(
        ORB_TEXT("core", "地磁倾角"), "(°)", [&d](std::size_t i) { return d.dip[i]; }, 0.5, dipRef, tol.dip,
        QcRule::kDip));
    return s;
}

void DrawStrips(Ink& k, PlotArea outer, const TrajectoryPlotData& d, const char* unit) {
    const double em = k.em;
    const auto& st = d.trajectory.stations;
    const PlotArea inner{Round(outer.left + 4.6 * em), Round(outer.top + 2.9 * em), outer.right,
                         Round(outer.bottom - 2.6 * em)};
    if (inner.width() < 60 || inner.height() < 10) return;
    double lo = st.front().md, hi = st.back().md;
    const double depthStep = NiceRange(lo, hi, 10, 1.0);
    const Scale y{lo, hi, inner.top, inner.bottom};
    const int dec = StepDecimals(depthStep);
    for (double v = lo; v <= hi + depthStep / 2; v += depthStep)
        k.Text(inner.left - 0.3 * em, y(v) - 0.6 * em, Num(v, dec), 2);
    k.Text(outer.left, outer.top + 0.2 * em, ORB_TEXT("core", "斜深"));
    k.Text(outer.left, outer.top + 1.45 * em, std::string("(") + unit + ")");
    const std::vector<Strip> strips = MakeStrips(d);
    const double gap = 0.8 * em;
    const double w = (inner.width() - gap * (strips.size() - 1)) / strips.size();
    for (std::size_t i = 0; i < strips.size(); ++i) {
        const double left = inner.left + i * (w + gap);
        DrawStrip(k, strips[i], {Round(left), inner.top, Round(left + w), inner.bottom}, y, d, depthStep);
    }
}

}  // namespace

void MakeTrajectoryPlotData(std::span<const SurveyRecord> records, const TrajectoryPlotOptions& options,
                            TrajectoryPlotData& out) {
    out.options = options;
    ComputeTrajectory(records, options.trajectory, out.trajectory);
    const auto& st = out.trajectory.stations;
    out.totalGravity.resize(st.size());
    out.fieldStrength.resize(st.size());
    out.dip.resize(st.size());
    out.failedRules.resize(st.size());
    for (std::size_t i = 0; i < st.size(); ++i) {
        const SurveyRecord& r = records[st[i].recordIndex];
        out.totalGravity[i] = r.totalGravity;
        out.fieldStrength[i] = FieldStrength(r);
        out.dip[i] = SignedDip(r.dip);
        uint8_t bits = 0;
        const QcResult result = CheckStation(r, options.qc);  // failed() points into it
        for (const QcFailure& f : result.failed()) bits |= uint8_t(1u << int(f.rule));
        out.failedRules[i] = bits;
    }
}

const char* DepthUnitText(DepthUnit unit) {
    return unit == DepthUnit::kFeet ? "ft" : "m";
}

std::vector<std::string> TrajectorySummaryParts(const TrajectoryPlotData& d) {
    const Trajectory& t = d.trajectory;
    std::vector<std::string> parts{std::string(kAscendingDepthNote)};
    const std::string count = std::to_string(t.stations.size());
    parts.push_back(t.reordered ? FillTemplate(ORB_TEXT("core", "测点 %1（记录顺序与深度顺序不同）"), {count})
                                : FillTemplate(ORB_TEXT("core", "测点 %1"), {count}));
    if (!t.skipped.empty())
        parts.push_back(
            FillTemplate(ORB_TEXT("core", "略去无效测点 %1"), {std::to_string(t.skipped.size())}));
    if (t.stations.empty()) return parts;
    const std::string closure = FixedText(t.closureDistance, 2);
    parts.push_back(d.options.trajectory.depthUnit == DepthUnit::kFeet
                        ? FillTemplate(ORB_TEXT("core", "闭合距 %1 ft"), {closure})
                        : FillTemplate(ORB_TEXT("core", "闭合距 %1 m"), {closure}));
    parts.push_back(FillTemplate(ORB_TEXT("core", "闭合方位 %1°"), {FixedText(t.closureAzimuth, 2)}));
    const std::string vs = FixedText(t.vsAzimuth, 2);
    parts.push_back(t.vsAzimuthIsClosure ? FillTemplate(ORB_TEXT("core", "视平移方位 %1°（闭合方位）"), {vs})
                                         : FillTemplate(ORB_TEXT("core", "视平移方位 %1°"), {vs}));
    for (std::string& part : ReferencesParts(d.options.references, d.options.trajectory.tieOn))
        parts.push_back(std::move(part));
    return parts;
}

std::string TrajectorySummaryText(const TrajectoryPlotData& d) {
    std::string s;
    for (const std::string& part : TrajectorySummaryParts(d)) s += (s.empty() ? "" : "；") + part;
    return s;
}

int EstimatedTextWidth(std::string_view utf8, int tenthsOfPoint, double dotsPerInch) {
    const double em = tenthsOfPoint / 720.0 * dotsPerInch;
    double ems = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) == 0x80) continue;  // continuation byte
        ems += c >= 0xE3 ? 1.0 : 0.55;     // from U+3000 on: ideographs and full-width forms
    }
    return Round(ems * em);
}

void DrawTrajectoryPlots(Canvas& canvas, PlotArea area, const TrajectoryPlotData& data, bool withSummary) {
    Ink k{canvas, kLabelFont / 720.0 * canvas.DotsPerInchY(),
          std::max(1, Round(canvas.DotsPerInchY() / 150.0))};
    const double em = k.em;
    // The summary, wrapped between its parts where the line is full.
    double y = area.top;
    std::string line;
    for (const std::string& part : withSummary ? TrajectorySummaryParts(data) : std::vector<std::string>{}) {
        const std::string longer = line.empty() ? part : line + "；" + part;
        if (!line.empty() && k.Width(longer, kTitleFont) > area.width()) {
            k.Text(area.left, y, line + "；", 0, kTitleFont);
            y += 1.3 * em;
            line = part;
        } else {
            line = longer;
        }
    }
    if (withSummary) k.Text(area.left, y, line, 0, kTitleFont);
    const int top = Round(y + (withSummary ? 2.0 : 0.5) * em);
    const char* unit = DepthUnitText(data.options.trajectory.depthUnit);
    if (data.trajectory.stations.empty()) {
        const PlotArea box{area.left, top, area.right, area.bottom};
        k.Frame(box);
        k.Text((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0 - em, kNoStationsText, 1,
               kTitleFont);
        canvas.ResetPen();
        return;
    }
    const int split = Round(area.left + 0.38 * area.width());
    const int mid = (top + area.bottom) / 2;
    DrawPlan(k, {area.left, top, Round(split - 1.5 * em), Round(mid - 0.6 * em)}, data, unit);
    DrawSection(k, {area.left, Round(mid + 0.6 * em), Round(split - 1.5 * em), area.bottom}, data, unit);
    DrawStrips(k, {split, top, area.right, area.bottom}, data, unit);
    canvas.ResetPen();
}

}  // namespace orb
