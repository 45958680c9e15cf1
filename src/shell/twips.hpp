#pragma once

#include <QWidget>

namespace shell {

inline constexpr int kTwipsPerInch = 1440;

// Window layouts are given in twips (1/1440 inch); this is the one conversion to pixels
// at the widget's screen resolution.
inline int twipsToPixels(const QWidget* w, int twips) {
    return twips * w->logicalDpiX() / kTwipsPerInch;
}

}  // namespace shell
