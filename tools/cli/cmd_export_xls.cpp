// orb-cli export-xls FILE.tlm -o OUT.xls: the Excel export of the window's
// command 32845 (.xls, or .xlsx for names ending in .xlsx), into a new
// workbook or sheet "Sheet1" of an existing one.
#include <iostream>
#include <memory>
#include <string>

#include "cli/command.h"
#include "cli/export_util.h"
#include "cli/tlm_io_util.h"
#include "report/excel_export.h"

namespace orbcli {
namespace {

int RunExportXls(const ExportArgs& args) {
    if (orb::ExcelFormatOfPath(args.output) == orb::ExcelFormat::None) {
        ReportError(args.output,
                    "扩展名必须是 xls、XLS、xlsx 或 XLSX（the file name must end in .xls or .xlsx）");
        return kExitBadArgs;
    }
    ExportTable table;
    if (!OpenExportTable(args, table)) return kExitFileError;
    const orb::FileResult r = orb::ExportExcel(*table.model, table.declination, args.output);
    if (!r.ok()) {
        ReportError(args.output, r.Text());
        return kExitFileError;
    }
    std::cout << r.message << "\n";
    return kExitOk;
}

Runner Setup(CLI::App& sub) {
    auto args = std::make_shared<ExportArgs>();
    AddExportArgs(sub, *args);
    return [args] { return RunExportXls(*args); };
}

Register reg{"export-xls",
             "Export the checked stations of a survey file to an Excel workbook (导出Excel表格)", Setup};

}  // namespace
}  // namespace orbcli
