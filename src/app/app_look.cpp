#include "app/app_look.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include "app/command_ids.h"

namespace orb {

namespace {

struct LookColours {
    QRgb window, button, base, alternate, text, highlight, highlightedText, dark;
};

// The last Office 2007 colour style; 211 to 214 reuse it.
int lastOffice2007 = cmd::kLookOffice2007Blue;

LookColours ColoursOf(int id) {
    switch (id) {
        case cmd::kLookWin2000:  // classic grey, navy selection
            return {0xD4D0C8, 0xD4D0C8, 0xFFFFFF, 0xF4F2EE, 0x000000, 0x0A246A, 0xFFFFFF, 0x808080};
        case cmd::kLookOfficeXP:  // warm light grey, pale blue selection
            return {0xF2F0EA, 0xE6E3DA, 0xFFFFFF, 0xF7F6F2, 0x000000, 0xB6BDD2, 0x000000, 0x8C8A82};
        case cmd::kLookWinXP:  // XP beige, strong blue selection
            return {0xECE9D8, 0xF1EFE2, 0xFFFFFF, 0xF6F5EE, 0x000000, 0x316AC5, 0xFFFFFF, 0xACA899};
        case cmd::kLookOffice2003:  // light blue bars, orange selection
            return {0xC3DAF9, 0xDDECFE, 0xFFFFFF, 0xEEF5FE, 0x000000, 0xFFC076, 0x000000, 0x6A8CCB};
        case cmd::kLookVS2005:  // sand, soft blue selection
            return {0xEEEDE5, 0xF5F4EE, 0xFFFFFF, 0xF8F7F3, 0x000000, 0xC1D2EE, 0x000000, 0x9D9D92};
        case cmd::kLookVS2008:  // blue-grey, bright blue selection
            return {0xD4DBED, 0xE9ECF4, 0xFFFFFF, 0xF2F4F9, 0x000000, 0x3399FF, 0xFFFFFF, 0x8592B5};
        case cmd::kLookOffice2007Black:  // dark bars, gold selection
            return {0x3B3B3B, 0x535353, 0x2B2B2B, 0x333333, 0xF0F0F0, 0xF5C05C, 0x000000, 0x1E1E1E};
        case cmd::kLookOffice2007Silver:
            return {0xD0D4DD, 0xE1E5EE, 0xFFFFFF, 0xF1F3F7, 0x000000, 0xFFD870, 0x000000, 0x8E93A0};
        case cmd::kLookOffice2007Aqua:
            return {0xBFE3E6, 0xD8EEF0, 0xFFFFFF, 0xEDF8F9, 0x000000, 0x5CB8C4, 0x000000, 0x6E9FA5};
        case cmd::kLookWindows7:
            return {0xF0F0F0, 0xF0F0F0, 0xFFFFFF, 0xF7F7F7, 0x000000, 0x3399FF, 0xFFFFFF, 0xA0A0A0};
        case cmd::kLookOffice2007Blue:
        default:  // blue bars, amber selection
            return {0xBFDBFF, 0xD5E4F8, 0xFFFFFF, 0xEEF5FF, 0x000000, 0xFFE38C, 0x000000, 0x6591CD};
    }
}

int ColourStyleOf(int id) {
    if (id >= 211 && id <= 214) return lastOffice2007;
    return ValidLook(id);
}

}  // namespace

int ValidLook(int stored) {
    return stored >= cmd::kLookFirst && stored <= cmd::kLookLast ? stored : kDefaultLook;
}

const char* LookStyleName(int id) {
    return ColourStyleOf(id) == cmd::kLookWin2000 ? "Windows" : "Fusion";
}

QPalette LookPalette(int id) {
    const LookColours c = ColoursOf(ColourStyleOf(id));
    QPalette p;
    p.setColor(QPalette::Window, QColor(c.window));
    p.setColor(QPalette::Button, QColor(c.button));
    p.setColor(QPalette::Base, QColor(c.base));
    p.setColor(QPalette::AlternateBase, QColor(c.alternate));
    p.setColor(QPalette::ToolTipBase, QColor(QRgb(0xFFFFE1)));
    p.setColor(QPalette::ToolTipText, QColor(QRgb(0x000000)));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(r, QColor(c.text));
    p.setColor(QPalette::Highlight, QColor(c.highlight));
    p.setColor(QPalette::HighlightedText, QColor(c.highlightedText));
    p.setColor(QPalette::Dark, QColor(c.dark));
    p.setColor(QPalette::Mid, QColor(c.dark).lighter(125));
    p.setColor(QPalette::Light, QColor(c.button).lighter(115));
    p.setColor(QPalette::Midlight, QColor(c.button).lighter(107));
    p.setColor(QPalette::Shadow, QColor(c.dark).darker(150));
    const QColor disabled =
        QColor(c.text).lightness() > 128 ? QColor(QRgb(0x8A8A8A)) : QColor(QRgb(0x7F7F7F));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        p.setColor(QPalette::Disabled, r, disabled);
    p.setColor(QPalette::PlaceholderText, disabled);
    return p;
}

void ApplyLook(int id) {
    const int colours = ColourStyleOf(id);
    if (colours >= cmd::kLookOffice2007Blue && colours <= cmd::kLookOffice2007Aqua) lastOffice2007 = colours;
    QApplication::setStyle(QStyleFactory::create(QString::fromLatin1(LookStyleName(id))));
    QApplication::setPalette(LookPalette(id));
}

}  // namespace orb
