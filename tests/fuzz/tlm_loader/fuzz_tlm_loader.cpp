// Survey files from anywhere: LoadTlm on arbitrary bytes must never read out
// of bounds, must give all or nothing, and a loaded survey must write back to
// the same bytes. The file reader (LoadTlmFile) must agree with the in-memory
// one on every input.
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "document/tlm_file.h"

namespace {

using orb::COrbDoc;
using orb::TlmLoadResult;
using orb::TlmLoadStatus;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what) {
    if (!ok) Fail(what);
}

template <class T>
bool SameImages(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

bool SameDocument(const COrbDoc& a, const COrbDoc& b) {
    return a.teamNumber() == b.teamNumber() && a.wellNumber() == b.wellNumber() &&
           a.probeNumber() == b.probeNumber() && SameImages(a.records(), b.records()) &&
           SameImages(a.syncRecords(), b.syncRecords());
}

// `notices`: also the same note on the context block (a file written back
// has a sound block or none, so its note may differ from a damaged input's).
bool SameResult(const TlmLoadResult& a, const TlmLoadResult& b, bool notices = true) {
    return a.status == b.status && a.message == b.message && SameDocument(a.document, b.document) &&
           a.document.context() == b.document.context() && (!notices || a.contextNotice == b.contextNotice) &&
           a.timing.sampleDelayMinutes == b.timing.sampleDelayMinutes &&
           a.timing.sampleIntervalSeconds == b.timing.sampleIntervalSeconds;
}

bool IsEmptyDocument(const COrbDoc& d) {
    return d.RecordCount() == 0 && d.MarkCount() == 0 && d.teamNumber().empty() && d.wellNumber().empty() &&
           d.probeNumber().empty();
}

// The delay and interval texts T4 and T5 as the file holds them (only called
// for a file that loaded, so every count is in range).
struct TimingTexts {
    std::u16string delay, interval;
};

TimingTexts ReadTimingTexts(const uint8_t* data) {
    std::size_t pos = 5;
    auto text = [&] {
        uint32_t n = 0;
        std::memcpy(&n, data + pos, 4);
        std::u16string s(n, u'\0');
        std::memcpy(s.data(), data + pos + 4, std::size_t{n} * 2);
        pos += 4 + std::size_t{n} * 2;
        return s;
    };
    text();
    text();
    text();
    TimingTexts t;
    t.delay = text();
    t.interval = text();
    return t;
}

// atoi as the C library of the original platform has it (saturating at the
// 32-bit limits), on the text narrowed to bytes, then cut to 16 bits.
int16_t ReferenceAtoi(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    errno = 0;
    long long v = std::strtoll(narrow.c_str(), nullptr, 10);
    if (v > INT_MAX) v = INT_MAX;
    if (v < INT_MIN) v = INT_MIN;
    return static_cast<int16_t>(static_cast<int32_t>(v));
}

// The same bytes through a file descriptor, so the buffered file reader is
// exercised as well.
int MemFile() {
    static const int fd = [] {
        const int f = memfd_create("fuzz_tlm", MFD_CLOEXEC);
        if (f < 0) Fail("memfd_create");
        return f;
    }();
    return fd;
}

TlmLoadResult LoadThroughFile(const uint8_t* data, std::size_t size) {
    const int fd = MemFile();
    if (ftruncate(fd, 0) != 0) Fail("ftruncate");
    std::size_t done = 0;
    while (done < size) {
        const ssize_t w = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (w <= 0) Fail("pwrite");
        done += static_cast<std::size_t>(w);
    }
    return orb::LoadTlmFile("/proc/self/fd/" + std::to_string(fd));
}

void CheckLoaded(const TlmLoadResult& r, const uint8_t* data, std::size_t size) {
    Check(r.message.empty(), "a loaded file carries no message");
    const std::vector<uint8_t> again = orb::EncodeTlm(r.document, r.timing);
    const TlmLoadResult reloaded = orb::LoadTlm(again);
    Check(reloaded.loaded(), "a written survey loads");
    Check(SameResult(reloaded, r, false), "a written survey loads to the same survey");
    Check(reloaded.contextNotice.empty(), "a written context block is sound");
    Check(orb::EncodeTlm(reloaded.document, reloaded.timing) == again, "writing is a fixed point");

    const TimingTexts t = ReadTimingTexts(data);
    Check(r.timing.sampleDelayMinutes == ReferenceAtoi(t.delay), "delay text read as atoi");
    Check(r.timing.sampleIntervalSeconds == ReferenceAtoi(t.interval), "interval text read as atoi");
    // Texts in the form "%d" writes them: the file comes back byte for byte.
    const bool canonical = t.delay == orb::FormatTimingText(r.timing.sampleDelayMinutes) &&
                           t.interval == orb::FormatTimingText(r.timing.sampleIntervalSeconds);
    // A context block is written in the program's own form, so only the
    // original layout before it must come back byte for byte.
    COrbDoc plain;
    plain.ReplaceWith(COrbDoc(r.document));
    plain.SetContext({});
    const std::vector<uint8_t> original = orb::EncodeTlm(plain, r.timing);
    if (canonical) {
        Check(original.size() <= size && std::memcmp(original.data(), data, original.size()) == 0,
              "a canonical file writes back to the same bytes");
        Check(!r.document.context().empty() || !r.contextNotice.empty() ||
                  original.size() + r.trailingBytes == size,
              "bytes after the marks are a context block or counted as ignored");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const TlmLoadResult r = orb::LoadTlm({data, size});

    static constexpr uint8_t kMagic[5] = {'K', 'V', 'O', 'R', 'B'};
    const bool magicPrefix = std::memcmp(data, kMagic, size < 5 ? size : 5) == 0;
    Check((r.status == TlmLoadStatus::kEmpty) == (size == 0), "only an empty file is kEmpty");
    Check(size == 0 || (r.status == TlmLoadStatus::kMismatch) == !magicPrefix,
          "mismatch iff the magic differs");
    Check(r.status != TlmLoadStatus::kOpenFailed, "memory never fails to open");

    if (r.loaded()) {
        CheckLoaded(r, data, size);
    } else {
        Check(IsEmptyDocument(r.document), "a failed load leaves no partial survey");
        Check((r.status == TlmLoadStatus::kEmpty) == r.message.empty(), "every failure has a message");
    }

    Check(SameResult(LoadThroughFile(data, size), r), "file and memory loads agree");
    return 0;
}
