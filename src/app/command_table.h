// The window's command table: caption (with mnemonic and the accelerator
// text after a tab), accelerators, and the prompt string (status-bar text,
// then the tooltip after a line break).
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>

namespace orb {

struct CommandInfo {
    int id;
    const char* caption;  // UTF-8, "&" marks the mnemonic
    const char* prompt;   // UTF-8, "status\ntooltip", or nullptr
    const char* keys;     // accelerators separated by ";", or nullptr
};

std::span<const CommandInfo> AllCommands();
// nullptr for an unknown id.
const CommandInfo* FindCommand(int id);

QString CommandCaption(int id);
// The status-bar prompt: the part of the prompt string before the line break.
QString CommandStatusTip(int id);
// The tooltip: the part after the line break; the caption without mnemonic
// and accelerator text when the prompt has none.
QString CommandToolTip(int id);
QList<QKeySequence> CommandShortcuts(int id);

}  // namespace orb
