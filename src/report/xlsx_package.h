// The zip package of an .xlsx file, read and changed part by part with
// libzip: parts that are not replaced are copied into the new package as
// they are, compressed bytes and all.
//
// The package comes from outside, so its sizes are not believed: a member may
// declare at most kXlsxMaxPartBytes and all members together
// kXlsxMaxPackageBytes (a workbook of 65,536 full rows needs far less), and
// reading stops at whichever of the declared size and the limit comes first.
// Nothing is allocated from a declared size.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orb {

inline constexpr std::size_t kXlsxMaxPartBytes = std::size_t{128} << 20;
inline constexpr std::size_t kXlsxMaxPackageBytes = std::size_t{256} << 20;

class XlsxPackage {
public:
    XlsxPackage();
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;

    // False with a reason in `error` when `bytes` are no zip package within
    // the limits.
    bool Open(std::string_view bytes, std::string* error);

    // Part names are compared without case, as packages name them.
    bool Has(const std::string& name) const;
    // The whole content of a part; false with a reason when it is missing,
    // damaged or larger than it may be.
    bool Read(const std::string& name, std::string& out, std::string* error);
    // Replaces or adds a part.
    bool Put(const std::string& name, std::string data, std::string* error);
    bool Remove(const std::string& name);

    // The bytes of the changed package; the package is closed afterwards.
    bool Save(std::string& out, std::string* error);

private:
    struct State;
    std::unique_ptr<State> s_;
};

}  // namespace orb
