#include "report/txt_export_format.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/outside_file.h"

namespace orb {

namespace {

void PutInt32(std::string& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

int32_t GetInt32(std::string_view b, std::size_t at) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = (u << 8) | static_cast<unsigned char>(b[at + i]);
    return static_cast<int32_t>(u);
}

}  // namespace

bool TxtExportFormat::IsValid() const {
    if (count < 0 || count > kExportColumnCount) return false;
    std::array<bool, kExportColumnCount> seen{};
    for (int i = 0; i < count; ++i) {
        const int32_t c = columns[i];
        if (c < 0 || c >= kExportColumnCount || seen[c]) return false;
        seen[c] = true;
    }
    return true;
}

std::string EncodeExpFmt(const TxtExportFormat& format) {
    std::string out;
    out.reserve(kExpFmtFileSize);
    PutInt32(out, format.writeCaptions);
    PutInt32(out, format.separator);
    for (int32_t c : format.columns) PutInt32(out, c);
    PutInt32(out, format.count);
    return out;
}

bool DecodeExpFmt(std::string_view bytes, TxtExportFormat& format) {
    if (bytes.size() != kExpFmtFileSize) return false;
    TxtExportFormat f;
    f.writeCaptions = GetInt32(bytes, 0);
    f.separator = GetInt32(bytes, 4);
    for (int i = 0; i < kExportColumnCount; ++i) f.columns[i] = GetInt32(bytes, 8 + 4 * i);
    f.count = GetInt32(bytes, 96);
    if (!f.IsValid()) return false;
    format = f;
    return true;
}

std::string TxtExportFormatPath() {
    std::filesystem::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && home[0] ? home : ".") / ".config";
    }
    return (base / "Orb" / "ExpFmt.ini").string();
}

TxtExportFormat LoadTxtExportFormat(const std::string& path, FileResult* unread) {
    TxtExportFormat format;
    std::string bytes;
    // An over-long file is damaged: the cap is the layout's own size. No file
    // there (nor a folder for it) gives the defaults silently, as on a first run.
    const FileResult r = ReadOutsideFile(path, bytes, kExpFmtFileSize);
    if (r.ok()) {
        DecodeExpFmt(bytes, format);
    } else if (unread && r.code != FileStatus::kTooLarge && r.error != ENOENT && r.error != ENOTDIR) {
        *unread = r;
        unread->message = "无法读取 " + path + "：" + r.message;
    }
    return format;
}

FileResult SaveTxtExportFormat(const std::string& path, const TxtExportFormat& format) {
    const std::string dir = std::filesystem::path(path).parent_path().string();
    if (!dir.empty()) {
        FileResult made = MakeDirectories(dir);
        if (!made.ok()) {
            made.message = "无法创建文件夹 " + dir + "：" + made.message;
            return made;
        }
    }
    FileResult r = WriteFileAtomically(path, EncodeExpFmt(format));
    if (!r.ok()) r.message = "无法保存 " + path + "：" + r.message;
    return r;
}

}  // namespace orb
