// orb-cli export-txt FILE.tlm -o OUT.txt: the TXT export of the window's
// command 32800, with the saved layout (ExpFmt.ini) or the one given here.
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "cli/command.h"
#include "cli/export_util.h"
#include "cli/tlm_io_util.h"
#include "report/txt_export.h"
#include "report/txt_export_format.h"

namespace orbcli {
namespace {

struct TxtArgs {
    ExportArgs common;
    std::string columns;
    std::string separator;
    std::optional<bool> captions;
};

// "0,3,4" or captions ("序号,井斜,磁方位"), each column at most once.
bool ParseColumns(const std::string& list, orb::TxtExportFormat& format) {
    format.columns.fill(-1);
    format.count = 0;
    std::istringstream items(list);
    std::string item;
    while (std::getline(items, item, ',')) {
        int column = orb::ExportColumnOfCaption(item);
        if (column < 0 && !item.empty() && item.find_first_not_of("0123456789") == std::string::npos &&
            item.size() <= 2) {
            column = std::stoi(item);
        }
        if (column < 0 || column >= orb::kExportColumnCount) {
            std::cerr << "orb-cli: --columns: unknown column \"" << item << "\" (0..21 or a caption)\n";
            return false;
        }
        if (format.count >= orb::kExportColumnCount) return false;
        format.columns[format.count++] = column;
    }
    if (!format.IsValid()) {
        std::cerr << "orb-cli: --columns: a column is listed twice\n";
        return false;
    }
    return true;
}

int RunExportTxt(const TxtArgs& args) {
    if (!orb::IsTxtExportPath(args.common.output)) {
        ReportError(args.common.output, "扩展名必须是 txt 或 TXT（the file name must end in .txt or .TXT）");
        return kExitBadArgs;
    }
    orb::FileResult unread;
    orb::TxtExportFormat format = orb::LoadTxtExportFormat(orb::TxtExportFormatPath(), &unread);
    if (!unread.ok())
        std::cerr << "orb-cli: " << unread.message << "（使用默认格式 the default layout is used）\n";
    if (!args.columns.empty() && !ParseColumns(args.columns, format)) return kExitBadArgs;
    if (!args.separator.empty()) format.separator = args.separator == "space" ? 1 : 0;
    if (args.captions) format.writeCaptions = *args.captions ? 1 : 0;
    ExportTable table;
    if (!OpenExportTable(args.common, table)) return kExitFileError;
    const orb::FileResult r = orb::ExportTxt(*table.model, format, table.declination, args.common.output);
    if (!r.ok()) {
        std::cerr << "orb-cli: " << r.message << "\n";
        return kExitFileError;
    }
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<TxtArgs>();
    AddExportArgs(sub, args->common);
    sub.add_option("--columns", args->columns,
                   "Columns in output order, by number 0..21 or caption, comma separated "
                   "(default: the saved layout of the format dialog)");
    sub.add_option("--separator", args->separator, "Field separator (default: the saved layout)")
        ->check(CLI::IsMember({"space", "comma"}));
    auto* on = sub.add_flag_callback(
        "--captions", [args] { args->captions = true; }, "Write the caption line first");
    auto* off = sub.add_flag_callback(
        "--no-captions", [args] { args->captions = false; }, "Write no caption line");
    on->excludes(off);
    return [args] { return RunExportTxt(*args); };
}

Register reg{"export-txt", "Export the checked stations of a survey file as text (导出文本文件)", Setup};

}  // namespace
}  // namespace orbcli
