#include "document/tlm_extension.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace orb {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kFormatName = "orb-survey-context";
constexpr const char* kIgnoredSuffix = "，已忽略（测量数据已正常打开）";

// ---------------------------------------------------------------- writing

void PutNumber(Json& j, const char* key, double v) {
    if (std::isfinite(v)) j[key] = v;
}

template <class T>
void PutOptional(Json& j, const char* key, const std::optional<T>& v) {
    if (v && std::isfinite(*v)) j[key] = *v;
}

Json SourceJson(const ValueSource& s) {
    Json j;
    j["kind"] = s.kind == ValueSource::Kind::kModel ? "model" : "operator";
    if (!s.model.empty()) j["model"] = s.model;
    if (!s.validity.empty()) j["validity"] = s.validity;
    return j;
}

void PutSourced(Json& j, const char* key, const std::optional<SourcedValue>& v) {
    if (!v || !std::isfinite(v->value)) return;
    j[key] = Json{{"value", v->value}, {"source", SourceJson(v->source)}};
}

Json TieOnJson(const TieOn& t) {
    Json j = Json::object();
    PutNumber(j, "md", t.md);
    PutNumber(j, "inclination", t.direction.inclination);
    PutNumber(j, "azimuth", t.direction.azimuth);
    PutNumber(j, "tvd", t.tvd);
    PutNumber(j, "north", t.north);
    PutNumber(j, "east", t.east);
    return j;
}

Json ToJson(const SurveyContext& c) {
    Json j;
    j["format"] = kFormatName;
    j["version"] = kContextContentVersion;
    if (c.location) {
        Json loc = Json::object();
        PutNumber(loc, "latitude", c.location->latitude);
        PutNumber(loc, "longitude", c.location->longitude);
        PutNumber(loc, "height", c.location->height);
        j["location"] = loc;
    }
    if (!c.surveyDate.empty()) j["surveyDate"] = c.surveyDate;
    Json mag = Json::object();
    PutSourced(mag, "declination", c.declination);
    PutSourced(mag, "dip", c.dip);
    PutSourced(mag, "fieldStrength", c.fieldStrength);
    PutSourced(mag, "gravity", c.gravity);
    if (!mag.empty()) j["magnetic"] = mag;
    Json proj = Json::object();
    if (!c.projection.empty()) proj["name"] = c.projection;
    PutSourced(proj, "convergence", c.convergence);
    if (!proj.empty()) j["projection"] = proj;
    if (c.northReference) j["northReference"] = NorthReferenceKey(*c.northReference);
    if (c.depthUnit) j["depthUnit"] = *c.depthUnit == DepthUnit::kFeet ? "ft" : "m";
    PutOptional(j, "dlsCourseLength", c.dlsCourseLength);
    if (c.tieOn) j["tieOn"] = TieOnJson(*c.tieOn);
    PutOptional(j, "vsAzimuth", c.vsAzimuth);
    if (c.tolerances) {
        Json t = Json::object();
        PutNumber(t, "totalGravity", c.tolerances->totalGravity);
        PutNumber(t, "fieldStrength", c.tolerances->fieldStrength);
        PutNumber(t, "dip", c.tolerances->dip);
        j["tolerances"] = t;
    }
    if (c.workMode)
        j["workMode"] = Json{{"delayMinutes", c.workMode->delayMinutes},
                             {"intervalSeconds", c.workMode->intervalSeconds}};
    return j;
}

// ---------------------------------------------------------------- reading

// Thrown for content that has the right shape as JSON but not as a context.
struct BadContent : std::runtime_error {
    using std::runtime_error::runtime_error;
};

const Json* Member(const Json& j, const char* key) {
    const auto it = j.find(key);
    return it == j.end() ? nullptr : &*it;
}

const Json& Object(const Json& j, const char* what) {
    if (!j.is_object()) throw BadContent(std::string(what) + " 不是对象");
    return j;
}

double Number(const Json& j, const char* key) {
    const Json* v = Member(j, key);
    if (!v || !v->is_number()) throw BadContent(std::string(key) + " 缺少或不是数字");
    const double d = v->get<double>();
    if (!std::isfinite(d)) throw BadContent(std::string(key) + " 不是有限数");
    return d;
}

std::optional<double> OptionalNumber(const Json& j, const char* key) {
    if (!Member(j, key)) return std::nullopt;
    return Number(j, key);
}

std::string Text(const Json& j, const char* key) {
    const Json* v = Member(j, key);
    if (!v) return {};
    if (!v->is_string()) throw BadContent(std::string(key) + " 不是文本");
    return v->get<std::string>();
}

ValueSource SourceFrom(const Json& j) {
    Object(j, "source");
    ValueSource s;
    const std::string kind = Text(j, "kind");
    if (kind == "model")
        s.kind = ValueSource::Kind::kModel;
    else if (kind != "operator")
        throw BadContent("source.kind 未知: " + kind);
    s.model = Text(j, "model");
    s.validity = Text(j, "validity");
    return s;
}

std::optional<SourcedValue> OptionalSourced(const Json& parent, const char* key) {
    const Json* v = Member(parent, key);
    if (!v) return std::nullopt;
    Object(*v, key);
    SourcedValue s;
    s.value = Number(*v, "value");
    if (const Json* src = Member(*v, "source")) s.source = SourceFrom(*src);
    return s;
}

int16_t Int16(const Json& j, const char* key) {
    const Json* v = Member(j, key);
    if (!v || !v->is_number_integer()) throw BadContent(std::string(key) + " 缺少或不是整数");
    const int64_t i = v->get<int64_t>();
    if (i < std::numeric_limits<int16_t>::min() || i > std::numeric_limits<int16_t>::max())
        throw BadContent(std::string(key) + " 超出范围");
    return static_cast<int16_t>(i);
}

TieOn TieOnFrom(const Json& j) {
    Object(j, "tieOn");
    TieOn t;
    t.md = Number(j, "md");
    t.direction.inclination = Number(j, "inclination");
    t.direction.azimuth = Number(j, "azimuth");
    t.tvd = Number(j, "tvd");
    t.north = Number(j, "north");
    t.east = Number(j, "east");
    return t;
}

void ReadMagnetic(const Json& j, SurveyContext& c) {
    const Json* mag = Member(j, "magnetic");
    if (!mag) return;
    Object(*mag, "magnetic");
    c.declination = OptionalSourced(*mag, "declination");
    c.dip = OptionalSourced(*mag, "dip");
    c.fieldStrength = OptionalSourced(*mag, "fieldStrength");
    c.gravity = OptionalSourced(*mag, "gravity");
}

void ReadProjection(const Json& j, SurveyContext& c) {
    const Json* proj = Member(j, "projection");
    if (!proj) return;
    Object(*proj, "projection");
    c.projection = Text(*proj, "name");
    c.convergence = OptionalSourced(*proj, "convergence");
}

void ReadUnits(const Json& j, SurveyContext& c) {
    if (Member(j, "northReference")) {
        const std::string north = Text(j, "northReference");
        c.northReference = ParseNorthReference(north);
        if (!c.northReference) throw BadContent("northReference 未知: " + north);
    }
    if (Member(j, "depthUnit")) {
        const std::string unit = Text(j, "depthUnit");
        if (unit != "m" && unit != "ft") throw BadContent("depthUnit 未知: " + unit);
        c.depthUnit = unit == "ft" ? DepthUnit::kFeet : DepthUnit::kMetres;
    }
    c.dlsCourseLength = OptionalNumber(j, "dlsCourseLength");
    c.vsAzimuth = OptionalNumber(j, "vsAzimuth");
}

void ReadQuality(const Json& j, SurveyContext& c) {
    if (const Json* t = Member(j, "tolerances")) {
        Object(*t, "tolerances");
        c.tolerances =
            QcTolerances{Number(*t, "totalGravity"), Number(*t, "fieldStrength"), Number(*t, "dip")};
    }
    if (const Json* w = Member(j, "workMode")) {
        Object(*w, "workMode");
        c.workMode = WorkModeValues{Int16(*w, "delayMinutes"), Int16(*w, "intervalSeconds")};
    }
}

SurveyContext FromJson(const Json& j) {
    Object(j, "内容");
    if (Text(j, "format") != kFormatName) throw BadContent("format 不是 orb-survey-context");
    const Json* version = Member(j, "version");
    if (!version || !version->is_number_integer()) throw BadContent("缺少 version");
    if (version->get<int64_t>() != kContextContentVersion)
        throw BadContent("内容版本 " + version->dump() + " 无法识别");
    SurveyContext c;
    if (const Json* loc = Member(j, "location")) {
        Object(*loc, "location");
        c.location =
            WellLocation{Number(*loc, "latitude"), Number(*loc, "longitude"), Number(*loc, "height")};
    }
    c.surveyDate = Text(j, "surveyDate");
    ReadMagnetic(j, c);
    ReadProjection(j, c);
    ReadUnits(j, c);
    if (const Json* t = Member(j, "tieOn")) c.tieOn = TieOnFrom(*t);
    ReadQuality(j, c);
    return c;
}

// ---------------------------------------------------------------- framing

template <class T>
T ReadLe(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T>
void AppendLe(std::vector<uint8_t>& out, T v) {
    uint8_t b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    out.insert(out.end(), b, b + sizeof v);
}

ContextBlockResult Ignored(const std::string& why) {
    return ContextBlockResult{std::nullopt, "文件末尾的测量背景信息" + why + kIgnoredSuffix};
}

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

}  // namespace

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uint32_t c = 0xFFFFFFFFu;
    for (uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::string ContextToJson(const SurveyContext& context) {
    return ToJson(context).dump();
}

std::optional<SurveyContext> ContextFromJson(std::string_view json, std::string& problem) {
    const Json j = Json::parse(json.begin(), json.end(), nullptr, false);
    if (j.is_discarded()) {
        problem = "不是有效的 JSON";
        return std::nullopt;
    }
    try {
        return FromJson(j);
    } catch (const BadContent& e) {
        problem = e.what();
    } catch (const nlohmann::json::exception& e) {
        problem = e.what();
    }
    return std::nullopt;
}

std::vector<uint8_t> EncodeContextBlock(const SurveyContext& context) {
    if (context.empty()) return {};
    const std::string content = ContextToJson(context);
    std::vector<uint8_t> out(std::begin(kContextBlockMagic), std::end(kContextBlockMagic));
    AppendLe<uint16_t>(out, kContextBlockVersion);
    AppendLe<uint32_t>(out, static_cast<uint32_t>(content.size()));
    out.insert(out.end(), content.begin(), content.end());
    AppendLe<uint32_t>(out, Crc32(out));
    return out;
}

bool StartsWithContextBlock(std::span<const uint8_t> tail) {
    return tail.size() >= 4 && std::memcmp(tail.data(), kContextBlockMagic, 4) == 0;
}

ContextBlockResult ParseContextBlock(std::span<const uint8_t> tail) {
    if (!StartsWithContextBlock(tail)) return Ignored("缺少标识");
    if (tail.size() < kContextBlockOverhead) return Ignored("不完整");
    const uint16_t version = ReadLe<uint16_t>(tail.data() + 4);
    if (version != kContextBlockVersion) return Ignored("版本 " + std::to_string(version) + " 无法识别");
    const uint32_t length = ReadLe<uint32_t>(tail.data() + 6);
    if (length > kMaxContextContentBytes || length > tail.size() - kContextBlockOverhead)
        return Ignored("长度超出了文件的剩余长度");
    const std::size_t covered = 10 + std::size_t{length};
    if (Crc32(tail.first(covered)) != ReadLe<uint32_t>(tail.data() + covered)) return Ignored("校验和不符");
    const auto* content = reinterpret_cast<const char*>(tail.data() + 10);
    std::string problem;
    ContextBlockResult result;
    result.context = ContextFromJson(std::string_view(content, length), problem);
    if (!result.context) return Ignored("内容无效（" + problem + "）");
    if (tail.size() > covered + 4) result.message = kBytesAfterContextMessage;
    return result;
}

}  // namespace orb
