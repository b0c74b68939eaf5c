#include "document/tlm_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/outside_file.h"
#include "document/tlm_test_util.h"

namespace orb {
namespace {

using test::SampleDoc;

// Builds a file image item by item, so damaged and unusual files can be made.
class Image {
public:
    Image& Bytes(std::initializer_list<uint8_t> b) {
        bytes_.insert(bytes_.end(), b);
        return *this;
    }
    Image& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Image& Text(std::u16string_view t) {
        U32(static_cast<uint32_t>(t.size()));
        for (char16_t c : t) Bytes({static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
        return *this;
    }
    Image& Header(std::u16string_view delay = u"0", std::u16string_view interval = u"0") {
        return Bytes({'K', 'V', 'O', 'R', 'B'}).Text(u"").Text(u"").Text(u"").Text(delay).Text(interval);
    }
    Image& Zeros(std::size_t n) {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

TEST(TlmFormat, MinimalDocumentIsThe37ByteFile) {
    const std::vector<uint8_t> expected = {0x4B, 0x56, 0x4F, 0x52, 0x42, 0, 0, 0, 0,    0, 0,    0, 0,
                                           0,    0,    0,    0,    0x01, 0, 0, 0, 0x30, 0, 0x01, 0, 0,
                                           0,    0x30, 0,    0,    0,    0, 0, 0, 0,    0, 0};
    const COrbDoc empty;
    EXPECT_EQ(EncodeTlm(empty, {}), expected);

    COrbDoc doc = SampleDoc();
    TlmTiming timing{7, 9};
    ASSERT_TRUE(AdoptLoaded(LoadTlm(expected), doc, timing));
    EXPECT_EQ(EncodeTlm(doc, timing), expected);
    EXPECT_EQ(timing.sampleDelayMinutes, 0);
    EXPECT_EQ(timing.sampleIntervalSeconds, 0);
    EXPECT_TRUE(doc.teamNumber().empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST(TlmFormat, TextsAreCountedUtf16CodeUnits) {
    COrbDoc doc;
    doc.SetTeamNumber(u"井队编号");
    const auto bytes = EncodeTlm(doc, {});
    const std::vector<uint8_t> team(bytes.begin() + 5, bytes.begin() + 17);
    EXPECT_EQ(team, (std::vector<uint8_t>{4, 0, 0, 0, 0x95, 0x4E, 0x1F, 0x96, 0x16, 0x7F, 0xF7, 0x53}));
    EXPECT_EQ(bytes.size(), 37u + 8u);
}

TEST(TlmFormat, RoundTripIsBitIdentical) {
    const COrbDoc original = SampleDoc(40, 7);
    const TlmTiming timing{-5, 32767};
    const auto bytes = EncodeTlm(original, timing);
    ASSERT_EQ(bytes.size(), 5u + 5 * 4 + 2 * (4 + 8 + 5 + 2 + 5) + 4 + 40 * 108 + 4 + 7 * 20);

    TlmLoadResult loaded = LoadTlm(bytes);
    ASSERT_TRUE(loaded.loaded()) << loaded.message;
    EXPECT_EQ(loaded.timing.sampleDelayMinutes, -5);
    EXPECT_EQ(loaded.timing.sampleIntervalSeconds, 32767);
    EXPECT_EQ(loaded.document.teamNumber(), original.teamNumber());
    EXPECT_EQ(loaded.document.wellNumber(), original.wellNumber());
    ASSERT_EQ(loaded.document.RecordCount(), 40u);
    EXPECT_EQ(std::memcmp(loaded.document.records().data(), original.records().data(), 40 * 108), 0);
    EXPECT_EQ(std::memcmp(loaded.document.syncRecords().data(), original.syncRecords().data(), 7 * 20), 0);
    EXPECT_EQ(EncodeTlm(loaded.document, loaded.timing), bytes);

    // The delay text is "-5": minus sign and digit.
    const std::size_t at = 5 + 3 * 4 + 2 * (4 + 8 + 5);
    const std::vector<uint8_t> delay(bytes.begin() + at, bytes.begin() + at + 8);
    EXPECT_EQ(delay, (std::vector<uint8_t>{2, 0, 0, 0, '-', 0, '5', 0}));
}

TEST(TlmFormat, TimingTextsReadLikeAtoiTruncatedTo16Bits) {
    EXPECT_EQ(ParseTimingText(u"-5"), -5);
    EXPECT_EQ(ParseTimingText(u"12abc"), 12);
    EXPECT_EQ(ParseTimingText(u"abc"), 0);
    EXPECT_EQ(ParseTimingText(u""), 0);
    EXPECT_EQ(ParseTimingText(u" \t+7"), 7);
    EXPECT_EQ(ParseTimingText(u"-"), 0);
    EXPECT_EQ(ParseTimingText(u"5 6"), 5);
    EXPECT_EQ(ParseTimingText(u"７"), 0);        // a full-width digit is no digit
    EXPECT_EQ(ParseTimingText(u"70000"), 4464);  // 70000 - 65536
    EXPECT_EQ(ParseTimingText(u"-32769"), 32767);
    EXPECT_EQ(ParseTimingText(u"99999999999999999999"), -1);  // saturates at INT32_MAX first
    EXPECT_EQ(ParseTimingText(u"-99999999999999999999"), 0);  // INT32_MIN
    EXPECT_EQ(FormatTimingText(-32768), u"-32768");

    const auto file = Image().Header(u"abc", u"12abc").U32(0).U32(0).bytes();
    TlmLoadResult r = LoadTlm(file);
    ASSERT_TRUE(r.loaded());
    EXPECT_EQ(r.timing.sampleDelayMinutes, 0);
    EXPECT_EQ(r.timing.sampleIntervalSeconds, 12);
}

// Every way a file can be damaged: the result says why, and adopting it
// leaves the current document and timing values exactly as they were.
TEST(TlmFormat, DamagedFilesNeverTouchTheCurrentDocument) {
    const auto good = EncodeTlm(SampleDoc(3, 2), {4, 6});
    struct Case {
        std::vector<uint8_t> bytes;
        TlmLoadStatus status;
        const char* messagePart;
    };
    std::vector<Case> cases = {
        {{'K', 'V', 'O', 'R', 'X', 0, 0, 0, 0}, TlmLoadStatus::kMismatch, "数据格式不匹配，请重新选择"},
        {{'P', 'K'}, TlmLoadStatus::kMismatch, "数据格式不匹配"},
        {{'K', 'V', 'O'}, TlmLoadStatus::kDamaged, "不完整"},
        {Image().Bytes({'K', 'V', 'O', 'R', 'B'}).U32(1000).Zeros(10).bytes(), TlmLoadStatus::kDamaged,
         "文本长度"},
        {Image().Header().U32(2).Zeros(108 * 2 - 1).bytes(), TlmLoadStatus::kDamaged, "记录数量超出"},
        {Image().Header().U32(kMaxTlmRecords + 1).Zeros(200).bytes(), TlmLoadStatus::kDamaged, "39768215"},
        {Image().Header().U32(0xFFFFFFFFu).bytes(), TlmLoadStatus::kDamaged, "39768215"},
        {Image().Header().U32(0).U32(3).Zeros(59).bytes(), TlmLoadStatus::kDamaged, "时间标记"},
    };
    for (std::size_t len = 1; len < good.size(); ++len) {  // every truncation of a good file
        cases.push_back(
            {std::vector<uint8_t>(good.begin(), good.begin() + len), TlmLoadStatus::kDamaged, ""});
    }
    for (const Case& c : cases) {
        COrbDoc doc = SampleDoc(4, 1);
        doc.SetModified(true);
        TlmTiming timing{-3, 30};
        const auto before = EncodeTlm(doc, timing);
        TlmLoadResult r = LoadTlm(c.bytes);
        SCOPED_TRACE(testing::Message() << "file of " << c.bytes.size() << " bytes: " << r.message);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.message.find(c.messagePart), std::string::npos);
        EXPECT_FALSE(r.message.empty());
        EXPECT_FALSE(AdoptLoaded(std::move(r), doc, timing));
        EXPECT_EQ(EncodeTlm(doc, timing), before);
        EXPECT_TRUE(doc.IsModified());
    }
}

TEST(TlmFile, EmptyFileChangesNothingAndSaysNothing) {
    test::ScratchDir dir;
    test::WriteBytes(dir / "empty.tlm", {});
    TlmLoadResult r = LoadTlmFile(dir / "empty.tlm");
    EXPECT_EQ(r.status, TlmLoadStatus::kEmpty);
    EXPECT_TRUE(r.message.empty());
    COrbDoc doc = SampleDoc(2, 0);
    TlmTiming timing{1, 2};
    EXPECT_FALSE(AdoptLoaded(std::move(r), doc, timing));
    EXPECT_EQ(doc.RecordCount(), 2u);
    EXPECT_EQ(timing.sampleIntervalSeconds, 2);
}

TEST(TlmFile, FilesThatCannotBeReadAreReported) {
    test::ScratchDir dir;
    TlmLoadResult missing = LoadTlmFile(dir / "missing.tlm");
    EXPECT_EQ(missing.status, TlmLoadStatus::kOpenFailed);
    EXPECT_EQ(missing.message, "文件不存在，无法打开。");
    TlmLoadResult folder = LoadTlmFile(dir.path());
    EXPECT_EQ(folder.status, TlmLoadStatus::kOpenFailed);
    EXPECT_EQ(folder.message, kNotRegularFileMessage);  // not a file, and said so

    // Damage is found the same way through the file reader.
    auto bytes = EncodeTlm(SampleDoc(3, 2), {});
    bytes.resize(bytes.size() - 1);
    test::WriteBytes(dir / "cut.tlm", bytes);
    EXPECT_EQ(LoadTlmFile(dir / "cut.tlm").status, TlmLoadStatus::kDamaged);
}

TEST(TlmFile, SaveAndLoadThroughFilesAreBitIdentical) {
    test::ScratchDir dir;
    // Larger than the reader's and writer's buffers, so the direct paths run.
    const COrbDoc doc = SampleDoc(20000, 5000);
    const TlmTiming timing{-5, 12};
    ASSERT_TRUE(SaveTlmFile(dir / "a.TLM", doc, timing).ok());
    EXPECT_EQ(test::ReadBytes(dir / "a.TLM"), EncodeTlm(doc, timing));
    TlmLoadResult r = LoadTlmFile(dir / "a.TLM");
    ASSERT_TRUE(r.loaded()) << r.message;
    EXPECT_EQ(EncodeTlm(r.document, r.timing), EncodeTlm(doc, timing));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.TLM"});  // no temporary file left
}

TEST(TlmExtension, OnlyExactlyTlmOrLowercaseTlm) {
    for (const char* good : {"a.TLM", "a.tlm", "/x/y.z/survey.tlm", "..tlm", "a.b.TLM"}) {
        EXPECT_TRUE(HasTlmExtension(std::string_view(good))) << good;
    }
    for (const char* bad : {"a.Tlm", "a.TLM2", "a", "a.", "/x/y.tlm/survey", "a.tlm.bak", "a.tLM", ""}) {
        EXPECT_FALSE(HasTlmExtension(std::string_view(bad))) << bad;
    }
    EXPECT_TRUE(HasTlmExtension(std::u16string_view(u"/数据/井.tlm")));
    EXPECT_FALSE(HasTlmExtension(std::u16string_view(u"/数据.tlm/井")));
    EXPECT_FALSE(HasTlmExtension(std::u16string_view(u"井.Tlm")));
}

}  // namespace
}  // namespace orb
