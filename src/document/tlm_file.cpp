#include "document/tlm_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <memory>
#include <utility>

#include "core/outside_file.h"
#include "document/tlm_extension.h"

namespace orb {

// Records, marks and texts are copied as memory images.
static_assert(std::endian::native == std::endian::little, "the TLM image is the little-endian memory image");

namespace {

constexpr uint8_t kMagic[5] = {'K', 'V', 'O', 'R', 'B'};

constexpr const char* kTruncatedMessage = ORB_TEXT("core", "文件不完整（数据在中途结束），无法打开。");
constexpr const char* kTextBeyondEndMessage = ORB_TEXT("core", "文件已损坏：文本长度超出了文件的剩余长度。");
constexpr const char* kTooManyRecordsMessage =
    ORB_TEXT("core", "文件已损坏：记录数量超过了 39768215 条的上限。");
constexpr const char* kRecordsBeyondEndMessage =
    ORB_TEXT("core", "文件已损坏：记录数量超出了文件的剩余长度。");
constexpr const char* kMarksBeyondEndMessage =
    ORB_TEXT("core", "文件已损坏：时间标记数量超出了文件的剩余长度。");
constexpr const char* kReadErrorMessage = ORB_TEXT("core", "读取文件时出错，无法打开。");
constexpr const char* kMissingMessage = ORB_TEXT("core", "文件不存在，无法打开。");
constexpr const char* kNoPermissionMessage = ORB_TEXT("core", "没有权限读取该文件。");
constexpr const char* kTooManyToSaveMessage =
    ORB_TEXT("core", "记录数量超过了 39768215 条，无法保存为 TLM 文件。");

// ---------------------------------------------------------------- sources

class Source {
public:
    virtual ~Source() = default;
    virtual uint64_t Remaining() const = 0;
    // Exactly n bytes, or false (short read or read error).
    virtual bool Read(void* dst, std::size_t n) = 0;
    virtual bool ReadError() const { return false; }
};

class SpanSource final : public Source {
public:
    explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t Remaining() const override { return bytes_.size() - pos_; }
    bool Read(void* dst, std::size_t n) override {
        if (n > Remaining()) return false;
        if (n > 0) std::memcpy(dst, bytes_.data() + pos_, n);
        pos_ += n;
        return true;
    }

private:
    std::span<const uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// Small items come through a buffer; the record block is read directly into
// its destination.
class FdSource final : public Source {
public:
    FdSource(int fd, uint64_t size) : fd_(fd), size_(size), buf_(new uint8_t[kCapacity]) {}
    uint64_t Remaining() const override { return size_ - consumed_; }
    bool ReadError() const override { return readError_; }

    bool Read(void* dst, std::size_t n) override {
        if (n == 0) return true;
        auto* out = static_cast<uint8_t*>(dst);
        const std::size_t fromBuf = std::min(n, len_ - pos_);
        std::memcpy(out, buf_.get() + pos_, fromBuf);
        pos_ += fromBuf;
        consumed_ += fromBuf;
        out += fromBuf;
        n -= fromBuf;
        if (n == 0) return true;
        if (n >= kCapacity) return ReadDirect(out, n);
        if (!Refill()) return false;
        return Read(out, n);
    }

private:
    static constexpr std::size_t kCapacity = 64 * 1024;

    // Reads up to `n` bytes; returns how many, stopping early only at the end.
    std::size_t ReadSome(uint8_t* dst, std::size_t n) {
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::read(fd_, dst + got, n - got);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) readError_ = true;
            if (r <= 0) break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }

    bool ReadDirect(uint8_t* dst, std::size_t n) {
        const std::size_t got = ReadSome(dst, n);
        consumed_ += got;
        return got == n;
    }

    bool Refill() {
        pos_ = 0;
        len_ = ReadSome(buf_.get(), kCapacity);
        return len_ > 0;
    }

    int fd_;
    uint64_t size_;
    uint64_t consumed_ = 0;
    std::unique_ptr<uint8_t[]> buf_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool readError_ = false;
};

// A fresh block of a hundred megabytes costs tens of thousands of page
// faults when it is first touched, which dominates a large load. Asking for
// transparent huge pages before the first touch cuts that to a few dozen; it
// is only advice, so failure changes nothing.
void AdviseHugePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kMinBytes = std::size_t{8} << 20;
    if (bytes < kMinBytes) return;
    const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + page - 1) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + bytes) / page * page;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

// Sizes `v` to `count` elements, with the advice above taken before the
// elements are constructed.
template <class T>
void ResizeFresh(std::vector<T>& v, std::size_t count) {
    v.reserve(count);
    AdviseHugePages(v.data(), count * sizeof(T));
    v.resize(count);
}

// ---------------------------------------------------------------- parser

class TlmParser {
public:
    TlmParser(Source& src, TlmLoadResult& out) : src_(src), out_(out) {}

    void Run() {
        if (!ReadMagic()) return;
        std::u16string team, well, probe, delay, interval;
        if (!ReadText(team) || !ReadText(well) || !ReadText(probe) || !ReadText(delay) || !ReadText(interval))
            return;
        if (!ReadRecords() || !ReadMarks()) return;
        if (src_.Remaining() != 0 && !ReadContextBlock()) return;
        out_.document.SetTeamNumber(std::move(team));
        out_.document.SetWellNumber(std::move(well));
        out_.document.SetProbeNumber(std::move(probe));
        out_.timing.sampleDelayMinutes = ParseTimingText(delay);
        out_.timing.sampleIntervalSeconds = ParseTimingText(interval);
        out_.document.SetTiming(out_.timing);
        out_.status = TlmLoadStatus::kLoaded;
    }

private:
    void Fail(TlmLoadStatus status, const char* message) {
        out_.status = status;
        out_.message = message;
    }
    bool Truncated() {
        if (src_.ReadError())
            Fail(TlmLoadStatus::kOpenFailed, kReadErrorMessage);
        else
            Fail(TlmLoadStatus::kDamaged, kTruncatedMessage);
        return false;
    }

    bool ReadMagic() {
        uint8_t head[5] = {};
        const std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(5, src_.Remaining()));
        if (!src_.Read(head, n)) return Truncated();
        if (std::memcmp(head, kMagic, n) != 0) {
            Fail(TlmLoadStatus::kMismatch, kTlmMismatchMessage);
            return false;
        }
        return n == 5 || Truncated();
    }

    bool ReadU32(uint32_t& v) { return src_.Read(&v, sizeof v) || Truncated(); }

    bool ReadText(std::u16string& text) {
        uint32_t n = 0;
        if (!ReadU32(n)) return false;
        if (uint64_t{n} * 2 > src_.Remaining()) {
            Fail(TlmLoadStatus::kDamaged, kTextBeyondEndMessage);
            return false;
        }
        text.resize(n);
        return src_.Read(text.data(), std::size_t{n} * 2) || Truncated();
    }

    bool ReadRecords() {
        uint32_t count = 0;
        if (!ReadU32(count)) return false;
        if (count > kMaxTlmRecords) {
            Fail(TlmLoadStatus::kDamaged, kTooManyRecordsMessage);
            return false;
        }
        const uint64_t bytes = uint64_t{count} * sizeof(SurveyRecord);
        if (bytes > src_.Remaining()) {
            Fail(TlmLoadStatus::kDamaged, kRecordsBeyondEndMessage);
            return false;
        }
        bool ok = true;
        out_.document.EditRecords([&](std::vector<SurveyRecord>& v) {
            ResizeFresh(v, count);
            ok = src_.Read(v.data(), bytes);
        });
        return ok || Truncated();
    }

    // Bytes after the marks: the context block, or (anything else) damage.
    bool ReadContextBlock() {
        const uint64_t trailing = src_.Remaining();
        std::vector<uint8_t> tail(static_cast<std::size_t>(
            std::min<uint64_t>(trailing, kMaxContextContentBytes + kContextBlockOverhead)));
        if (!src_.Read(tail.data(), tail.size())) return Truncated();
        if (!StartsWithContextBlock(tail)) {
            // Writers may leave bytes after the marks; what the items say is complete.
            out_.trailingBytes = trailing;
            return true;
        }
        ContextBlockResult block = ParseContextBlock(tail);
        if (block.context) {
            out_.document.SetContext(std::move(*block.context));
            if (src_.Remaining() != 0 && block.message.empty()) block.message = kBytesAfterContextMessage;
        }
        out_.contextNotice = std::move(block.message);
        return true;
    }

    bool ReadMarks() {
        uint32_t count = 0;
        if (!ReadU32(count)) return false;
        const uint64_t bytes = uint64_t{count} * sizeof(SyncRecord);
        if (bytes > src_.Remaining()) {
            Fail(TlmLoadStatus::kDamaged, kMarksBeyondEndMessage);
            return false;
        }
        bool ok = true;
        out_.document.EditMarks([&](std::vector<SyncRecord>& v) {
            ResizeFresh(v, count);
            ok = src_.Read(v.data(), bytes);
        });
        return ok || Truncated();
    }

    Source& src_;
    TlmLoadResult& out_;
};

TlmLoadResult Parse(Source& src) {
    TlmLoadResult result;
    if (src.Remaining() == 0) return result;  // kEmpty
    TlmParser(src, result).Run();
    if (!result.loaded()) result.document = COrbDoc();  // free a partial survey at once
    return result;
}

TlmLoadResult OpenFailure(int error) {
    TlmLoadResult result;
    result.status = TlmLoadStatus::kOpenFailed;
    result.message = error == ENOENT                       ? kMissingMessage
                     : (error == EACCES || error == EPERM) ? kNoPermissionMessage
                                                           : kOpenFailedMessage;
    return result;
}

// ---------------------------------------------------------------- writing

int WriteU32(ByteSink& sink, uint32_t v) {
    return sink.Write(&v, sizeof v);
}

int WriteText(ByteSink& sink, std::u16string_view text) {
    if (text.size() > UINT32_MAX) return EOVERFLOW;
    if (int err = WriteU32(sink, static_cast<uint32_t>(text.size()))) return err;
    return sink.Write(text.data(), text.size() * 2);
}

class VectorSink final : public ByteSink {
public:
    explicit VectorSink(std::vector<uint8_t>& out) : out_(out) {}
    int Write(const void* data, std::size_t n) override {
        const auto* p = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), p, p + n);
        return 0;
    }

private:
    std::vector<uint8_t>& out_;
};

std::string_view FileExtension(std::string_view name) {
    const auto slash = name.find_last_of('/');
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

}  // namespace

bool HasTlmExtension(std::string_view path) {
    const std::string_view ext = FileExtension(path);
    return ext == "TLM" || ext == "tlm";
}

bool HasTlmExtension(std::u16string_view path) {
    const auto slash = path.find_last_of(u'/');
    if (slash != std::u16string_view::npos) path.remove_prefix(slash + 1);
    const auto dot = path.find_last_of(u'.');
    if (dot == std::u16string_view::npos) return false;
    const std::u16string_view ext = path.substr(dot + 1);
    return ext == u"TLM" || ext == u"tlm";
}

std::u16string FormatTimingText(int16_t value) {
    char buf[8];
    const auto res = std::to_chars(buf, buf + sizeof buf, static_cast<int>(value));
    return std::u16string(buf, res.ptr);
}

int16_t ParseTimingText(std::u16string_view text) {
    std::size_t i = 0;
    auto isSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min<int64_t>(magnitude * 10 + (text[i] - u'0'), int64_t{INT32_MAX} + 1);
    }
    int64_t v = negative ? -magnitude : magnitude;
    v = std::clamp<int64_t>(v, INT32_MIN, INT32_MAX);  // atoi saturates on overflow
    return static_cast<int16_t>(static_cast<int32_t>(v));
}

TlmLoadResult LoadTlm(std::span<const uint8_t> bytes) {
    SpanSource src(bytes);
    return Parse(src);
}

TlmLoadResult LoadTlmFile(const std::filesystem::path& path) {
    OutsideFile file;
    const FileResult opened = file.Open(path);
    if (opened.code == FileStatus::kRefused) {
        TlmLoadResult refused;
        refused.status = TlmLoadStatus::kOpenFailed;
        refused.message = kNotRegularFileMessage;
        return refused;
    }
    if (!opened.ok()) return OpenFailure(opened.error);
    ::posix_fadvise(file.fd(), 0, 0, POSIX_FADV_SEQUENTIAL);
    FdSource src(file.fd(), file.size());
    return Parse(src);
}

bool AdoptLoaded(TlmLoadResult&& result, COrbDoc& doc, TlmTiming& timing) {
    if (!result.loaded()) return false;
    doc.ReplaceWith(std::move(result.document));
    timing = result.timing;
    return true;
}

int WriteTlm(const COrbDoc& doc, TlmTiming timing, ByteSink& sink) {
    const auto& records = doc.records();
    const auto& marks = doc.syncRecords();
    if (records.size() > UINT32_MAX || marks.size() > UINT32_MAX) return EOVERFLOW;
    int err = sink.Write(kMagic, sizeof kMagic);
    if (!err) err = WriteText(sink, doc.teamNumber());
    if (!err) err = WriteText(sink, doc.wellNumber());
    if (!err) err = WriteText(sink, doc.probeNumber());
    if (!err) err = WriteText(sink, FormatTimingText(timing.sampleDelayMinutes));
    if (!err) err = WriteText(sink, FormatTimingText(timing.sampleIntervalSeconds));
    if (!err) err = WriteU32(sink, static_cast<uint32_t>(records.size()));
    if (!err) err = sink.Write(records.data(), records.size() * sizeof(SurveyRecord));
    if (!err) err = WriteU32(sink, static_cast<uint32_t>(marks.size()));
    if (!err) err = sink.Write(marks.data(), marks.size() * sizeof(SyncRecord));
    if (!err && !doc.context().empty()) {
        const std::vector<uint8_t> block = EncodeContextBlock(doc.context());
        err = sink.Write(block.data(), block.size());
    }
    return err;
}

std::vector<uint8_t> EncodeTlm(const COrbDoc& doc, TlmTiming timing) {
    std::vector<uint8_t> out;
    out.reserve(64 + doc.RecordCount() * sizeof(SurveyRecord) + doc.MarkCount() * sizeof(SyncRecord));
    VectorSink sink(out);
    WriteTlm(doc, timing, sink);
    return out;
}

std::string SaveErrorMessage(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return ORB_TEXT("core", "磁盘空间不足，文件没有保存。");
        case EACCES:
        case EPERM:
            return ORB_TEXT("core", "没有权限在该位置写入文件，文件没有保存。");
        case EROFS:
            return ORB_TEXT("core", "该位置是只读的，文件没有保存。");
        case EIO:
            return ORB_TEXT("core", "写入文件时出错，文件没有保存。");
        case EFBIG:
        case EOVERFLOW:
            return ORB_TEXT("core", "文件太大，无法保存。");
        default:
            return kSaveFailedMessage;
    }
}

FileResult SaveTlmFile(const std::filesystem::path& path, const COrbDoc& doc, TlmTiming timing) {
    if (doc.RecordCount() > kMaxTlmRecords)
        return FileResult::Failure(FileStatus::kTooLarge, EFBIG, kTooManyToSaveMessage);
    FileResult r = WriteFileAtomically(path, [&](ByteSink& sink) { return WriteTlm(doc, timing, sink); });
    if (!r.ok() && r.code != FileStatus::kRefused) r.message = SaveErrorMessage(r.error);
    return r;
}

FileResult SaveTlmFile(const std::filesystem::path& path, const COrbDoc& doc) {
    return SaveTlmFile(path, doc, doc.timing());
}

}  // namespace orb
