// The survey context in the block after the marks: round trips, the file of
// a survey without context unchanged, a reader of the original layout
// unaffected by the block, and damaged blocks ignored with a message.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "document/tlm_extension.h"
#include "document/tlm_file.h"
#include "tlm_test_util.h"

namespace orb {
namespace {

SurveyContext FullContext() {
    SurveyContext c;
    c.location = WellLocation{37.123456789, -118.25, 12.5};
    c.surveyDate = "2026-12-01";
    c.declination = SourcedValue{-5.5, {ValueSource::Kind::kModel, "WMM2025", "2025.0-2030.0"}};
    c.dip = SourcedValue{56.2, {}};
    c.fieldStrength = SourcedValue{53100.25, {ValueSource::Kind::kModel, "IGRF-14", ""}};
    c.gravity = SourcedValue{0.99987, {}};
    c.projection = "CGCS2000 / 高斯-克吕格 39 带";
    c.convergence = SourcedValue{1.0 / 3.0, {ValueSource::Kind::kModel, "GeographicLib", ""}};
    c.northReference = NorthReference::kGrid;
    c.depthUnit = DepthUnit::kFeet;
    c.dlsCourseLength = 100;
    c.tieOn = TieOn{150.5, 149.9, 1.25, -2.5, {3.5, 271.0}};
    c.vsAzimuth = 135.75;
    c.tolerances = QcTolerances{0.004, 350, 0.3};
    c.workMode = WorkModeValues{-5, 30};
    return c;
}

// What a reader that follows the original layout does: magic, five texts,
// records, marks, and nothing after them.
struct OriginalReading {
    std::vector<SurveyRecord> records;
    std::vector<SyncRecord> marks;
    std::size_t end = 0;
};

OriginalReading ReadOriginalLayout(const std::vector<uint8_t>& b) {
    OriginalReading r;
    std::size_t pos = 5;
    auto u32 = [&] {
        uint32_t v;
        std::memcpy(&v, &b.at(pos + 3) - 3, 4);
        pos += 4;
        return v;
    };
    for (int t = 0; t < 5; ++t) pos += 2 * std::size_t{u32()};
    r.records.resize(u32());
    std::memcpy(r.records.data(), &b.at(pos), r.records.size() * sizeof(SurveyRecord));
    pos += r.records.size() * sizeof(SurveyRecord);
    r.marks.resize(u32());
    if (!r.marks.empty()) std::memcpy(r.marks.data(), &b.at(pos), r.marks.size() * sizeof(SyncRecord));
    r.end = pos + r.marks.size() * sizeof(SyncRecord);
    return r;
}

TEST(TlmContext, EveryFieldSurvivesSaveAndOpen) {
    COrbDoc doc = test::SampleDoc();
    doc.SetContext(FullContext());
    TlmLoadResult back = LoadTlm(EncodeTlm(doc, TlmTiming{3, 10}));
    ASSERT_TRUE(back.loaded()) << back.message;
    EXPECT_TRUE(back.contextNotice.empty()) << back.contextNotice;
    EXPECT_TRUE(back.document.context() == FullContext());
    EXPECT_EQ(back.document.RecordCount(), doc.RecordCount());

    // Each field on its own, so that none depends on another being present.
    const SurveyContext full = FullContext();
    const std::vector<std::function<void(SurveyContext&)>> single = {
        [&](SurveyContext& c) { c.location = full.location; },
        [&](SurveyContext& c) { c.surveyDate = full.surveyDate; },
        [&](SurveyContext& c) { c.declination = full.declination; },
        [&](SurveyContext& c) { c.convergence = full.convergence; },
        [&](SurveyContext& c) { c.projection = full.projection; },
        [&](SurveyContext& c) { c.northReference = NorthReference::kMagnetic; },
        [&](SurveyContext& c) { c.depthUnit = DepthUnit::kMetres; },
        [&](SurveyContext& c) { c.tieOn = full.tieOn; },
        [&](SurveyContext& c) { c.vsAzimuth = full.vsAzimuth; },
        [&](SurveyContext& c) { c.tolerances = full.tolerances; },
        [&](SurveyContext& c) { c.workMode = full.workMode; },
    };
    for (std::size_t i = 0; i < single.size(); ++i) {
        SurveyContext c;
        single[i](c);
        COrbDoc d;
        d.SetContext(c);
        const TlmLoadResult r = LoadTlm(EncodeTlm(d, {}));
        ASSERT_TRUE(r.loaded()) << i;
        EXPECT_TRUE(r.document.context() == c) << i << ": " << ContextToJson(r.document.context());
    }
}

TEST(TlmContext, WithoutContextTheFileIsTheOriginalLayout) {
    const COrbDoc plain = test::SampleDoc();
    const std::vector<uint8_t> bytes = EncodeTlm(plain, TlmTiming{-5, 12});
    EXPECT_EQ(ReadOriginalLayout(bytes).end, bytes.size());
    EXPECT_EQ(EncodeTlm(COrbDoc(), {}).size(), 37u);

    COrbDoc withContext = test::SampleDoc();
    withContext.SetContext(FullContext());
    const std::vector<uint8_t> extended = EncodeTlm(withContext, TlmTiming{-5, 12});
    ASSERT_GT(extended.size(), bytes.size());
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), extended.begin()));
    EXPECT_TRUE(StartsWithContextBlock(std::span(extended).subspan(bytes.size())));

    // Clearing the context gives the original bytes back.
    withContext.SetContext({});
    EXPECT_EQ(EncodeTlm(withContext, TlmTiming{-5, 12}), bytes);
}

TEST(TlmContext, OriginalLayoutReaderGetsTheSameRecordsAndMarks) {
    COrbDoc doc = test::SampleDoc(7, 4);
    doc.SetContext(FullContext());
    const OriginalReading r = ReadOriginalLayout(EncodeTlm(doc, {}));
    ASSERT_EQ(r.records.size(), doc.RecordCount());
    ASSERT_EQ(r.marks.size(), doc.MarkCount());
    EXPECT_EQ(std::memcmp(r.records.data(), doc.records().data(), r.records.size() * sizeof(SurveyRecord)),
              0);
    EXPECT_EQ(std::memcmp(r.marks.data(), doc.syncRecords().data(), r.marks.size() * sizeof(SyncRecord)), 0);
}

// Writes a block around `content` as the writer frames it.
std::vector<uint8_t> Block(const std::string& content, uint16_t version = kContextBlockVersion) {
    std::vector<uint8_t> b(std::begin(kContextBlockMagic), std::end(kContextBlockMagic));
    b.push_back(static_cast<uint8_t>(version));
    b.push_back(static_cast<uint8_t>(version >> 8));
    const uint32_t n = static_cast<uint32_t>(content.size());
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(n >> (8 * i)));
    b.insert(b.end(), content.begin(), content.end());
    const uint32_t crc = Crc32(b);
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(crc >> (8 * i)));
    return b;
}

TEST(TlmContext, DamagedBlockIsIgnoredAndTheSurveyOpens) {
    const COrbDoc plain = test::SampleDoc();
    const std::vector<uint8_t> base = EncodeTlm(plain, TlmTiming{3, 10});
    COrbDoc withContext = test::SampleDoc();
    withContext.SetContext(FullContext());
    const std::vector<uint8_t> good = EncodeTlm(withContext, TlmTiming{3, 10});
    const std::size_t blockAt = base.size();

    struct Case {
        const char* name;
        std::function<std::vector<uint8_t>()> tail;
        const char* expected;  // part of the notice
    };
    auto goodTail = [&] { return std::vector<uint8_t>(good.begin() + blockAt, good.end()); };
    const std::string minimal = R"({"format":"orb-survey-context","version":1})";
    const Case cases[] = {
        {"bad crc",
         [&] {
             auto t = goodTail();
             t[20] ^= 0x01;
             return t;
         },
         "校验和不符"},
        {"crc field damaged",
         [&] {
             auto t = goodTail();
             t.back() ^= 0x80;
             return t;
         },
         "校验和不符"},
        {"unknown block version", [&] { return Block(minimal, 2); }, "版本 2"},
        {"length beyond the end",
         [&] {
             auto t = goodTail();
             t[9] = 0x7F;
             return t;
         },
         "长度超出"},
        {"cut short",
         [&] {
             auto t = goodTail();
             t.resize(t.size() - 6);
             return t;
         },
         "长度超出"},
        {"only the magic",
         [] {
             return std::vector<uint8_t>{'O', 'R', 'B', 'X'};
         },
         "不完整"},
        {"not JSON", [] { return Block("{\"format\":"); }, "不是有效的 JSON"},
        {"unknown content version", [] { return Block(R"({"format":"orb-survey-context","version":7})"); },
         "内容版本 7"},
        {"other format", [] { return Block(R"({"format":"x","version":1})"); }, "format"},
        {"number as text",
         [] { return Block(R"({"format":"orb-survey-context","version":1,"vsAzimuth":"12"})"); },
         "vsAzimuth"},
        {"unknown north",
         [] { return Block(R"({"format":"orb-survey-context","version":1,"northReference":"up"})"); },
         "northReference"},
        {"work mode out of range",
         [] {
             return Block(
                 R"({"format":"orb-survey-context","version":1,"workMode":{"delayMinutes":40000,"intervalSeconds":1}})");
         },
         "delayMinutes"},
        {"tie-on incomplete",
         [] { return Block(R"({"format":"orb-survey-context","version":1,"tieOn":{"md":1}})"); },
         "inclination"},
        {"array instead of object", [] { return Block("[1,2]"); }, "不是对象"},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> file = base;
        const std::vector<uint8_t> tail = c.tail();
        file.insert(file.end(), tail.begin(), tail.end());
        const TlmLoadResult r = LoadTlm(file);
        ASSERT_TRUE(r.loaded()) << c.name << ": " << r.message;
        EXPECT_TRUE(r.document.context().empty()) << c.name;
        EXPECT_NE(r.contextNotice.find(c.expected), std::string::npos) << c.name << ": " << r.contextNotice;
        EXPECT_NE(r.contextNotice.find("已忽略"), std::string::npos) << c.name;
        EXPECT_EQ(r.document.RecordCount(), plain.RecordCount()) << c.name;
        EXPECT_EQ(r.document.MarkCount(), plain.MarkCount()) << c.name;
        EXPECT_EQ(r.timing.sampleIntervalSeconds, 10) << c.name;
    }
}

TEST(TlmContext, BytesAfterAGoodBlockAreIgnoredWithAMessage) {
    COrbDoc doc = test::SampleDoc();
    doc.SetContext(FullContext());
    std::vector<uint8_t> file = EncodeTlm(doc, {});
    file.push_back(0);
    const TlmLoadResult r = LoadTlm(file);
    ASSERT_TRUE(r.loaded());
    EXPECT_TRUE(r.document.context() == FullContext());
    EXPECT_EQ(r.contextNotice, kBytesAfterContextMessage);
}

TEST(TlmContext, FileLoadReadsTheBlockToo) {
    test::ScratchDir dir;
    COrbDoc doc = test::SampleDoc(3000, 2);
    doc.SetContext(FullContext());
    ASSERT_TRUE(SaveTlmFile(dir / "a.tlm", doc, TlmTiming{1, 2}).ok());
    const TlmLoadResult r = LoadTlmFile(dir / "a.tlm");
    ASSERT_TRUE(r.loaded()) << r.message;
    EXPECT_TRUE(r.document.context() == FullContext());
    EXPECT_EQ(r.document.RecordCount(), 3000u);
}

TEST(TlmContext, Crc32IsTheUsualOne) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32({reinterpret_cast<const uint8_t*>(check.data()), check.size()}), 0xCBF43926u);
}

}  // namespace
}  // namespace orb
