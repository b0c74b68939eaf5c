#include "report/xlsx_package.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>

namespace orb {

struct XlsxPackage::State {
    zip_source_t* source = nullptr;
    zip_t* zip = nullptr;
    std::size_t inflated = 0;
    std::list<std::string> added;  // data of replaced parts, until the archive is written

    ~State() {
        if (zip) zip_discard(zip);
        if (source) zip_source_free(source);
    }
};

namespace {

bool Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

}  // namespace

XlsxPackage::XlsxPackage() : s_(std::make_unique<State>()) {}
XlsxPackage::~XlsxPackage() = default;

bool XlsxPackage::Open(std::string_view bytes, std::string* error) {
    s_ = std::make_unique<State>();
    // The source owns its copy: on writing, libzip may keep parts of it in
    // the new package's buffer and frees it with that.
    if (bytes.empty()) return Fail(error, "not a zip package: the file is empty");
    void* copy = std::malloc(bytes.size());
    if (!copy) return Fail(error, "out of memory");
    std::memcpy(copy, bytes.data(), bytes.size());
    zip_error_t err;
    zip_error_init(&err);
    s_->source = zip_source_buffer_create(copy, bytes.size(), 1, &err);
    if (!s_->source) {
        std::free(copy);
        return Fail(error, zip_error_strerror(&err));
    }
    s_->zip = zip_open_from_source(s_->source, ZIP_CHECKCONS, &err);
    if (s_->zip) zip_source_keep(s_->source);  // its content is the new package after closing
    if (!s_->zip) {
        const std::string why = "not a zip package: " + std::string(zip_error_strerror(&err));
        zip_error_fini(&err);
        return Fail(error, why);
    }
    zip_error_fini(&err);
    uint64_t total = 0;
    const zip_int64_t n = zip_get_num_entries(s_->zip, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(s_->zip, static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
            return Fail(error, "a member of the package cannot be read");
        if (st.size > kXlsxMaxPartBytes)
            return Fail(error, "a member of the package declares a size beyond any workbook's");
        total += st.size;
        if (total > kXlsxMaxPackageBytes)
            return Fail(error, "the package declares a size beyond any workbook's");
    }
    return true;
}

bool XlsxPackage::Has(const std::string& name) const {
    return s_->zip && zip_name_locate(s_->zip, name.c_str(), ZIP_FL_NOCASE) >= 0;
}

bool XlsxPackage::Read(const std::string& name, std::string& out, std::string* error) {
    const zip_int64_t index = s_->zip ? zip_name_locate(s_->zip, name.c_str(), ZIP_FL_NOCASE) : -1;
    if (index < 0) return Fail(error, "the package has no part " + name);
    zip_stat_t st;
    if (zip_stat_index(s_->zip, static_cast<zip_uint64_t>(index), 0, &st) != 0)
        return Fail(error, "the part " + name + " cannot be read");
    zip_file_t* f = zip_fopen_index(s_->zip, static_cast<zip_uint64_t>(index), 0);
    if (!f) return Fail(error, "the part " + name + " cannot be read: " + zip_strerror(s_->zip));
    out.clear();
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const zip_int64_t got = zip_fread(f, chunk, sizeof chunk);
        if (got < 0) {
            ok = Fail(error, "the part " + name + " is damaged: " + zip_file_strerror(f));
            break;
        }
        if (got == 0) break;
        out.append(chunk, static_cast<std::size_t>(got));
        if (out.size() > st.size || out.size() > kXlsxMaxPartBytes ||
            s_->inflated + out.size() > kXlsxMaxPackageBytes) {
            ok = Fail(error, "the part " + name + " is larger than it declares");
            break;
        }
    }
    zip_fclose(f);
    if (ok) s_->inflated += out.size();
    return ok;
}

bool XlsxPackage::Put(const std::string& name, std::string data, std::string* error) {
    std::string& kept = s_->added.emplace_back(std::move(data));
    zip_source_t* src = zip_source_buffer(s_->zip, kept.data(), kept.size(), 0);
    if (!src) return Fail(error, zip_strerror(s_->zip));
    // A replaced part is removed and added anew: libzip keeps the level of
    // a part whose method does not change at its slowest, and a sheet of
    // 65,536 full rows deflates many times faster at the fastest level, for
    // a file a few percent larger.
    const zip_int64_t old = zip_name_locate(s_->zip, name.c_str(), ZIP_FL_NOCASE);
    const std::string stored = old >= 0 ? zip_get_name(s_->zip, static_cast<zip_uint64_t>(old), 0) : name;
    if (old >= 0) zip_delete(s_->zip, static_cast<zip_uint64_t>(old));
    const zip_int64_t index = zip_file_add(s_->zip, stored.c_str(), src, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(src);
        return Fail(error, zip_strerror(s_->zip));
    }
    zip_set_file_compression(s_->zip, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    return true;
}

bool XlsxPackage::Remove(const std::string& name) {
    const zip_int64_t index = zip_name_locate(s_->zip, name.c_str(), ZIP_FL_NOCASE);
    return index >= 0 && zip_delete(s_->zip, static_cast<zip_uint64_t>(index)) == 0;
}

bool XlsxPackage::Save(std::string& out, std::string* error) {
    if (zip_close(s_->zip) != 0) {
        const std::string why = zip_strerror(s_->zip);
        return Fail(error, "the package cannot be written: " + why);
    }
    s_->zip = nullptr;
    zip_source_t* src = s_->source;
    if (zip_source_open(src) != 0) return Fail(error, "the package cannot be written");
    bool ok = zip_source_seek(src, 0, SEEK_END) == 0;
    const zip_int64_t size = ok ? zip_source_tell(src) : -1;
    ok = ok && size >= 0 && zip_source_seek(src, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<std::size_t>(size));
        ok = zip_source_read(src, out.data(), out.size()) == size;
    }
    zip_source_close(src);
    if (!ok) return Fail(error, "the package cannot be written");
    return true;
}

}  // namespace orb
