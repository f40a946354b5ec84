// Draws the main window's pictures once, when the program is built, and writes
// them as C++ data: drawing them at every start cost more than the rest of
// the icons' work together.
#include "toolicons.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    QSaveFile out(QFile::decodeName(argv[1]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    QTextStream text(&out);
    text << "// Written by quelvara-bakeicons from toolicons.cpp when the program is built.\n"
         << "#include <QtGlobal>\n\n"
         << "namespace quelvara {\n\n"
         << "extern const quint32 kBakedToolIconPixels[];\n"
         << "const quint32 kBakedToolIconPixels[] = {\n";
    for (const int side : quelvara::kToolIconSides) {
        for (int index = 0; index < quelvara::kToolIconCount; ++index) {
            const QImage image = quelvara::drawToolIcon(index, side)
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            text << "    // picture " << index << ", " << side << " px\n";
            for (int y = 0; y < side; ++y) {
                const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
                text << "   ";
                for (int x = 0; x < side; ++x) {
                    text << " 0x" << QString::number(line[x], 16).rightJustified(8, u'0') << ',';
                }
                text << '\n';
            }
        }
    }
    text << "};\n\n} // namespace quelvara\n";
    text.flush();
    if (text.status() != QTextStream::Ok || !out.commit()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
