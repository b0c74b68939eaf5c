// The bytes after the marks of a survey file: ParseContextBlock on anything
// must never read out of bounds or throw, and a context it accepts must be
// written and read back to the same context (the writer's form is a fixed
// point). The same bytes as bare content go through the JSON reader too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/tlm_extension.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

void CheckRoundTrip(const orb::SurveyContext& c) {
    const std::vector<uint8_t> block = orb::EncodeContextBlock(c);
    const orb::ContextBlockResult again = orb::ParseContextBlock(block);
    if (c.empty()) {
        Check(block.empty(), "an empty context writes no block");
        return;
    }
    Check(again.context.has_value() && again.message.empty(), "a written block reads back");
    Check(*again.context == c, "a written context reads back the same");
    Check(orb::EncodeContextBlock(*again.context) == block, "writing is a fixed point");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const orb::ContextBlockResult r = orb::ParseContextBlock({data, size});
    Check(r.context.has_value() || !r.message.empty(), "an ignored block has a message");
    if (r.context) CheckRoundTrip(*r.context);

    std::string problem;
    const auto c = orb::ContextFromJson(std::string_view(reinterpret_cast<const char*>(data), size), problem);
    Check(c.has_value() == problem.empty(), "a refused content has a reason");
    if (c) CheckRoundTrip(*c);
    return 0;
}
