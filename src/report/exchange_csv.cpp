#include "report/exchange_csv.h"

#include "core/fixed_text.h"
#include "report/trajectory_plot.h"

namespace orb {
namespace {

constexpr const char* kEol = "\r\n";

void HeaderRecord(std::string& out, const char* name, std::initializer_list<std::string> values) {
    out += "# ";
    out += name;
    for (const std::string& v : values) {
        out.push_back(',');
        out += CsvField(v);
    }
    out += kEol;
}

std::string Sourced(const SourcedValue& v) {
    return FixedText(v.value, 2);
}

void AppendHeader(std::string& out, const ExchangeHeader& h) {
    const SurveyReferences& r = h.references;
    HeaderRecord(out, "well", {h.well});
    HeaderRecord(out, "team", {h.team});
    HeaderRecord(out, "probe", {h.probe});
    HeaderRecord(out, "survey date", {h.surveyDate});
    HeaderRecord(out, "depth unit", {DepthUnitText(h.depthUnit)});
    HeaderRecord(out, "dls course length", {FixedText(h.dlsCourseLength, 2)});
    HeaderRecord(out, "north reference", {NorthReferenceKey(r.north)});
    HeaderRecord(out, "declination", {Sourced(r.declination), SourceText(r.declination.source)});
    if (r.convergence)
        HeaderRecord(out, "convergence", {Sourced(*r.convergence), SourceText(r.convergence->source)});
    else
        HeaderRecord(out, "convergence", {});
    const TieOn& t = h.tieOn;
    HeaderRecord(
        out, "tie-on MD inc azi TVD N E",
        {FixedText(t.md, 2), FixedText(t.direction.inclination, 2), FixedText(t.direction.azimuth, 2),
         FixedText(t.tvd, 3), FixedText(t.north, 3), FixedText(t.east, 3)});
    HeaderRecord(out, "vertical section azimuth", {FixedText(h.vsAzimuth, 2)});
}

void AppendStation(std::string& out, const ExchangeStation& s) {
    const auto cells = ExchangeFields(s, "");
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c > 0) out.push_back(',');
        out += CsvField(cells[c]);
    }
    out += kEol;
}

}  // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string s = "\"";
    for (char c : text) {
        if (c == '"') s.push_back('"');
        s.push_back(c);
    }
    s.push_back('"');
    return s;
}

std::string ExchangeCsv(const ExchangeSurvey& survey) {
    std::string out;
    out.reserve(1024 + survey.stations.size() * 128);
    AppendHeader(out, survey.header);
    out += kExchangeCsvColumns;
    out += kEol;
    for (const ExchangeStation& s : survey.stations) AppendStation(out, s);
    return out;
}

}  // namespace orb
