#pragma once

#include <QByteArray>
#include <QHash>
#include <QPixmap>
#include <QRect>

#include <functional>

class QPainter;

namespace quelvara {

// Draws a style's element that is the same in every column between its two
// ends, such as a line edit's panel or a horizontal tool bar, from a narrow
// picture of it drawn once: the ends as drawn, the columns between repeated.
// The style draws such an element anew, antialiasing and all, for every
// widget at every paint; the first paint of the main window spent more on
// that than on anything else it draws.
class StripCache {
public:
    // Paints the element into the rect it is given, as the style would.
    using Paint = std::function<void(QPainter *, const QRect &)>;

    /// Draws in `rect` what `paint` draws there, from the picture kept for
    /// `key` (made with `paint` the first time), whose ends are `ends` columns
    /// wide. Returns false, having drawn nothing, where the picture could not
    /// stand for the element: a rect too narrow, or a painter that scales,
    /// turns, blends or draws at more than one pixel per unit.
    bool draw(QPainter *painter, const QRect &rect, int ends, const QByteArray &key,
              const Paint &paint);

private:
    struct Picture {
        QPixmap left;
        QPixmap middle; // identical columns
        QPixmap right;
    };
    QHash<QByteArray, Picture> pictures_;
};

} // namespace quelvara
