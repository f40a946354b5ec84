#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

#include <functional>

namespace quelvara {

// Draws a picture as a square pixmap of the given side.
using IconPainter = std::function<QPixmap(int side)>;

// Makes an icon offered at the given sides that draws each side only when it
// is first shown, and keeps it. What it shows is what an icon holding all the
// sides drawn beforehand would show; the program starts without drawing
// pictures that no screen has asked for yet.
QIcon drawnIcon(IconPainter draw, QList<int> sides);

/// Makes an icon that asks `make` for the icon it stands for the first time its
/// pictures or sizes are needed, and from then on behaves as that icon.
QIcon deferredIcon(std::function<QIcon()> make);

} // namespace quelvara
