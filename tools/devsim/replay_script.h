// What orb-devsim --replay plays back: the replies of a recorded session (a
// receive journal or a line log), as answers to the commands that asked for
// them. Each command is answered with the next recorded answer to the same
// command (group and code); a command without one left gets no answer.
//
// A line log says which command each reply answered (the replies after a TX
// line belong to it). A journal holds replies only: consecutive frames of one
// reply type form one answer, given to the command that asks for that type.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace devsim {

class ReplayScript {
public:
    using Frames = std::vector<std::vector<uint8_t>>;
    using Key = std::pair<uint8_t, uint8_t>;  // command group, command code

    // Adds the answers of a journal or a line log; false (with `error`) when
    // the file is neither or cannot be read.
    bool Load(const std::string& path, std::string& error);
    // Adds the answers of a journal's frames; `probe` tells its device.
    void AddJournalFrames(const Frames& frames, bool probe);
    // Adds the answers of a line log's text; false when no line is a frame.
    bool AddLineLog(const std::string& text);

    // The next recorded answer to `command` (removed), or nothing.
    Frames Answer(std::span<const uint8_t> command);
    std::size_t AnswersLeft() const;

private:
    std::map<Key, std::deque<Frames>> answers_;
};

}  // namespace devsim
