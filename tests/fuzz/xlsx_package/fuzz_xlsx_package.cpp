// Existing .xlsx workbooks from anywhere: the package patcher that the Excel
// export uses must refuse any bytes with a reason or give a package that
// patches again, without believing the sizes a package declares (run with
// -max_len of at least 1 MB, so that size lies and long parts are reached).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "report/xlsx_patcher.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

const orb::XlsRows& Block() {
    static const orb::XlsRows rows = [] {
        orb::XlsRows r(3);
        for (int c = 0; c < 22; ++c) r[0].push_back(orb::XlsCell::Str(u"caption_x0041_ \u0001"));
        for (int c = 0; c < 22; ++c) r[1].push_back(orb::XlsCell::Num(c + 0.5));
        for (int c = 0; c < 22; ++c)
            r[2].push_back(c % 2 ? orb::XlsCell::Str(u"\u4E95\u659C") : orb::XlsCell{});
        return r;
    }();
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string out, error;
    if (!orb::PatchXlsxFile(bytes, Block(), out, &error)) {
        Check(!error.empty(), "a refused package has a reason");
        return 0;
    }
    std::string again;
    Check(orb::PatchXlsxFile(out, Block(), again, &error), "a patched package patches again");
    return 0;
}
