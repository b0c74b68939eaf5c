// The boundary of every command the operator or a device starts: a menu
// item, a toolbar button, a device reply. Memory that runs out inside one
// (std::bad_alloc, or std::length_error from a size nobody could hold) ends
// that command with a message box; the window and the survey it shows stay,
// unsaved work included. Nothing else is caught: any other exception is a
// fault to be found, not hidden.
#pragma once

#include <QAction>
#include <QObject>
#include <functional>
#include <type_traits>
#include <utility>

#include "core/ui_text.h"

class QWidget;

namespace orb {

inline constexpr const char* kOutOfMemoryMessage = ORB_TEXT("core", "内存不足，命令没有完成。");
inline constexpr const char* kOutOfMemoryCaption = ORB_TEXT("core", "错误");

// Runs `command`; false, after the message box, when memory ran out.
bool RunCommand(QWidget* parent, const std::function<void()>& command);

// Connects `action` to `command` (with or without the checked flag) through
// RunCommand, for the lifetime of `context`; the message box belongs to
// `parent`.
template <class F>
QMetaObject::Connection ConnectCommand(QAction* action, QObject* context, QWidget* parent, F command) {
    return QObject::connect(action, &QAction::triggered, context, [parent, command](bool checked) {
        RunCommand(parent, [&] {
            if constexpr (std::is_invocable_v<const F&, bool>) {
                command(checked);
            } else {
                command();
            }
        });
    });
}

template <class F>
QMetaObject::Connection ConnectCommand(QAction* action, QWidget* parent, F command) {
    return ConnectCommand(action, parent, parent, std::move(command));
}

}  // namespace orb
