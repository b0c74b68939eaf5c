// Fakes for the device logic: a port with a scripted line, a timer service
// that fires only when told, an operator that records everything and answers
// from a script, and the real survey table model behind the table interface.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/survey_record.h"
#include "device/device_controller.h"
#include "device/device_frame.h"
#include "device/device_interfaces.h"
#include "document/orb_doc.h"
#include "view/survey_table_model.h"
#include "view/sync_matcher.h"

namespace orb::test {

using Bytes = std::vector<uint8_t>;

class FakePort : public LinkPort {
public:
    std::set<int> present;  // port numbers that open
    std::vector<int> openAttempts;
    std::vector<Bytes> written;
    std::deque<uint8_t> line;  // bytes waiting to be read
    int open = 0;
    bool hungUp = false;

    bool Open(int n) override {
        openAttempts.push_back(n);
        if (!present.count(n)) return false;
        open = n;
        hungUp = false;
        return true;
    }
    void Close() override { open = 0; }
    bool IsOpen() const override { return open != 0; }
    bool HungUp() const override { return hungUp; }
    int PortNumber() const override { return open; }
    void Write(std::span<const uint8_t> frame) override { written.emplace_back(frame.begin(), frame.end()); }
    std::size_t Read(ReceiveBuffer& buffer) override {
        const std::size_t n = std::min({std::size_t{64}, line.size(), buffer.FreeSpace()});
        for (std::size_t i = 0; i < n; ++i) {
            buffer.bytes[buffer.fill++] = line.front();
            line.pop_front();
        }
        return n;
    }
};

class FakeTimers : public TimerService {
public:
    std::map<int, int> running;  // id -> period
    std::vector<std::pair<int, int>> starts;

    void Start(int id, int periodMs) override {
        running[id] = periodMs;
        starts.emplace_back(id, periodMs);
    }
    void Stop(int id) override { running.erase(id); }
    bool IsRunning(int id) const { return running.count(id) != 0; }
};

struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
    bool operator==(const Message&) const = default;
};

class FakeOperator : public DeviceOperator {
public:
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;  // for questions; empty: Yes / OK
    std::vector<std::string> statusTexts;
    std::vector<int> progress;
    std::vector<ProbeInfoView> infoDialogs;
    std::vector<RealTimeTexts> realTime;
    std::map<int, std::string> clockFields;
    // What happens while a modal dialog is shown (replies arriving, buttons).
    std::function<void()> duringQuestion;
    std::function<void()> duringRealTime;
    std::function<void()> duringClock;
    std::function<bool(int32_t&, int32_t&)> workModeDialog;
    std::function<bool(int&)> portDialog;
    int workModeDialogs = 0;
    int saveQuestions = 0;
    bool saveAnswer = true;  // false: the operator cancels the save question

    MessageAnswer MessageBox(std::string_view text, std::string_view caption, MessageIcon icon,
                             MessageButtons buttons) override {
        messages.push_back({std::string(text), std::string(caption), icon, buttons});
        if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
        if (duringQuestion) duringQuestion();
        MessageAnswer a = IsYesNo(buttons) ? MessageAnswer::kYes : MessageAnswer::kOk;
        if (!answers.empty()) {
            a = answers.front();
            answers.pop_front();
        }
        return a;
    }
    bool ShowPortDialog(int& n) override { return portDialog ? portDialog(n) : false; }
    bool AskSaveChanges() override {
        ++saveQuestions;
        return saveAnswer;
    }
    void ShowInfoDialog(const ProbeInfoView& info) override { infoDialogs.push_back(info); }
    bool ShowWorkModeDialog(int32_t& d, int32_t& i) override {
        ++workModeDialogs;
        return workModeDialog ? workModeDialog(d, i) : true;
    }
    void ShowRealTimeDialog() override {
        if (duringRealTime) duringRealTime();
    }
    void UpdateRealTime(const RealTimeTexts& t) override { realTime.push_back(t); }
    void ShowClockDialog() override {
        if (duringClock) duringClock();
    }
    void SetClockField(int field, std::string_view text) override { clockFields[field] = std::string(text); }
    void SetStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void SetProgress(int p) override { progress.push_back(p); }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> out;
        for (const auto& m : messages) out.push_back(m.text);
        return out;
    }
};

// The real table model behind the device interface, with call counts; it
// follows the rig's edit path.
class ModelTable : public DeviceTable {
public:
    explicit ModelTable(SurveyEdits& edits) : model(edits), edits_(edits) {}
    SurveyTableModel model;
    int matches = 0;

    void SetShowAll(bool on) override {
        if (on != model.showAll()) on ? model.ShowAll() : model.ShowSelected();
    }
    void SetReverseOrder(bool on) override {
        if (on != model.reverseOrder()) model.ReverseDisplay();
    }
    int refreshes = 0;
    std::size_t MatchStations(int32_t interval) override {
        ++matches;
        return MatchSyncMarks(edits_, interval);
    }
    void RefreshTable() override {
        ++refreshes;
        model.RefreshTable();
    }

private:
    SurveyEdits& edits_;
};

// Everything wired together.
struct Rig {
    FakePort port;
    FakeTimers timers;
    FakeOperator op;
    COrbDoc doc;
    SurveyEdits edits{doc};
    ModelTable table{edits};
    DeviceController dc{port, timers, op, table, edits};

    Rig() {
        port.present = {1};
        port.open = 1;
        dc.SetLocalClock([] { return DateTimeFields{2025, 6, 7, 10, 15, 30}; });
    }
    // Puts bytes on the line and lets every notification read them.
    void Receive(const Bytes& bytes) {
        port.line.insert(port.line.end(), bytes.begin(), bytes.end());
        while (!port.line.empty()) dc.OnBytesArrived();
    }
    // Command codes (byte 8) of the frames written so far.
    std::vector<int> SentCodes() const {
        std::vector<int> codes;
        for (const Bytes& f : port.written) codes.push_back(f.size() > 8 ? f[8] : -1);
        return codes;
    }
};

// ---- Reply frames as the devices send them --------------------------------

inline Bytes InfoReply(const std::string& number, int32_t stored, int16_t delay, int16_t interval,
                       uint16_t batteryTenths) {
    Bytes d(31, 0);
    std::copy_n(number.begin(), std::min<std::size_t>(number.size(), 10), d.begin() + 1);
    StoreLE<int32_t>(d, 11, stored);
    StoreLE<int16_t>(d, 17, delay);
    StoreLE<int16_t>(d, 23, interval);
    StoreLE<uint16_t>(d, 29, batteryTenths);
    return BuildReplyFrame(0x04, d);
}

inline std::vector<Bytes> CalibrationReplies(const ProbeCalibration& cal) {
    std::array<uint8_t, ProbeCalibration::kBytes> image{};
    cal.ToBytes(image);
    std::vector<Bytes> out;
    for (uint16_t i = 0; i < 32; ++i) {
        Bytes d(34, 0);
        StoreLE<uint16_t>(d, 0, i);
        for (std::size_t k = 0; k < 32; ++k) {
            const std::size_t at = i * 32u + k;
            d[2 + k] = at < image.size() ? image[at] : 0;
        }
        out.push_back(BuildReplyFrame(0x31, d));
    }
    return out;
}

inline Bytes OffsetReply(float degrees) {
    Bytes d(4, 0);
    StoreLE<float>(d, 0, degrees);
    return BuildReplyFrame(0x09, d);
}

inline Bytes CountReply(int32_t n) {
    Bytes d(4, 0);
    StoreLE<int32_t>(d, 0, n);
    return BuildReplyFrame(0x03, d);
}

struct SampleSpec {
    int32_t index = 0;
    int16_t temperatureTenths = 250;
    std::array<int16_t, 6> raw{0, 0, 4500, 2000, 0, 3000};
    std::array<uint8_t, 7> time{0x05, 0x04, 0x03, 0x02, 0x00, 0x01, 0x25};  // s m h d dow M y
    uint16_t batteryTenths = 118;
};

inline Bytes SampleReply(const SampleSpec& s) {
    Bytes d(28, 0);
    StoreLE<int32_t>(d, 0, s.index);
    StoreLE<int16_t>(d, 4, s.temperatureTenths);
    for (int k = 0; k < 6; ++k) StoreLE<int16_t>(d, 6 + 2 * k, s.raw[k]);
    std::copy(s.time.begin(), s.time.end(), d.begin() + 18);
    StoreLE<uint16_t>(d, 26, s.batteryTenths);
    return BuildReplyFrame(0x03, d);
}

inline Bytes MarkCountReply(int32_t expected, int32_t kept) {
    Bytes d(8, 0);
    StoreLE<int32_t>(d, 0, expected);
    StoreLE<int32_t>(d, 4, kept);
    return BuildReplyFrame(0x13, d);
}

// Time bytes: s m h d dow M y.
inline Bytes MarkReply(int32_t frameIndex, int32_t sequence,
                       std::array<uint8_t, 7> time = {0x30, 0x15, 0x10, 0x07, 0x03, 0x06, 0x25}) {
    Bytes d(43, 0);
    StoreLE<int32_t>(d, 0, frameIndex);
    StoreLE<int32_t>(d, 8, sequence);
    std::copy(time.begin(), time.end(), d.begin() + 16);
    return BuildReplyFrame(0x13, d);
}

inline Bytes ClockReply(uint8_t type, std::array<uint8_t, 6> ymdhms) {
    return BuildReplyFrame(type, Bytes(ymdhms.begin(), ymdhms.end()));
}

inline Bytes Concat(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace orb::test
