// orb-cli probe commands: test, info, clock-read, clock-set, workmode and
// realtime, each the window's menu command on the same device logic.
#include <cstdio>

#include "cli/command.h"
#include "cli/device_session.h"
#include "cli/tlm_io_util.h"

namespace orbcli {
namespace {

using End = DeviceSession::End;

const orb::TransferState kNoTransfer{};

// Connects, runs `start`, then the loop until `done`.
int RunSimple(DeviceSession& s, const std::function<void()>& start, const std::function<bool()>& done) {
    if (const int rc = s.Connect()) return rc;
    start();
    return s.Finish(s.Run(done), kNoTransfer, "");
}

// A message box counts as the answer: the first one shown after `before`.
std::function<bool()> MessageAfter(DeviceSession& s) {
    const std::size_t before = s.messages.size();
    return [&s, before] { return s.messages.size() > before; };
}

int ClockCommand(int button) {
    DeviceSession s;
    if (const int rc = s.Connect()) return rc;
    s.clockAction = [&s, button] { s.dc().OnClockButton(button); };
    s.dc().OnClockDialog();
    if (!s.deviceClock.empty()) std::printf("设备时间:\t%s\n", s.deviceClock.c_str());
    return s.Finish(s.modalEnd, kNoTransfer, "");
}

const Register regTest{"test", "Probe communication test (通信测试)", [](CLI::App&) -> Runner {
                           return [] {
                               DeviceSession s;
                               return RunSimple(
                                   s, [&] { s.dc().OnProbeTest(); }, MessageAfter(s));
                           };
                       }};

const Register regInfo{"info", "Probe information (探管信息查询)", [](CLI::App&) -> Runner {
                           return [] {
                               DeviceSession s;
                               return RunSimple(
                                   s, [&] { s.dc().OnProbeInfo(); }, [&] { return s.infoShown; });
                           };
                       }};

const Register regClockRead{
    "clock-read", "Read the probe's clock (读探管时间)", [](CLI::App& sub) -> Runner {
        auto sync = std::make_shared<bool>(false);
        sub.add_flag("--sync", *sync, "Read the synchronizer's clock instead");
        return [sync] {
            return ClockCommand(*sync ? orb::clock_button::kReadSync : orb::clock_button::kReadProbe);
        };
    }};

const Register regClockSet{
    "clock-set", "Set the probe's clock from this computer (校准探管时间)",
    [](CLI::App&) -> Runner { return [] { return ClockCommand(orb::clock_button::kSetProbe); }; }};

const Register regSyncClockSet{
    "sync-clock-set", "Set the synchronizer's clock from this computer (校准同步器时间)",
    [](CLI::App&) -> Runner { return [] { return ClockCommand(orb::clock_button::kSetSync); }; }};

struct WorkModeArgs {
    int32_t delay = 5;
    int32_t interval = 10;
    bool yes = false;
};

const Register regWorkMode{
    "workmode", "Write delay and interval to the probe and clear its data (工作模式设置)",
    [](CLI::App& sub) -> Runner {
        auto a = std::make_shared<WorkModeArgs>();
        sub.add_option("--delay", a->delay, "Sampling delay in minutes (1..999)")
            ->required()
            ->check(CLI::Range(1, 999));
        sub.add_option("--interval", a->interval, "Sampling interval in seconds (1..59)")
            ->required()
            ->check(CLI::Range(1, 59));
        sub.add_flag("--yes,-y", a->yes, "Do not ask for confirmation");
        return [a] {
            DeviceSession s;
            s.assumeYes = a->yes;
            s.workDelay = a->delay;
            s.workInterval = a->interval;
            if (const int rc = s.Connect()) return rc;
            s.dc().OnProbeWorkMode();
            if (s.timedOut()) return kExitTimeout;
            if (s.declined) return kExitDeclined;
            return s.Finish(s.Run([&] { return s.Shown("数据已清空，任务完成!"); }), kNoTransfer, "");
        };
    }};

const Register regRealTime{
    "realtime", "Show the probe's attitude every second (实时数据输出)", [](CLI::App& sub) -> Runner {
        auto count = std::make_shared<int>(0);
        sub.add_option("--count", *count, "Stop after N samples (default: until Ctrl-C)")
            ->check(CLI::NonNegativeNumber);
        return [count] {
            DeviceSession s;
            s.realTimeCount = *count;
            // One reading a second; without --count it runs until stopped, and
            // --deadline then only says for how long.
            s.SetDefaultDeadline(*count > 0 ? kDefaultDeadline + std::chrono::seconds(2 * *count)
                                            : std::chrono::seconds(0));
            if (const int rc = s.Connect()) return rc;
            s.dc().OnProbeRealTime();
            const bool stopped =
                s.modalEnd == End::kInterrupted || (s.modalEnd == End::kDeadline && *count == 0);
            const End end = stopped ? End::kDone : s.modalEnd;
            return s.Finish(end, kNoTransfer, "");
        };
    }};

}  // namespace
}  // namespace orbcli
