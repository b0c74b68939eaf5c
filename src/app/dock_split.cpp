#include "app/dock_split.h"

#include <QDockWidget>
#include <QEvent>
#include <QMainWindow>
#include <QSettings>
#include <QTimer>
#include <algorithm>

namespace orb {

namespace {

class DockSplit : public QObject {
public:
    DockSplit(QMainWindow* frame, QDockWidget* dock, const char* key)
        : QObject(dock), frame_(frame), dock_(dock), key_(QString::fromLatin1(key)) {
        dock->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != dock_) return false;
        if (event->type() == QEvent::Show && !placed_) {
            // After the layout has given the dock its first size.
            QTimer::singleShot(0, this, [this] { Place(); });
        } else if (event->type() == QEvent::Resize && placed_ && dock_->isVisible() && !dock_->isFloating()) {
            QSettings().setValue(key_, dock_->height());
        }
        return false;
    }

private:
    void Place() {
        // Never more than half the window, so the table keeps the other half.
        const int half = frame_->height() / 2;
        const int wanted = QSettings().value(key_, frame_->height() * 2 / 5).toInt();
        if (!dock_->isFloating()) frame_->resizeDocks({dock_}, {std::clamp(wanted, 80, half)}, Qt::Vertical);
        placed_ = true;
    }

    QMainWindow* frame_;
    QDockWidget* dock_;
    QString key_;
    bool placed_ = false;
};

}  // namespace

void KeepDockSplit(QMainWindow* frame, QDockWidget* dock, const char* key) {
    new DockSplit(frame, dock, key);
}

}  // namespace orb
