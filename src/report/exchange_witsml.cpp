#include "report/exchange_witsml.h"

#include <libxml/xmlwriter.h>

#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/fixed_text.h"
#include "core/ole_date.h"
#include "report/trajectory_plot.h"

namespace orb {
namespace {

// Standard gravity: the calibrated components are in g, WITSML wants m/s2.
constexpr double kStandardGravity = 9.80665;

const char* AziRefText(NorthReference north) {
    switch (north) {
        case NorthReference::kMagnetic:
            return "magnetic north";
        case NorthReference::kGrid:
            return "grid north";
        case NorthReference::kTrue:
            break;
    }
    return "true north";
}

const xmlChar* X(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}

// libxml2's text writer over an output buffer that appends to a string (its
// own memory buffer grows by exact reallocations, copying a document of
// 10,000 stations over and over). The writer's own indentation writes each
// level's two spaces as a separate piece; the same line breaks and spaces go
// in here as one raw piece, and a number, which holds no character XML would
// escape, as raw text without the escaping copy. Elements, attributes and
// every other text still go through the writer.
class Writer {
public:
    Writer() {
        xmlOutputBufferPtr out = xmlOutputBufferCreateIO(Append, nullptr, &text_, nullptr);
        w_ = out ? xmlNewTextWriter(out) : nullptr;  // the writer owns `out` from here
        if (!w_) {
            if (out) xmlOutputBufferClose(out);
            ok_ = false;
        }
    }
    ~Writer() {
        if (w_) xmlFreeTextWriter(w_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void Start(const char* name) {
        if (depth_ > 0) Indent();
        Check(xmlTextWriterStartElement(w_, X(name)));
        ++depth_;
        afterEnd_ = false;
    }
    void End() {
        --depth_;
        if (afterEnd_) Indent();  // an element with children closes on its own line
        Check(xmlTextWriterEndElement(w_));
        afterEnd_ = true;
    }
    void Attribute(const char* name, const std::string& value) {
        Check(xmlTextWriterWriteAttribute(w_, X(name), X(value.c_str())));
    }
    void Text(const char* name, const std::string& value) {
        Start(name);
        Check(xmlTextWriterWriteString(w_, X(value.c_str())));
        End();
    }
    // `number` comes from core/fixed_text.h: digits, sign, point, "nan", "inf".
    void Measure(const char* name, const char* uom, const std::string& number) {
        Start(name);
        Attribute("uom", uom);
        Raw(number.data(), number.size());
        End();
    }
    void Begin(std::size_t expectedBytes) {
        text_.reserve(expectedBytes);
        Check(xmlTextWriterStartDocument(w_, "1.0", "UTF-8", nullptr));
    }
    std::string Finish() {
        Check(xmlTextWriterEndDocument(w_));  // ends the last line
        Check(xmlTextWriterFlush(w_));
        if (!ok_) return {};
        return std::move(text_);
    }

private:
    static constexpr std::string_view kIndent = "\n                    ";

    static int Append(void* context, const char* bytes, int length) {
        static_cast<std::string*>(context)->append(bytes, static_cast<std::size_t>(length));
        return length;
    }
    void Indent() {
        const std::size_t n = std::min(kIndent.size(), 1 + 2 * static_cast<std::size_t>(depth_));
        Raw(kIndent.data(), n);
    }
    void Raw(const char* text, std::size_t size) {
        Check(xmlTextWriterWriteRawLen(w_, X(text), static_cast<int>(size)));
    }
    void Check(int rc) {
        if (rc < 0) ok_ = false;
    }
    std::string text_;
    xmlTextWriterPtr w_ = nullptr;
    int depth_ = 0;
    bool afterEnd_ = false;
    bool ok_ = true;
};

struct Units {
    const char* length;
    const char* dls;
};

void WriteReferences(Writer& w, const ExchangeHeader& h) {
    w.Measure("magDeclUsed", "dega", FixedText(h.references.declination.value, 2));
    if (h.references.convergence)
        w.Measure("gridConUsed", "dega", FixedText(h.references.convergence->value, 2));
    w.Measure("aziVertSect", "dega", FixedText(h.vsAzimuth, 2));
    w.Text("aziRef", AziRefText(h.references.north));
}

void WriteTieOn(Writer& w, const ExchangeHeader& h, const Units& u) {
    const TieOn& t = h.tieOn;
    w.Start("trajectoryStation");
    w.Attribute("uid", "tie-on");
    w.Text("typeTrajStation", "tie in point");
    w.Measure("md", u.length, FixedText(t.md, 2));
    w.Measure("tvd", u.length, FixedText(t.tvd, 3));
    w.Measure("incl", "dega", FixedText(t.direction.inclination, 2));
    w.Measure("azi", "dega", FixedText(t.direction.azimuth, 2));
    w.Measure("dispNs", u.length, FixedText(t.north, 3));
    w.Measure("dispEw", u.length, FixedText(t.east, 3));
    w.Measure("vertSect", u.length, FixedText(h.tieOnVerticalSection, 3));
    w.End();
}

void WriteFieldReferences(Writer& w, const QcReferences& r) {
    if (r.totalGravity && std::isfinite(*r.totalGravity))
        w.Measure("gravTotalFieldReference", "m/s2", FixedText(*r.totalGravity * kStandardGravity, 5));
    if (r.fieldStrength && std::isfinite(*r.fieldStrength))
        w.Measure("magTotalFieldReference", "nT", FixedText(*r.fieldStrength, 1));
    if (r.dip && std::isfinite(*r.dip)) w.Measure("magDipAngleReference", "dega", FixedText(*r.dip, 2));
}

void WriteRawData(Writer& w, const ExchangeStation& s) {
    const double field = kFieldStrengthReference;
    w.Start("rawData");
    w.Measure("gravAxialRaw", "m/s2", FixedText(s.gz * kStandardGravity, 5));
    w.Measure("gravTran1Raw", "m/s2", FixedText(s.gx * kStandardGravity, 5));
    w.Measure("gravTran2Raw", "m/s2", FixedText(s.gy * kStandardGravity, 5));
    w.Measure("magAxialRaw", "nT", FixedText(s.mz * field, 1));
    w.Measure("magTran1Raw", "nT", FixedText(s.mx * field, 1));
    w.Measure("magTran2Raw", "nT", FixedText(s.my * field, 1));
    w.End();
}

void WriteStation(Writer& w, const ExchangeStation& s, const ExchangeHeader& h, const Units& u,
                  std::size_t n) {
    const TrajectoryStation& t = s.trajectory;
    w.Start("trajectoryStation");
    w.Attribute("uid", "stn-" + std::to_string(n));
    if (s.sampleTimeValid) w.Text("dTimStn", FormatOleDate(s.sampleTime, 0, "%Y-%m-%dT%H:%M:%S"));
    w.Text("typeTrajStation", "magnetic multi-shot");
    w.Measure("md", u.length, FixedText(t.md, 2));
    w.Measure("tvd", u.length, FixedText(t.tvd, 3));
    w.Measure("incl", "dega", FixedText(t.inclination, 2));
    w.Measure("azi", "dega", FixedText(t.trueAzimuth, 2));
    w.Measure("mtf", "dega", FixedText(s.magneticToolFace, 2));
    w.Measure("gtf", "dega", FixedText(s.gravityToolFace, 2));
    w.Measure("dispNs", u.length, FixedText(t.north, 3));
    w.Measure("dispEw", u.length, FixedText(t.east, 3));
    w.Measure("vertSect", u.length, FixedText(t.verticalSection, 3));
    if (t.dlsDefined()) w.Measure("dls", u.dls, FixedText(t.dls, 3));
    if (s.turnRate) w.Measure("rateTurn", u.dls, FixedText(*s.turnRate, 3));
    if (s.buildRate) w.Measure("rateBuild", u.dls, FixedText(*s.buildRate, 3));
    WriteFieldReferences(w, h.qc.references);
    w.Text("statusTrajStation", s.quality.passed() ? "valid" : "questionable");
    WriteRawData(w, s);
    w.End();
}

}  // namespace

std::string ExchangeWitsml(const ExchangeSurvey& survey) {
    const ExchangeHeader& h = survey.header;
    const bool feet = h.depthUnit == DepthUnit::kFeet;
    const Units u{feet ? "ft" : "m", h.dlsInterval == DlsInterval::kPer30Metres ? "dega/30m" : "dega/100ft"};
    Writer w;
    // About 1.3 kB a station with its raw data.
    w.Begin(2048 + survey.stations.size() * 1400);
    w.Start("trajectorys");
    w.Attribute("xmlns", kWitsmlNamespace);
    w.Attribute("version", "1.4.1.1");
    w.Start("trajectory");
    w.Attribute("uidWell", h.well);
    w.Attribute("uidWellbore", h.well);
    w.Attribute("uid", h.well + "-mms");
    w.Text("nameWell", h.well);
    w.Text("nameWellbore", h.well);
    w.Text("name", h.probe.empty() ? std::string("magnetic multi-shot") : "magnetic multi-shot " + h.probe);
    WriteReferences(w, h);
    WriteTieOn(w, h, u);
    for (std::size_t i = 0; i < survey.stations.size(); ++i) WriteStation(w, survey.stations[i], h, u, i + 1);
    w.End();
    w.End();
    return w.Finish();
}

}  // namespace orb
