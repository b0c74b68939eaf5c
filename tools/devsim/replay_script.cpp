#include "devsim/replay_script.h"

#include <optional>
#include <sstream>

#include "core/outside_file.h"
#include "device/device_frame.h"
#include "device/receive_journal.h"

namespace devsim {
namespace {

using orb::DeviceFrame;

// The command a reply type answers.
ReplayScript::Key CommandFor(uint8_t replyType, bool probe) {
    if (probe) return {DeviceFrame::kProbeGroup, replyType};
    // The mark list (0x13) answers the synchronizer's send command (0x03).
    return {DeviceFrame::kSyncGroup, replyType == 0x13 ? uint8_t{0x03} : replyType};
}

}  // namespace

bool ReplayScript::Load(const std::string& path, std::string& error) {
    std::string bytes;
    const orb::FileResult read = orb::ReadOutsideFile(path, bytes, orb::kMaxJournalFileBytes);
    if (!read.ok()) {
        error = "cannot read " + path + ": " + read.message;
        return false;
    }
    const orb::JournalContents j =
        orb::ReadJournal(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (j.damage != orb::JournalDamage::kNotAJournal) {
        AddJournalFrames(j.frames, j.header.device == orb::JournalDevice::kProbe);
        return true;
    }
    if (AddLineLog(bytes)) return true;
    error = path + " is neither a receive journal nor a line log";
    return false;
}

void ReplayScript::AddJournalFrames(const Frames& frames, bool probe) {
    std::optional<uint8_t> lastType;
    for (const auto& f : frames) {
        const auto type = orb::ReplyTypeOf(f);
        if (!type) continue;
        auto& queue = answers_[CommandFor(*type, probe)];
        if (type != lastType || queue.empty()) queue.emplace_back();
        queue.back().push_back(f);
        lastType = type;
    }
}

bool ReplayScript::AddLineLog(const std::string& text) {
    std::istringstream in(text);
    Frames* current = nullptr;
    bool any = false;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string date, time, direction;
        fields >> date >> time >> direction;
        std::string hex;
        std::getline(fields, hex);
        const std::vector<uint8_t> frame = orb::HexTemplateToBytes(hex);
        if (frame.size() <= DeviceFrame::kCodePos) continue;
        if (direction == "TX") {
            auto& queue = answers_[{frame[DeviceFrame::kGroupPos], frame[DeviceFrame::kCodePos]}];
            current = &queue.emplace_back();
            any = true;
        } else if (direction == "RX" && current) {
            current->push_back(frame);
        }
    }
    return any;
}

ReplayScript::Frames ReplayScript::Answer(std::span<const uint8_t> command) {
    if (command.size() <= DeviceFrame::kCodePos) return {};
    const auto it = answers_.find({command[DeviceFrame::kGroupPos], command[DeviceFrame::kCodePos]});
    if (it == answers_.end() || it->second.empty()) return {};
    Frames f = std::move(it->second.front());
    it->second.pop_front();
    return f;
}

std::size_t ReplayScript::AnswersLeft() const {
    std::size_t n = 0;
    for (const auto& [key, queue] : answers_) n += queue.size();
    return n;
}

}  // namespace devsim
