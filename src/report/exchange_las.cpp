#include "report/exchange_las.h"

#include "core/fixed_text.h"
#include "report/trajectory_plot.h"

namespace orb {
namespace {

struct LasLine {
    std::string mnemonic, unit, value, description;
};

void Append(std::string& out, const LasLine& l) {
    std::string head = l.mnemonic + "." + l.unit;
    if (head.size() < 16) head.resize(16, ' ');
    out += head + " " + l.value + " : " + l.description + "\n";
}

void Section(std::string& out, const char* title, std::initializer_list<LasLine> lines) {
    out += title;
    out += "\n";
    for (const LasLine& l : lines) Append(out, l);
}

const char* AzimuthNorthText(NorthReference north) {
    switch (north) {
        case NorthReference::kMagnetic:
            return "MAGNETIC NORTH";
        case NorthReference::kGrid:
            return "GRID NORTH";
        case NorthReference::kTrue:
            break;
    }
    return "TRUE NORTH";
}

std::string Described(const char* what, const ValueSource& source) {
    return std::string(what) + " (" + LasText(SourceText(source)) + ")";
}

void AppendWell(std::string& out, const ExchangeSurvey& s) {
    const ExchangeHeader& h = s.header;
    const std::string u = DepthUnitText(h.depthUnit);
    const std::string start = s.stations.empty() ? kLasNull : FixedText(s.stations.front().trajectory.md, 2);
    const std::string stop = s.stations.empty() ? kLasNull : FixedText(s.stations.back().trajectory.md, 2);
    Section(out, "~Well",
            {{"STRT", u, start, "FIRST INDEX VALUE"},
             {"STOP", u, stop, "LAST INDEX VALUE"},
             {"STEP", u, "0", "STEP (IRREGULAR)"},
             {"NULL", "", kLasNull, "NULL VALUE"},
             {"WELL", "", LasText(h.well), "WELL"},
             {"DATE", "", LasText(h.surveyDate), "SURVEY DATE"},
             {"LATI", "deg", h.location ? FixedTextAtLeast(h.location->latitude, 6) : "", "LATITUDE"},
             {"LONG", "deg", h.location ? FixedTextAtLeast(h.location->longitude, 6) : "", "LONGITUDE"}});
    Section(out, "~Parameter",
            {{"TEAM", "", LasText(h.team), "DRILLING TEAM"}, {"PROB", "", LasText(h.probe), "PROBE"}});
}

void AppendInclinometryParameters(std::string& out, const ExchangeHeader& h) {
    const std::string u = DepthUnitText(h.depthUnit);
    const SurveyReferences& r = h.references;
    const TieOn& t = h.tieOn;
    Section(out, "~Inclinometry_Parameter",
            {{"I_DATE", "", LasText(h.surveyDate), "SURVEY DATE"},
             {"I_METH", "", "MINIMUM CURVATURE", "COMPUTATION METHOD"},
             {"I_AZTR", "", AzimuthNorthText(r.north), "AZIMUTH NORTH REFERENCE"},
             {"I_DECL", "deg", FixedText(r.declination.value, 2),
              Described("MAGNETIC DECLINATION", r.declination.source)},
             {"I_CO", "deg", r.convergence ? FixedText(r.convergence->value, 2) : "",
              r.convergence ? Described("GRID CONVERGENCE", r.convergence->source) : "GRID CONVERGENCE"},
             {"I_VSAZ", "deg", FixedText(h.vsAzimuth, 2), "VERTICAL SECTION AZIMUTH"},
             {"I_DLSL", u, FixedText(h.dlsCourseLength, 2), "DLS COURSE LENGTH"},
             {"I_TIEMD", u, FixedText(t.md, 2), "TIE-ON MEASURED DEPTH"},
             {"I_TIEINC", "deg", FixedText(t.direction.inclination, 2), "TIE-ON INCLINATION"},
             {"I_TIEAZI", "deg", FixedText(t.direction.azimuth, 2), "TIE-ON AZIMUTH"},
             {"I_TIETVD", u, FixedText(t.tvd, 3), "TIE-ON TRUE VERTICAL DEPTH"},
             {"I_TIENS", u, FixedText(t.north, 3), "TIE-ON NORTH"},
             {"I_TIEEW", u, FixedText(t.east, 3), "TIE-ON EAST"}});
}

void AppendDefinition(std::string& out, const ExchangeHeader& h) {
    const std::string u = DepthUnitText(h.depthUnit);
    const std::string dls = h.dlsInterval == DlsInterval::kPer30Metres ? "deg/30m" : "deg/100ft";
    Section(out, "~Inclinometry_Definition",
            {{"MD", u, "", "MEASURED DEPTH {F}"},
             {"INC", "deg", "", "INCLINATION {F}"},
             {"AZI", "deg", "", "AZIMUTH {F}"},
             {"TVD", u, "", "TRUE VERTICAL DEPTH {F}"},
             {"NS", u, "", "NORTH {F}"},
             {"EW", u, "", "EAST {F}"},
             {"VS", u, "", "VERTICAL SECTION {F}"},
             {"DOGL", "deg", "", "DOGLEG {F}"},
             {"DLS", dls, "", "DOGLEG SEVERITY {F}"},
             {"BUR", dls, "", "BUILD RATE {F}"},
             {"TUR", dls, "", "TURN RATE {F}"},
             {"GTF", "deg", "", "GRAVITY TOOL FACE {F}"},
             {"MTF", "deg", "", "MAGNETIC TOOL FACE {F}"},
             {"GTOT", "g", "", "TOTAL GRAVITY {F}"},
             {"BTOT", "nT", "", "TOTAL MAGNETIC FIELD {F}"},
             {"DIP", "deg", "", "MAGNETIC DIP {F}"},
             {"QC", "", "", "QUALITY VERDICT {S}"}});
}

void AppendData(std::string& out, const ExchangeSurvey& s) {
    out += "~Inclinometry_Data | Inclinometry_Definition\n";
    for (const ExchangeStation& st : s.stations) {
        const auto cells = ExchangeFields(st, kLasNull);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c > 0) out.push_back(',');
            out += cells[c];
        }
        out.push_back('\n');
    }
}

}  // namespace

std::string LasText(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case ':':
                s += "：";
                break;
            case '|':
                s += "｜";
                break;
            case '{':
                s += "（";
                break;
            case '}':
                s += "）";
                break;
            case '\r':
            case '\n':
                s.push_back(' ');
                break;
            default:
                s.push_back(c);
        }
    }
    return s;
}

std::string ExchangeLas(const ExchangeSurvey& survey) {
    std::string out;
    out.reserve(4096 + survey.stations.size() * 128);
    Section(out, "~Version",
            {{"VERS", "", "3.0", "CWLS LOG ASCII STANDARD - VERSION 3.0"},
             {"WRAP", "", "NO", "ONE LINE PER DEPTH STEP"},
             {"DLM", "", "COMMA", "DELIMITING CHARACTER BETWEEN DATA COLUMNS"}});
    AppendWell(out, survey);
    AppendInclinometryParameters(out, survey.header);
    AppendDefinition(out, survey.header);
    AppendData(out, survey);
    return out;
}

}  // namespace orb
