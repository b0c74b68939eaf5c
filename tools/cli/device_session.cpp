#include "cli/device_session.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "cli/command.h"
#include "cli/tlm_io_util.h"
#include "document/tlm_file.h"
#include "view/sync_matcher.h"

namespace orbcli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) {
    g_interrupted = 1;
}

void InstallInterruptHandler() {
    struct sigaction sa {};
    sa.sa_handler = OnInterrupt;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    // A closed terminal ends the command like Ctrl-C: what arrived is saved.
    sigaction(SIGHUP, &sa, nullptr);
}

// Line time of one item frame at the port's 9600 baud (ten bits a byte).
std::chrono::milliseconds LineTime(const orb::TransferState& t, int frameBytes) {
    if (!t.counted || t.announced <= 0) return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(int64_t{t.announced} * frameBytes * 10 * 1000 / 9600);
}

constexpr int kSampleFrameBytes = 38;
constexpr int kMarkFrameBytes = 53;

bool AllDigits(const std::string& s) {
    if (s.empty() || s.size() > 6) return false;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string Percent(int p) {
    return std::to_string(p) + "%";
}

}  // namespace

void ModelDeviceTable::SetShowAll(bool on) {
    if (on == model_.showAll()) return;
    if (on) {
        model_.ShowAll();
    } else {
        model_.ShowSelected();
    }
}

void ModelDeviceTable::SetReverseOrder(bool on) {
    if (on != model_.reverseOrder()) model_.ReverseDisplay();
}

std::size_t ModelDeviceTable::MatchStations(int32_t workIntervalSeconds) {
    return orb::MatchSyncMarks(model_.edits(), workIntervalSeconds);
}

DeviceSession::DeviceSession() {
    model_ = std::make_unique<orb::SurveyTableModel>(edits_);
    table_ = std::make_unique<ModelDeviceTable>(*model_);
}

DeviceSession::~DeviceSession() {
    ClearProgressLine();
    journal_.reset();
    dc_.reset();
    if (port_) port_->Close();
}

int DeviceSession::Connect() {
    const std::string& arg = Globals().port;
    int n = 0;
    orb::PortListOptions options;
    if (arg.empty() || AllDigits(arg)) {
        options = orb::PortListOptions::FromEnvironment();
        n = arg.empty() ? 0 : std::stoi(arg);
    } else {
        options = orb::PortListOptions::FromEnvironment(arg);
        n = 1;
    }
    port_ = std::make_unique<orb::SerialLinkPort>(options);
    loop_ = std::make_unique<orb::PollLoop>(*port_, timers_);
    dc_ = std::make_unique<orb::DeviceController>(*port_, timers_, *this, *table_, edits_);
    loop_->SetController(dc_.get());
    journal_ = std::make_unique<orb::TransferJournal>(*dc_, JournalFolderPath());
    journal_->SetFailureReporter([](const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); });
    dc_->SetReplyObserver([this](uint8_t) { lastFrame_ = std::chrono::steady_clock::now(); });
    if (!Globals().trace.empty()) {
        if (!lineLog_.Open(Globals().trace)) {
            ReportError(Globals().trace, "cannot create the line log");
            return kExitFileError;
        }
        dc_->SetLineLog(&lineLog_);
    }
    InstallInterruptHandler();
    if (n == 0) {
        dc_->SearchPorts();
        return port_->IsOpen() ? kExitOk : kExitPort;
    }
    dc_->portNumber = n;
    if (!port_->Open(n)) {
        const auto path = orb::PortPath(n, options);
        std::fprintf(stderr, "串口打开失败 (%s: %s)\n", path ? path->c_str() : std::to_string(n).c_str(),
                     orb::SerialErrorText(port_->lastError()));
        return kExitPort;
    }
    return kExitOk;
}

DeviceSession::End DeviceSession::Run(const std::function<bool()>& done,
                                      std::chrono::milliseconds stallLimit) {
    using Clock = std::chrono::steady_clock;
    lastFrame_ = Clock::now();
    End end = End::kDone;
    const auto stop = [&] {
        end = timedOut_ ? End::kTimeout : g_interrupted ? End::kInterrupted : End::kDone;
        if (end != End::kDone || done()) return true;
        if (DeadlinePassed()) {
            end = End::kDeadline;
            return true;
        }
        // Nothing is waiting for an answer, yet nothing arrives.
        if (!timers_.IsRunning(orb::timer_id::kReply) && Clock::now() - lastFrame_ >= stallLimit) {
            end = End::kStalled;
            return true;
        }
        return false;
    };
    if (loop_->RunUntil(stop) == orb::PollLoop::Result::kHungUp && !done()) end = End::kHungUp;
    DrawProgress(true);
    return end;
}

std::chrono::milliseconds DeviceSession::Deadline() const {
    using std::chrono::milliseconds;
    if (Globals().deadlineSeconds > 0)
        return milliseconds(static_cast<int64_t>(Globals().deadlineSeconds * 1000));
    if (defaultDeadline_.count() == 0 || !dc_) return defaultDeadline_;
    // Three times the line time: a slow device, pauses between frames.
    return defaultDeadline_ + 3 * (LineTime(dc_->sampleTransfer, kSampleFrameBytes) +
                                   LineTime(dc_->markTransfer, kMarkFrameBytes));
}

bool DeviceSession::DeadlinePassed() const {
    const auto limit = Deadline();
    return limit.count() > 0 && std::chrono::steady_clock::now() - start_ >= limit;
}

int DeviceSession::Finish(End end, const orb::TransferState& t, const char* what) {
    ClearProgressLine();
    const bool partial = t.counted && !t.complete;
    // The device logic may have said it already (a stream it saw stop).
    const auto report = [&](const char* reason) {
        const std::string text = orb::TransferShortfallText(reason, t, what);
        if (!Shown(text)) std::fprintf(stderr, "%s\n", text.c_str());
    };
    switch (end) {
        case End::kDone:
            // The device logic has said what is missing or why nothing was stored.
            if (t.badCount) return kExitBadReply;
            return t.Gaps() ? kExitMissing : kExitOk;
        case End::kDeadline: {
            const std::string reason =
                "超过命令时限（" + std::to_string((Deadline().count() + 999) / 1000) + "秒），已停止";
            if (partial) {
                report(reason.c_str());
            } else {
                std::fprintf(stderr, "%s\n", reason.c_str());
            }
            return kExitDeadline;
        }
        case End::kTimeout:
            return kExitTimeout;
        case End::kInterrupted:
            if (partial) report("已中断");
            return 130;
        case End::kHungUp:
            if (partial) {
                report("串口连接已断开");
            } else {
                std::fputs("串口连接已断开\n", stderr);
            }
            return kExitIncomplete;
        case End::kStalled:
            if (!partial) {
                std::fputs("通信超时！\n", stderr);
                return kExitTimeout;
            }
            report("数据流中断");
            return kExitIncomplete;
    }
    return kExitOk;
}

orb::MessageAnswer DeviceSession::MessageBox(std::string_view text, std::string_view /*caption*/,
                                             orb::MessageIcon icon, orb::MessageButtons buttons) {
    using orb::MessageAnswer;
    ClearProgressLine();
    if (text.starts_with("通信超时！")) timedOut_ = true;
    if (buttons == orb::MessageButtons::kOk) {
        std::FILE* out = icon == orb::MessageIcon::kInformation ? stdout : stderr;
        std::fprintf(out, "%.*s\n", static_cast<int>(text.size()), text.data());
        std::fflush(out);
        messages.emplace_back(text);
        return MessageAnswer::kOk;
    }
    const bool yesNo = orb::IsYesNo(buttons);
    const MessageAnswer no = yesNo ? MessageAnswer::kNo : MessageAnswer::kCancel;
    const MessageAnswer yes = yesNo ? MessageAnswer::kYes : MessageAnswer::kOk;
    // The answer to a command sent just before the question is handled
    // first, as the window does while the question is on screen.
    loop_->RunUntil([&] {
        return !timers_.IsRunning(orb::timer_id::kReply) || timedOut_ || g_interrupted || DeadlinePassed();
    });
    if (timedOut_ || g_interrupted || DeadlinePassed()) return no;
    std::fprintf(stderr, "%.*s", static_cast<int>(text.size()), text.data());
    if (assumeYes) {
        std::fputs(" (--yes)\n", stderr);
        return yes;
    }
    if (!::isatty(0)) {
        std::fputs("\n", stderr);
        declined = true;
        return no;
    }
    std::fputs(" [y/N] ", stderr);
    std::string answer;
    // The operator's time to answer does not count against the deadline.
    const auto asked = std::chrono::steady_clock::now();
    std::getline(std::cin, answer);
    start_ += std::chrono::steady_clock::now() - asked;
    if (answer == "y" || answer == "Y" || answer == "yes") return yes;
    declined = true;
    return no;
}

bool DeviceSession::Shown(std::string_view text) const {
    for (const std::string& m : messages) {
        if (m == text) return true;
    }
    return false;
}

bool DeviceSession::ShowPortDialog(int& /*portNumber*/) {
    return false;
}

void DeviceSession::ShowInfoDialog(const orb::ProbeInfoView& v) {
    std::printf(
        "探管编号\t%s\n探管类型\t%s\n探管容量\t%s\n采样延时时间\t%s\n采样间隔时间\t%s\n存储数据数量\t%s\n"
        "电池电压\t%s\n剩余电量\t%s\n存储使用\t%s\n",
        v.probeNumber.c_str(), v.probeModel.c_str(), v.probeCapacity.c_str(), v.delayText.c_str(),
        v.intervalText.c_str(), v.storedText.c_str(), v.batteryText.c_str(), v.chargeText.c_str(),
        Percent(v.storagePercent).c_str());
    std::fflush(stdout);
    infoShown = true;
}

bool DeviceSession::ShowWorkModeDialog(int32_t& delayMinutes, int32_t& intervalSeconds) {
    delayMinutes = workDelay;
    intervalSeconds = workInterval;
    return true;
}

void DeviceSession::ShowRealTimeDialog() {
    std::printf("井  斜\t方  位\t高边工具面\t磁性工具面\t总加速度\t总磁场\t地磁倾角\t温  度\n");
    std::fflush(stdout);
    const int before = realTimeUpdates;
    modalEnd = Run([&] { return realTimeCount > 0 && realTimeUpdates - before >= realTimeCount; });
}

void DeviceSession::UpdateRealTime(const orb::RealTimeTexts& t) {
    std::printf("%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", t[0].c_str(), t[1].c_str(), t[2].c_str(), t[3].c_str(),
                t[4].c_str(), t[5].c_str(), t[6].c_str(), t[7].c_str());
    std::fflush(stdout);
    ++realTimeUpdates;
}

void DeviceSession::ShowClockDialog() {
    deviceClock.clear();
    if (clockAction) clockAction();
    modalEnd = Run([&] { return !deviceClock.empty(); });
}

void DeviceSession::SetClockField(int field, std::string_view text) {
    if (field == orb::kClockFieldDevice) deviceClock = text;
}

void DeviceSession::SetProgress(int /*position*/) {
    if (!showProgress || !progressTransfer) return;
    const auto now = std::chrono::steady_clock::now();
    if (progressTransfer->arrived <= 1) transferStart_ = now;
    if (now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    DrawProgress(false);
}

void DeviceSession::DrawProgress(bool final) {
    if (!showProgress || !progressTransfer || !progressTransfer->counted || !::isatty(2)) return;
    const orb::TransferState& t = *progressTransfer;
    const double fraction =
        t.announced > 0 ? std::min(1.0, static_cast<double>(t.arrived) / t.announced) : 1.0;
    const int filled = static_cast<int>(fraction * 30);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - transferStart_).count();
    const long long rate = seconds > 0.05 ? static_cast<long long>(t.arrived / seconds) : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(30 - filled), '-');
    std::fprintf(stderr, "\r[%s] %3d%% %lld/%d %lld/s", bar.c_str(), static_cast<int>(fraction * 100),
                 static_cast<long long>(t.arrived), t.announced, rate);
    std::fflush(stderr);
    barShown_ = true;
    if (final) ClearProgressLine();
}

void DeviceSession::ClearProgressLine() {
    if (!barShown_) return;
    std::fputs("\n", stderr);
    barShown_ = false;
}

int SaveSessionDocument(DeviceSession& s, const std::string& path) {
    if (!orb::HasTlmExtension(path)) {
        ReportError(path, "the file name must end in .tlm or .TLM");
        return kExitFileError;
    }
    const orb::FileResult r = orb::SaveTlmFile(path, s.doc());
    if (!r.ok()) {
        ReportError(path, r.message);
        return kExitFileError;
    }
    s.journal().RetireAll();
    return kExitOk;
}

int SaveTransfers(DeviceSession& s, const std::string& path, int rc, const orb::TransferState& primary) {
    if (path.empty()) return rc;
    std::error_code ec;
    const bool exists =
        std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
    const bool replaces = primary.counted && primary.announced > 0;
    const bool something = s.dc().sampleTransfer.counted || s.dc().markTransfer.counted;
    if (!replaces && (exists || !something)) {
        std::fprintf(stderr, "%s: 没有写入：没有读取到新数据%s\n", path.c_str(),
                     exists ? "，原文件保持不变" : "");
        return rc != kExitOk || !exists ? rc : kExitNotWritten;
    }
    const int saved = SaveSessionDocument(s, path);
    if (saved == kExitOk) {
        std::fprintf(stderr, "%zu条探管数据, %zu条同步器数据 -> %s\n", s.doc().RecordCount(),
                     s.doc().MarkCount(), path.c_str());
    }
    return rc != kExitOk ? rc : saved;
}

std::string JournalFolderPath() {
    return Globals().journal.empty() ? orb::DefaultJournalFolder() : Globals().journal;
}

void AddOutputOption(CLI::App& sub, std::string& path, bool required) {
    auto* o = sub.add_option("-o,--output", path, "Survey file to write (FILE.tlm)");
    if (required) o->required();
}

}  // namespace orbcli
