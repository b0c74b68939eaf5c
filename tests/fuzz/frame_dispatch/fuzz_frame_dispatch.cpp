// Bytes from the serial line, and what the operator does meanwhile, against
// the frame scanner and the reply dispatcher of the device logic. The port,
// the timers and the operator are fakes; the document and the survey table
// model are the real ones.
//
// The input is a script of events, one opcode byte each followed by its
// arguments (script_ops.h). Raw chunks and well-formed reply frames go onto the
// line; menu commands, timer expiries, clock buttons, port hang-ups and the
// port dialog happen in between, and modal dialogs run a nested loop of
// events until a "close" event. Afterwards every byte that went onto the
// line is run through a FrameScanner once more and compared with a plain
// transcription of the scanning rules.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "device/device_fakes.h"
#include "frame_dispatch/script_ops.h"

namespace {

using orb::ReceiveBuffer;
using orb::test::Bytes;

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

class Input {
public:
    Input(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return pos_ >= size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    Bytes Take(std::size_t n) {
        n = std::min(n, size_ - pos_);
        Bytes out(data_ + pos_, data_ + pos_ + n);
        pos_ += n;
        return out;
    }

private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

using orb::fuzz::kClockButtons;
using orb::fuzz::kCommands;
using orb::fuzz::kTimers;

// A command frame as the program must write it: preamble, address 01, a
// device group, N payload bytes and the XOR over bytes 6 .. 9+N.
void CheckCommandFrame(const Bytes& f) {
    Check(f.size() >= orb::DeviceFrame::kCommandOverhead, "command frame length");
    for (int i = 0; i < 6; ++i) Check(f[i] == 0xFF, "command preamble");
    Check(f[6] == 0x01 && (f[7] == 0x46 || f[7] == 0x47), "command address and group");
    Check(f.size() == orb::DeviceFrame::kCommandOverhead + f[9], "command payload size");
    Check(orb::XorChecksum({f.data() + 6, f.size() - 7}) == f.back(), "command checksum");
}

class Session {
public:
    explicit Session(Input& in) : in_(in) {
        rig_.port.present = {1, 2, 3};
        rig_.op.duringQuestion = [this] { NestedLoop(false); };
        rig_.op.duringRealTime = [this] { NestedLoop(false); };
        rig_.op.duringClock = [this] { NestedLoop(true); };
        rig_.op.workModeDialog = [this](int32_t& delay, int32_t& interval) {
            delay = 1 + in_.Byte() % 999;
            interval = 1 + in_.Byte() % 59;
            return (in_.Byte() & 1) != 0;
        };
        rig_.op.portDialog = [this](int& n) {
            n = in_.Byte() % 32;
            return (in_.Byte() & 1) != 0;
        };
    }

    void Run() {
        while (!in_.Done()) Step(false, false);
        CheckAll();
        CheckTable(true);
    }

    // Every byte put on the line, in order.
    const Bytes& lineBytes() const { return lineBytes_; }

private:
    // Returns false for the event that closes the innermost modal dialog.
    bool Step(bool modal, bool clockDialog) {
        const uint8_t op = in_.Byte();
        switch (op % 8) {
            case orb::fuzz::kOpCommand: {
                const int id = kCommands[in_.Byte() % kCommands.size()];
                // A modal dialog blocks the menus.
                if (!modal && depth_ == 0) rig_.dc.OnCommand(id);
                break;
            }
            case orb::fuzz::kOpTimer:
                rig_.dc.OnTimer(kTimers[in_.Byte() % kTimers.size()]);
                break;
            case orb::fuzz::kOpRaw:
                Put(in_.Take(1 + in_.Byte()), op & orb::fuzz::kOpSlow);
                break;
            case orb::fuzz::kOpFrame: {
                const uint8_t type = in_.Byte();
                const Bytes data = in_.Take(in_.Byte());
                static constexpr uint8_t kAddresses[3] = {0x01, 0x40, 0x41};
                Put(orb::BuildReplyFrame(type, data, kAddresses[(op >> 3) % 3]), op & orb::fuzz::kOpSlow);
                break;
            }
            case orb::fuzz::kOpClockButton:
                if (clockDialog) rig_.dc.OnClockButton(kClockButtons[in_.Byte() % kClockButtons.size()]);
                break;
            case orb::fuzz::kOpPort:
                PortEvent(in_.Byte());
                break;
            case orb::fuzz::kOpClose:
                return false;
            default: {
                const uint8_t byte13 = in_.Byte();
                Put(orb::BuildLongHeaderFrame(byte13, in_.Take(in_.Byte())), op & orb::fuzz::kOpSlow);
                break;
            }
        }
        CheckAll();
        return true;
    }

    // What arrives while a modal dialog is open, up to its close event.
    void NestedLoop(bool clockDialog) {
        if (depth_ >= 4) return;
        ++depth_;
        while (!in_.Done() && Step(true, clockDialog)) {
        }
        --depth_;
    }

    // Puts bytes on the line. Normally every notification is handled until
    // the line is empty; a "slow" put handles one notification only, so the
    // rest waits for the next event.
    void Put(const Bytes& bytes, bool slow) {
        lineBytes_.insert(lineBytes_.end(), bytes.begin(), bytes.end());
        rig_.port.line.insert(rig_.port.line.end(), bytes.begin(), bytes.end());
        do {
            const std::size_t before = rig_.port.line.size();
            rig_.dc.OnBytesArrived();
            const bool read = rig_.port.line.size() < before;
            Check(!read || rig_.dc.receiveBuffer.fill <= ReceiveBuffer::kClearThreshold,
                  "a pass leaves at most 1000 bytes");
            if (!read) break;  // the buffer is full of bytes that never form a frame
        } while (!slow && !rig_.port.line.empty());
        // A full buffer that a pass could not shrink would stall the line for
        // good; the scanner must never let that happen.
        Check(rig_.dc.receiveBuffer.fill < ReceiveBuffer::kCapacity, "the receive buffer never jams");
    }

    void PortEvent(uint8_t e) {
        auto& port = rig_.port;
        switch (e % 4) {
            case 0:  // the device is unplugged: the line hangs up
                if (port.open) port.hungUp = true;
                break;
            case 1:  // and its port disappears
                port.present.erase(port.open);
                break;
            case 2:  // the port comes back
                port.present.insert(1 + (e >> 2) % 3);
                break;
            default:
                rig_.dc.OnPortSelect();
                break;
        }
    }

    void CheckAll() {
        Check(rig_.dc.receiveBuffer.fill <= ReceiveBuffer::kCapacity, "fill count within the buffer");
        for (; checkedFrames_ < rig_.port.written.size(); ++checkedFrames_)
            CheckCommandFrame(rig_.port.written[checkedFrames_]);
        for (; checkedProgress_ < rig_.op.progress.size(); ++checkedProgress_) {
            const int p = rig_.op.progress[checkedProgress_];
            Check(p >= 0 && p <= 100, "progress within 0..100");
        }
        // After a count of samples the document holds exactly the samples
        // that arrived since; marks may be dropped again (a sequence that
        // restarts, the kept number), never added beyond those that arrived.
        const orb::TransferState& samples = rig_.dc.sampleTransfer;
        if (samples.counted && samples.announced > 0)
            Check(rig_.doc.RecordCount() == static_cast<std::size_t>(samples.arrived),
                  "records = samples arrived");
        const orb::TransferState& marks = rig_.dc.markTransfer;
        if (marks.counted)
            Check(rig_.doc.MarkCount() <= static_cast<std::size_t>(marks.arrived), "marks <= arrived");
        CheckTable(false);
    }

    // Every row of the table points at a record that exists, and (at the end)
    // every cell can be shown, whatever the frames put into the records.
    void CheckTable(bool cells) {
        const orb::SurveyTableModel& model = rig_.table.model;
        const std::size_t rows = model.RowCount();
        for (std::size_t r = 0; r < rows; ++r) {
            const std::ptrdiff_t rec = model.RecordIndexOfRow(r);
            Check(rec < static_cast<std::ptrdiff_t>(rig_.doc.RecordCount()), "row points at a record");
            if (cells && r < 64) {
                for (int c = 0; c < orb::kTableColumns; ++c) (void)model.CellText(r, c);
            }
        }
    }

    Input& in_;
    orb::test::Rig rig_;
    Bytes lineBytes_;
    std::size_t checkedFrames_ = 0;
    std::size_t checkedProgress_ = 0;
    int depth_ = 0;
};

// ---- The scanning rules, transcribed plainly --------------------------------

std::size_t ReferenceFrameAt(const uint8_t* b, std::size_t avail) {
    static constexpr uint8_t kShort[5] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    auto xorOf = [](const uint8_t* from, const uint8_t* to) {
        uint8_t x = 0;
        for (; from < to; ++from) x ^= *from;
        return x;
    };
    if (avail >= 7 && std::equal(kShort, kShort + 5, b) && b[5] == 0xC6 &&
        (b[6] == 0x01 || b[6] == 0x40 || b[6] == 0x41)) {
        if (avail < 9 || avail < 10u + b[8]) return 0;
        const std::size_t len = 10u + b[8];
        return xorOf(b + 5, b + len - 1) == b[len - 1] ? len : 0;
    }
    if (avail >= 13 && std::all_of(b, b + 11, [](uint8_t x) { return x == 0xFF; }) && b[11] == 0xE1 &&
        b[12] == 0x00) {
        if (avail < 15 || avail < 16u + b[14]) return 0;
        const std::size_t len = 16u + b[14];
        return xorOf(b + 11, b + len - 1) == b[len - 1] ? len : 0;
    }
    return 0;
}

void ReferencePass(Bytes& buf, std::vector<Bytes>& frames) {
    std::size_t p = 0;
    while (p < buf.size()) {
        const std::size_t len = ReferenceFrameAt(buf.data() + p, buf.size() - p);
        if (len == 0) {
            ++p;
            continue;
        }
        frames.emplace_back(buf.begin() + p, buf.begin() + p + len);
        buf.erase(buf.begin(), buf.begin() + p + len);
        p = 0;
    }
    if (buf.size() > 1000) buf.clear();
}

// The line read in the port's chunks (at most 64 bytes, at most the free
// space), a pass after every read, against the reference.
void CompareWithReference(const Bytes& line) {
    std::vector<Bytes> got, want;
    orb::FrameScanner scanner([&](std::span<const uint8_t> f) { got.emplace_back(f.begin(), f.end()); });
    ReceiveBuffer buffer;
    Bytes model;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t n = std::min({std::size_t{64}, line.size() - pos, buffer.FreeSpace()});
        if (n == 0) break;
        buffer.Append({line.data() + pos, n});
        model.insert(model.end(), line.begin() + pos, line.begin() + pos + n);
        pos += n;
        scanner.Scan(buffer);
        ReferencePass(model, want);
        Check(got == want, "dispatched frames follow the scanning rules");
        Check(buffer.fill == model.size() && std::equal(model.begin(), model.end(), buffer.bytes.begin()),
              "the buffer keeps exactly the unconsumed bytes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Input in(data, size);
    Session session(in);
    session.Run();
    CompareWithReference(session.lineBytes());
    return 0;
}
