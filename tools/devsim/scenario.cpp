#include "devsim/scenario.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "core/outside_file.h"
#include "core/synthetic.h"
#include "devsim/civil_time.h"
#include "devsim/synthetic_well.h"

namespace devsim {
namespace {

using nlohmann::json;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw std::runtime_error("scenario: " + where + ": " + what);
}

template <class T>
T Number(const json& j, const std::string& where, double lo, double hi) {
    if (!j.is_number()) Fail(where, "a number is expected");
    const double v = j.get<double>();
    if (!(v >= lo && v <= hi)) Fail(where, "out of range");
    if constexpr (std::is_integral_v<T>) {
        if (v != std::floor(v)) Fail(where, "a whole number is expected");
    }
    return static_cast<T>(v);
}

template <class T>
void Optional(const json& obj, const char* key, T& out, const std::string& where, double lo, double hi) {
    if (auto it = obj.find(key); it != obj.end()) out = Number<T>(*it, where + "." + key, lo, hi);
}

uint16_t Tenths(const json& j, const std::string& where, double lo, double hi) {
    return static_cast<uint16_t>(std::lround(Number<double>(j, where, lo, hi) * 10));
}

orb::DateTimeFields Time(const json& j, const std::string& where) {
    if (!j.is_string()) Fail(where, "a date-time text \"YYYY-MM-DD HH:MM:SS\" is expected");
    const auto t = ParseDateTime(j.get<std::string>());
    if (!t) Fail(where, "not a valid date-time \"YYYY-MM-DD HH:MM:SS\"");
    return *t;
}

// "host" (the default) or a date-time the clock shows at start.
std::optional<int64_t> ClockAtStart(const json& obj, const std::string& where) {
    auto it = obj.find("clock");
    if (it == obj.end() || (it->is_string() && it->get<std::string>() == "host")) return std::nullopt;
    return CivilSeconds(Time(*it, where + ".clock"));
}

uint8_t Address(const json& obj, const std::string& where, uint8_t fallback) {
    auto it = obj.find("address");
    if (it == obj.end()) return fallback;
    const int a = Number<int>(*it, where + ".address", 0, 255);
    if (a != 0x01 && a != 0x40 && a != 0x41) Fail(where + ".address", "must be 1, 64 or 65");
    return static_cast<uint8_t>(a);
}

orb::ProbeCalibration Calibration(const json& j, const std::string& where) {
    if (j.is_string() && j.get<std::string>() == "default") return orb::ProbeCalibration::Default();
    if (j.is_object() && j.contains("generated")) {
        return orb::GenerateCalibration(Number<uint64_t>(j["generated"], where + ".generated", 0, 9.0e15));
    }
    if (j.is_object() && j.contains("values")) {
        const json& v = j["values"];
        if (!v.is_array() || v.size() != orb::ProbeCalibration::kValues)
            Fail(where + ".values", "114 numbers expected");
        orb::ProbeCalibration c;
        for (std::size_t i = 0; i < v.size(); ++i) {
            c.values[i] = Number<double>(v[i], where + ".values", -1e300, 1e300);
        }
        return c;
    }
    Fail(where, "\"default\", {\"generated\": seed} or {\"values\": [114 numbers]} expected");
}

StoredSampleSpec ExplicitSample(const json& j, const std::string& where) {
    StoredSampleSpec s;
    if (!j.is_object()) Fail(where, "an object is expected");
    const json& raw = j.value("raw", json());
    if (!raw.is_array() || raw.size() != 6) Fail(where + ".raw", "six counts gx gy gz mx my mz expected");
    for (std::size_t k = 0; k < 6; ++k) s.raw[k] = Number<int16_t>(raw[k], where + ".raw", -32768, 32767);
    if (j.contains("temperature")) {
        s.temperatureTenths = static_cast<int16_t>(
            std::lround(Number<double>(j["temperature"], where + ".temperature", -3276, 3276) * 10));
    }
    if (!j.contains("time")) Fail(where + ".time", "missing");
    s.time = Time(j["time"], where + ".time");
    if (j.contains("battery")) s.batteryTenths = Tenths(j["battery"], where + ".battery", 0, 6553);
    return s;
}

std::vector<StationSpec> Stations(const json& j, const std::string& where) {
    if (j.is_array()) {
        std::vector<StationSpec> out;
        for (std::size_t i = 0; i < j.size(); ++i) {
            const std::string w = where + "[" + std::to_string(i) + "]";
            StationSpec s;
            s.inclination = Number<double>(j[i].value("inclination", json()), w + ".inclination", 0, 180);
            s.azimuth = Number<double>(j[i].value("azimuth", json()), w + ".azimuth", -360, 720);
            s.toolFace = Number<double>(j[i].value("toolFace", json(0)), w + ".toolFace", -360, 720);
            out.push_back(s);
        }
        return out;
    }
    ProfileSpec p;
    if (!j.is_null()) {
        if (!j.is_object()) Fail(where, "a list of stations or a profile object is expected");
        Optional(j, "count", p.count, where, 1, 5000);
        Optional(j, "kickoff", p.kickoffStation, where, 0, 5000);
        Optional(j, "build", p.buildPerStation, where, 0, 30);
        Optional(j, "holdInclination", p.holdInclination, where, 0, 120);
        Optional(j, "azimuth", p.azimuth, where, 0, 360);
        Optional(j, "turn", p.turnPerStation, where, -30, 30);
        Optional(j, "seed", p.seed, where, 0, 9.0e15);
    }
    return GenerateProfile(p);
}

SyntheticWell Well(const json& j, const std::string& where, int64_t defaultStart) {
    SyntheticWell w;
    w.start = j.contains("start") ? Time(j["start"], where + ".start") : CivilFields(defaultStart);
    w.stations = Stations(j.value("stations", json()), where + ".stations");
    Optional(j, "dip", w.dip, where, -90, 90);
    Optional(j, "field", w.field, where, 0.01, 5);
    Optional(j, "gravity", w.gravity, where, 0.01, 5);
    if (auto t = j.find("temperature"); t != j.end()) {
        Optional(*t, "surface", w.surfaceTemperature, where + ".temperature", -50, 250);
        Optional(*t, "bottom", w.bottomTemperature, where + ".temperature", -50, 250);
    }
    Optional(j, "travelSamples", w.travelSamples, where, 0, 1000);
    Optional(j, "dwellSamples", w.dwellSamples, where, 1, 1000);
    Optional(j, "noise", w.noiseCounts, where, 0, 1000);
    if (auto b = j.find("battery"); b != j.end()) {
        Optional(*b, "start", w.batteryStart, where + ".battery", 0, 6553);
        Optional(*b, "end", w.batteryEnd, where + ".battery", 0, 6553);
    }
    Optional(j, "seed", w.seed, where, 0, 9.0e15);
    return w;
}

MultishotRun Multishot(const json& j, const std::string& where, int64_t defaultStart) {
    MultishotRun r;
    r.well = Well(j, where, defaultStart);
    if (auto st = j.find("stops"); st != j.end()) {
        if (!st->is_array() || st->empty()) Fail(where + ".stops", "a list of stop lengths in samples");
        r.stops.clear();
        for (const json& n : *st) r.stops.push_back(Number<int>(n, where + ".stops", 1, 1000));
    }
    if (auto x = j.find("rotation"); x != j.end()) {
        Optional(*x, "samples", r.rotationSamples, where + ".rotation", 1, 1000);
        Optional(*x, "step", r.rotationStep, where + ".rotation", -180, 180);
    }
    if (auto x = j.find("vibration"); x != j.end()) {
        Optional(*x, "samples", r.vibrationSamples, where + ".vibration", 1, 1000);
        Optional(*x, "counts", r.vibrationCounts, where + ".vibration", 0, 10000);
    }
    if (auto x = j.find("drift"); x != j.end()) {
        Optional(*x, "samples", r.driftSamples, where + ".drift", 1, 1000);
        Optional(*x, "inclination", r.driftInclination, where + ".drift", -90, 90);
        Optional(*x, "azimuth", r.driftAzimuth, where + ".drift", -360, 360);
    }
    return r;
}

std::vector<FrameSelector> Selectors(const json& j, const std::string& where) {
    std::vector<FrameSelector> out;
    if (!j.is_array()) Fail(where, "a list of {\"reply\": kind, \"numbers\": [...]} is expected");
    for (const json& s : j) {
        FrameSelector f;
        if (!s.is_object() || !s.contains("reply") || !s["reply"].is_string())
            Fail(where, "\"reply\" kind expected");
        f.kind = s["reply"].get<std::string>();
        if (auto n = s.find("numbers"); n != s.end()) {
            for (const json& x : *n) f.numbers.push_back(Number<int>(x, where + ".numbers", 0, 1e9));
        }
        if (auto n = s.find("number"); n != s.end())
            f.numbers.push_back(Number<int>(*n, where + ".number", 0, 1e9));
        out.push_back(std::move(f));
    }
    return out;
}

FaultSpec Faults(const json& j) {
    FaultSpec f;
    const std::string w = "faults";
    Optional(j, "seed", f.seed, w, 0, 9.0e15);
    if (auto g = j.find("garbage"); g != j.end()) {
        Optional(*g, "bytes", f.garbageBytes, w + ".garbage", 0, 10000);
        if (g->contains("before")) f.garbageBefore = Selectors((*g)["before"], w + ".garbage.before");
    }
    Optional(j, "splitWrites", f.splitMaxChunk, w, 0, 10000);
    if (j.contains("corruptChecksum"))
        f.corruptChecksum = Selectors(j["corruptChecksum"], w + ".corruptChecksum");
    if (j.contains("dropReply")) f.dropReply = Selectors(j["dropReply"], w + ".dropReply");
    Optional(j, "stopAfterSamples", f.stopAfterSamples, w, 0, 1e9);
    Optional(j, "hangUpAfterSamples", f.hangUpAfterSamples, w, 0, 1e9);
    if (auto l = j.find("longHeaderFrames"); l != j.end()) f.longHeaderFrames = l->get<bool>();
    Optional(j, "corruptRate", f.corruptRate, w, 0, 0.5);
    if (j.contains("corruptReplies"))
        f.corruptReplies = Selectors(j["corruptReplies"], w + ".corruptReplies");
    Optional(j, "reconnectAfterMs", f.reconnectAfterMs, w, 0, 600000);
    if (j.contains("repeatReply")) f.repeatReply = Selectors(j["repeatReply"], w + ".repeatReply");
    Optional(j, "repeatEveryMs", f.repeatEveryMs, w, 1, 600000);
    return f;
}

// The probe part; returns the synthetic survey when there is one, for marks near stations.
std::optional<SyntheticSurvey> Probe(const json& p, Scenario& s, int64_t hostNow) {
    const std::string w = "probe";
    if (auto n = p.find("number"); n != p.end()) {
        if (!n->is_string() || n->get<std::string>().size() > 10)
            Fail(w + ".number", "text of at most 10 characters");
        s.probeNumber = n->get<std::string>();
    }
    Optional(p, "delayMinutes", s.delayMinutes, w, 0, 32767);
    Optional(p, "intervalSeconds", s.intervalSeconds, w, 1, 32767);
    if (p.contains("battery")) s.batteryTenths = Tenths(p["battery"], w + ".battery", 0, 6553);
    Optional(p, "toolFaceOffset", s.toolFaceOffset, w, -360, 360);
    s.probeClockAtStart = ClockAtStart(p, w);
    s.probeAddress = Address(p, w, s.probeAddress);
    Optional(p, "clearDelayMs", s.probeClearDelayMs, w, 0, 600000);
    if (p.contains("announced")) {
        s.announcedSamples = Number<int32_t>(p["announced"], w + ".announced", -2147483648.0, 2147483647.0);
    }
    if (auto f = p.find("realTimeForm"); f != p.end()) {
        const std::string form = f->is_string() ? f->get<std::string>() : "";
        if (form != "raw" && form != "attitude") Fail(w + ".realTimeForm", "\"raw\" or \"attitude\"");
        s.realTimeAttitudeForm = form == "attitude";
    }
    if (p.contains("calibration")) s.calibration = Calibration(p["calibration"], w + ".calibration");
    const json samples = p.value("samples", json());
    if (samples.is_array()) {
        for (std::size_t i = 0; i < samples.size(); ++i) {
            s.samples.push_back(ExplicitSample(samples[i], w + ".samples[" + std::to_string(i) + "]"));
        }
    } else if (samples.is_object() && samples.contains("synthetic")) {
        const SyntheticWell well = Well(samples["synthetic"], w + ".samples.synthetic", hostNow - 4 * 3600);
        SyntheticSurvey survey = BuildSurvey(well, s.calibration, s.delayMinutes, s.intervalSeconds);
        s.samples = survey.samples;
        return survey;
    } else if (samples.is_object() && samples.contains("multishot")) {
        const MultishotRun run =
            Multishot(samples["multishot"], w + ".samples.multishot", hostNow - 4 * 3600);
        SyntheticSurvey survey = BuildMultishot(run, s.calibration, s.delayMinutes, s.intervalSeconds);
        s.samples = survey.samples;
        s.segments = survey.segments;
        return survey;
    } else if (!samples.is_null()) {
        Fail(w + ".samples", "a list of samples, {\"synthetic\": {...}} or {\"multishot\": {...}} expected");
    }
    return std::nullopt;
}

void Synchronizer(const json& j, Scenario& s, const std::optional<SyntheticSurvey>& survey) {
    const std::string w = "synchronizer";
    s.syncClockAtStart = ClockAtStart(j, w);
    s.syncAddress = Address(j, w, s.syncAddress);
    Optional(j, "clearDelayMs", s.syncClearDelayMs, w, 0, 600000);
    const json marks = j.value("marks", json());
    if (marks.is_array()) {
        for (std::size_t i = 0; i < marks.size(); ++i) {
            const std::string mw = w + ".marks[" + std::to_string(i) + "]";
            MarkSpec m;
            m.sequence = Number<int32_t>(marks[i].value("sequence", json()), mw + ".sequence", -2147483648.0,
                                         2147483647.0);
            m.time = Time(marks[i].value("time", json()), mw + ".time");
            s.marks.push_back(m);
        }
    } else if (marks.is_string() || marks.is_object()) {
        const json plan = marks.is_object() ? marks.value("nearStations", json()) : json::object();
        if ((marks.is_string() && marks.get<std::string>() != "nearStations") || !plan.is_object()) {
            Fail(w + ".marks", "a list of marks, \"nearStations\" or {\"nearStations\": {...}} expected");
        }
        if (!survey) Fail(w + ".marks", "marks near stations need synthetic probe samples");
        MarkPlan mp;
        Optional(plan, "jitterSeconds", mp.jitterSeconds, w + ".marks", 0, 3600);
        Optional(plan, "extra", mp.extra, w + ".marks", 0, 1000);
        if (plan.contains("repeat")) {
            for (const json& r : plan["repeat"])
                mp.repeat.push_back(Number<int>(r, w + ".marks.repeat", 0, 1e6));
        }
        s.marks = PlanMarks(*survey, mp, s.faults.seed, s.keptMarks);
    } else if (!marks.is_null()) {
        Fail(w + ".marks", "a list of marks or \"nearStations\" expected");
    }
    Optional(j, "announced", s.announcedMarks, w, 0, 2147483647.0);
    Optional(j, "kept", s.keptMarks, w, 0, 2147483647.0);
}

}  // namespace

bool FrameSelector::Matches(const std::string& k, int number) const {
    if (kind != "*" && kind != k) return false;
    return numbers.empty() || std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

Scenario ScenarioFromJson(const json& j, int64_t hostNow) {
    if (!j.is_object()) Fail("top level", "an object is expected");
    Scenario s;
    if (j.contains("faults")) s.faults = Faults(j["faults"]);
    std::optional<SyntheticSurvey> survey;
    if (j.contains("probe")) survey = Probe(j["probe"], s, hostNow);
    if (j.contains("synchronizer")) Synchronizer(j["synchronizer"], s, survey);
    if (!s.samples.empty()) {
        s.realTimeTemperatureTenths = s.samples.back().temperatureTenths;
        s.realTimeRaw = s.samples.back().raw;
    }
    return s;
}

Scenario LoadScenario(const std::string& path, int64_t hostNow) {
    std::string text;
    const orb::FileResult read = orb::ReadOutsideFile(path, text, kMaxScenarioBytes);
    if (!read.ok()) throw std::runtime_error("scenario: cannot read " + path + ": " + read.message);
    json j;
    try {
        j = json::parse(text);
    } catch (const json::exception& e) {
        throw std::runtime_error("scenario: " + path + ": " + e.what());
    }
    try {
        return ScenarioFromJson(j, hostNow);
    } catch (const json::exception& e) {
        throw std::runtime_error("scenario: " + path + ": " + e.what());
    }
}

Scenario DefaultScenario(int64_t hostNow) {
    Scenario s;
    s.toolFaceOffset = 1.5f;
    s.calibration = orb::GenerateCalibration(20931);
    SyntheticWell well;
    well.stations = GenerateProfile(ProfileSpec{});
    const int perStation = well.travelSamples + well.dwellSamples;
    const int64_t duration = int64_t{s.delayMinutes} * 60 +
                             static_cast<int64_t>(well.stations.size()) * perStation * s.intervalSeconds;
    // Ended a quarter of an hour ago, started on a whole minute.
    const int64_t start = (hostNow - duration - 900) / 60 * 60;
    well.start = CivilFields(start);
    const SyntheticSurvey survey = BuildSurvey(well, s.calibration, s.delayMinutes, s.intervalSeconds);
    s.samples = survey.samples;
    s.marks = PlanMarks(survey, MarkPlan{}, s.faults.seed, s.keptMarks);
    s.realTimeTemperatureTenths = s.samples.back().temperatureTenths;
    s.realTimeRaw = s.samples.back().raw;
    return s;
}

}  // namespace devsim
