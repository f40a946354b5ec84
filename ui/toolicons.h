#pragma once

#include <QImage>

namespace quelvara {

// The main window's pictures: 0 registry, 1 group, 2 exit, 3 monthly,
// 4 bimonthly, 5 annual, 6 about, 7 site.
inline constexpr int kToolIconCount = 8;

// The sides the pictures are offered at; a tool bar's size is scaled from them.
inline constexpr int kToolIconSides[] = {16, 24, 32};

/// Draws picture `index` of the main window as a square image of the given side.
QImage drawToolIcon(int index, int side);

/// Returns picture `index` at one of `kToolIconSides` as `drawToolIcon` drew it
/// when the program was built, or a null image for any other side.
QImage bakedToolIcon(int index, int side);

} // namespace quelvara
