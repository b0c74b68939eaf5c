// The optional extension block after the marks of a survey file: the survey
// context as a small JSON document, framed so that a reader of the original
// layout (which stops after the marks) never notices it, and checked so that
// damage is recognised and the survey still opens. Layout (little-endian):
//   "ORBX"  u16 block version (1)  u32 content length  content  u32 CRC-32
// The CRC-32 (IEEE 802.3, as zlib) covers everything from the magic to the
// end of the content. docs/tlm-context.md describes the content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/ui_text.h"
#include "document/survey_context.h"

namespace orb {

inline constexpr uint8_t kContextBlockMagic[4] = {'O', 'R', 'B', 'X'};
inline constexpr uint16_t kContextBlockVersion = 1;
inline constexpr int kContextContentVersion = 1;
inline constexpr uint32_t kMaxContextContentBytes = 1u << 20;
// Magic, version, length and CRC around the content.
inline constexpr std::size_t kContextBlockOverhead = 4 + 2 + 4 + 4;

inline constexpr const char* kBytesAfterContextMessage =
    ORB_TEXT("core", "测量背景信息之后还有多余的字节，已忽略");

uint32_t Crc32(std::span<const uint8_t> bytes);

// The content: one JSON object, UTF-8, members in a fixed order.
std::string ContextToJson(const SurveyContext& context);
// nullopt with `problem` set when the text is not a context of a version
// this program reads.
std::optional<SurveyContext> ContextFromJson(std::string_view json, std::string& problem);

// The whole block; empty for an empty context (the file then ends after the
// marks, as files always did).
std::vector<uint8_t> EncodeContextBlock(const SurveyContext& context);

// True when `tail` (the bytes after the marks) starts with the block's magic.
bool StartsWithContextBlock(std::span<const uint8_t> tail);

struct ContextBlockResult {
    std::optional<SurveyContext> context;  // set when the block was read
    std::string message;                   // why the block, or bytes after it, were ignored
};

// Reads the block at the start of `tail`. Never fails the load: a damaged
// block gives no context and a message; bytes after a good block are
// ignored with a message.
ContextBlockResult ParseContextBlock(std::span<const uint8_t> tail);

}  // namespace orb
