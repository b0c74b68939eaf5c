// The status bar's CAP, NUM and SCRL panes. On X11 they follow the keyboard
// lock LEDs; elsewhere they stay in their "off" look.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

namespace orb {

class LockIndicators : public QObject {
    Q_OBJECT
public:
    explicit LockIndicators(QStatusBar* bar);
    QLabel* pane(int i) const { return panes_[i]; }  // 0 CAP, 1 NUM, 2 SCRL
    void Update();

private:
    QLabel* panes_[3];
};

}  // namespace orb
