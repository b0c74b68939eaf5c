// orb-cli transfers and synchronizer commands: download (probe samples, with
// --marks also the synchronizer's marks and the station matching), marks,
// sync-test and sync-clear.
#include <cstdio>

#include "cli/command.h"
#include "cli/device_session.h"
#include "cli/tlm_io_util.h"

namespace orbcli {
namespace {

using End = DeviceSession::End;

// A clear may take long; the device answers when it has finished.
constexpr std::chrono::milliseconds kClearLimit(120000);

struct TransferArgs {
    std::string output;
    bool marks = false;
    bool yes = false;
};

int ProbeTransfer(DeviceSession& s) {
    s.progressTransfer = &s.dc().sampleTransfer;
    s.dc().OnProbeDownload();
    const End end = s.Run([&] { return s.dc().sampleTransfer.complete || s.dc().sampleTransfer.badCount; });
    return s.Finish(end, s.dc().sampleTransfer, "探管数据");
}

int MarkTransfer(DeviceSession& s) {
    s.ClearTimeout();
    s.progressTransfer = &s.dc().markTransfer;
    s.dc().OnSyncDownload();
    const End end = s.Run([&] { return s.dc().markTransfer.complete || s.dc().markTransfer.badCount; });
    return s.Finish(end, s.dc().markTransfer, "同步器数据");
}

const Register regDownload{
    "download", "Read the probe's stored data (读取探管数据)", [](CLI::App& sub) -> Runner {
        auto a = std::make_shared<TransferArgs>();
        AddOutputOption(sub, a->output, false);
        sub.add_flag("--marks", a->marks, "Also read the synchronizer's marks and match the stations");
        return [a] {
            DeviceSession s;
            s.showProgress = true;
            if (const int rc = s.Connect()) return rc;
            int rc = ProbeTransfer(s);
            // The synchronizer transfer runs whether the probe's ended complete
            // or not, within the same deadline.
            if (a->marks && rc != kExitDeadline) {
                const int marksRc = MarkTransfer(s);
                if (rc == kExitOk) rc = marksRc;
            }
            return SaveTransfers(s, a->output, rc, s.dc().sampleTransfer);
        };
    }};

const Register regMarks{"marks", "Read the synchronizer's marks (同步器数据读取)",
                        [](CLI::App& sub) -> Runner {
                            auto a = std::make_shared<TransferArgs>();
                            AddOutputOption(sub, a->output, true);
                            return [a] {
                                DeviceSession s;
                                s.showProgress = true;
                                if (const int rc = s.Connect()) return rc;
                                return SaveTransfers(s, a->output, MarkTransfer(s), s.dc().markTransfer);
                            };
                        }};

const Register regSyncTest{"sync-test", "Synchronizer communication test (连接测试)",
                           [](CLI::App&) -> Runner {
                               return [] {
                                   DeviceSession s;
                                   if (const int rc = s.Connect()) return rc;
                                   s.dc().OnSyncTest();
                                   const std::size_t before = s.messages.size();
                                   const End end = s.Run([&] { return s.messages.size() > before; });
                                   return s.Finish(end, orb::TransferState{}, "");
                               };
                           }};

const Register regSyncClear{
    "sync-clear", "Erase the synchronizer's marks (清空数据)", [](CLI::App& sub) -> Runner {
        auto a = std::make_shared<TransferArgs>();
        sub.add_flag("--yes,-y", a->yes, "Do not ask for confirmation");
        return [a] {
            DeviceSession s;
            s.assumeYes = a->yes;
            s.SetDefaultDeadline(kClearLimit + kDefaultDeadline);
            if (const int rc = s.Connect()) return rc;
            s.dc().OnSyncClear();
            if (s.declined) return kExitDeclined;
            const End end = s.Run([&] { return s.Shown("数据已清空，任务完成!"); }, kClearLimit);
            return s.Finish(end, orb::TransferState{}, "");
        };
    }};

}  // namespace
}  // namespace orbcli
