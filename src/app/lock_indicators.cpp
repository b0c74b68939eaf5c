#include "app/lock_indicators.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#ifdef ORB_HAVE_X11
#include <X11/XKBlib.h>
#endif

namespace orb {

namespace {

// -1 when the state cannot be read on this platform.
int LockState(const char* name) {
#ifdef ORB_HAVE_X11
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        Display* dpy = x11->display();
        if (!dpy) return -1;
        Bool on = False;
        const Atom atom = XInternAtom(dpy, name, False);
        if (!XkbGetNamedIndicator(dpy, atom, nullptr, &on, nullptr, nullptr)) return -1;
        return on ? 1 : 0;
    }
#else
    (void)name;
#endif
    return -1;
}

}  // namespace

LockIndicators::LockIndicators(QStatusBar* bar) : QObject(bar) {
    static const char* const texts[3] = {"CAP", "NUM", "SCRL"};
    static const int ids[3] = {59137, 59138, 59139};
    for (int i = 0; i < 3; ++i) {
        panes_[i] = new QLabel(QString::fromLatin1(texts[i]), bar);
        panes_[i]->setProperty("indicatorId", ids[i]);
        panes_[i]->setAlignment(Qt::AlignCenter);
        panes_[i]->setMinimumWidth(panes_[i]->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 10);
        panes_[i]->setFrameShape(QFrame::StyledPanel);
        panes_[i]->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(panes_[i]);
    }
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &LockIndicators::Update);
    timer->start(300);
    Update();
}

void LockIndicators::Update() {
    static const char* const names[3] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    for (int i = 0; i < 3; ++i) panes_[i]->setEnabled(LockState(names[i]) == 1);
}

}  // namespace orb
