// The survey document file (extension TLM): magic "KVORB", five
// length-prefixed UTF-16LE texts (team, well, probe, delay, interval), the
// records and the synchronizer marks, all little-endian and unpadded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/atomic_file.h"
#include "core/file_result.h"
#include "core/ui_text.h"
#include "document/orb_doc.h"

namespace orb {

// The delay and interval texts of the file are the document's timing.
using TlmTiming = SurveyTiming;

// The most records whose 108-byte images fit in a 32-bit byte count.
inline constexpr uint32_t kMaxTlmRecords = 39768215;

inline constexpr const char* kTlmMismatchMessage = ORB_TEXT("core", "数据格式不匹配，请重新选择");
inline constexpr const char* kTlmMismatchCaption = ORB_TEXT("core", "警告");
inline constexpr const char* kOpenFailedMessage = ORB_TEXT("core", "打开文档失败。");
inline constexpr const char* kSaveFailedMessage = ORB_TEXT("core", "文件名不正确。");

// True when the text after the last "." of the file name is exactly "TLM"
// or exactly "tlm" (so "Tlm", "TLM2" and names without a dot fail).
bool HasTlmExtension(std::string_view path);
bool HasTlmExtension(std::u16string_view path);

enum class TlmLoadStatus {
    kLoaded,      // the whole file parsed; adopt `document` and `timing`
    kEmpty,       // a zero-length file: nothing happens, nothing is shown
    kMismatch,    // not a survey file: kTlmMismatchMessage, caption "警告"
    kDamaged,     // truncated, counts beyond the end...
    kOpenFailed,  // the file could not be opened or read
};

struct TlmLoadResult {
    TlmLoadStatus status = TlmLoadStatus::kEmpty;
    std::string message;  // Chinese text for the operator; empty for kLoaded/kEmpty
    // kLoaded only: why the context block after the marks was ignored (the
    // survey itself is complete); empty when there was none or it was read.
    std::string contextNotice;
    COrbDoc document;  // complete only for kLoaded, its timing and context included
    TlmTiming timing;  // the same as document.timing()
    // Bytes after the marks of a loaded file that are no context block: read
    // past, never interpreted.
    uint64_t trailingBytes = 0;

    bool loaded() const { return status == TlmLoadStatus::kLoaded; }
};

// The status-bar note for a loaded file with bytes after its marks.
inline constexpr const char* kTlmTrailingNote = ORB_TEXT("core", "文件末尾的多余字节已忽略");

// Parses a complete file image. Nothing outside the result is touched.
TlmLoadResult LoadTlm(std::span<const uint8_t> bytes);
// Reads a file; records go straight into the new document's vector, so the
// load needs little more memory than the records themselves. Anything but a
// regular file (a FIFO, a device, a folder) is refused unread, with
// kNotRegularFileMessage (core/outside_file.h).
TlmLoadResult LoadTlmFile(const std::filesystem::path& path);

// All-or-nothing adoption: for a loaded result replaces `doc` (ReplaceWith,
// which leaves it unmodified) and `timing` and returns true; otherwise
// changes nothing and returns false.
bool AdoptLoaded(TlmLoadResult&& result, COrbDoc& doc, TlmTiming& timing);

// Serialises the document, followed by its context block when it has a
// context (without one the file is exactly the original layout); returns 0 or the sink's errno (EOVERFLOW
// when a count does not fit the format).
int WriteTlm(const COrbDoc& doc, TlmTiming timing, ByteSink& sink);
// The complete file image in memory.
std::vector<uint8_t> EncodeTlm(const COrbDoc& doc, TlmTiming timing);

// Saves safely (see core/atomic_file.h): the previous file survives any
// failure, whose result carries SaveErrorMessage as the operator's text (a
// refused target the writer's own message). More
// than kMaxTlmRecords records are refused (kTooLarge) before anything is
// written, since such a file could never be opened again.
FileResult SaveTlmFile(const std::filesystem::path& path, const COrbDoc& doc, TlmTiming timing);
// The same with the document's own timing.
FileResult SaveTlmFile(const std::filesystem::path& path, const COrbDoc& doc);

// The operator's text for a failed save with errno `error`
// (kSaveFailedMessage unless a more specific one applies).
std::string SaveErrorMessage(int error);

// The delay and interval texts: "%d" when written, atoi when read (leading
// white space, optional sign, digits up to the first other character, 0
// without digits; saturated to 32 bits as atoi does) truncated to 16 bits.
std::u16string FormatTimingText(int16_t value);
int16_t ParseTimingText(std::u16string_view text);

}  // namespace orb
