#include "toolicons.h"

#include <QtGlobal>

namespace quelvara {

// Every picture at every side, side after side, written by quelvara-bakeicons.
extern const quint32 kBakedToolIconPixels[];

QImage bakedToolIcon(int index, int side)
{
    if (index < 0 || index >= kToolIconCount) {
        return {};
    }
    qsizetype offset = 0;
    for (const int baked : kToolIconSides) {
        const qsizetype area = qsizetype(baked) * baked;
        if (baked == side) {
            const auto *pixels =
                reinterpret_cast<const uchar *>(kBakedToolIconPixels + offset + index * area);
            // The image reads the program's own data, which it never writes.
            return QImage(pixels, side, side, side * 4, QImage::Format_ARGB32_Premultiplied);
        }
        offset += kToolIconCount * area;
    }
    return {};
}

} // namespace quelvara
