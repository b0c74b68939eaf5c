#include "app/command_guard.h"

#include <QMessageBox>
#include <QString>
#include <new>
#include <stdexcept>

#include "app/ui_language.h"

namespace orb {

bool RunCommand(QWidget* parent, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    // The stack is unwound and what the command held is freed: there is room
    // for the message again.
    QMessageBox::critical(parent, CoreText(kOutOfMemoryCaption), CoreText(kOutOfMemoryMessage));
    return false;
}

}  // namespace orb
