// Feeds arbitrary report contents to the page builder: a page of N items has
// N item rows, and no "<" of a user's text reaches the page unescaped.
#include "catalogue.h"
#include "htmlpage.h"
#include "textfile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "falhou: %s\n", what);
        std::abort();
    }
}

QString textFrom(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(256);
    return quelvara::decodeLines(QByteArray(bytes.data(), qsizetype(bytes.size())))
        .join(QStringLiteral("\n"));
}

// The same input with every "<" of the user's texts replaced by a letter. A
// replacement rather than a removal, so that no text becomes empty: an item
// whose second field is blank shows no fields at all.
quelvara::PageInput withoutOpeningBrackets(quelvara::PageInput input)
{
    const auto strip = [](QString &text) { text.replace(u'<', u'x'); };
    for (QString *text : {&input.title, &input.municipality, &input.year, &input.periodName,
                          &input.prefeito, &input.secFin, &input.contador, &input.crc}) {
        strip(*text);
    }
    for (QStringList *list : {&input.captions, &input.codes, &input.lines}) {
        for (QString &text : *list) {
            strip(text);
        }
    }
    return input;
}

qsizetype countOf(const QStringList &page, QChar c)
{
    qsizetype n = 0;
    for (const QString &entry : page) {
        n += entry.count(c);
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    quelvara::PageInput page;
    page.fieldCount = input.ConsumeIntegralInRange(1, quelvara::kMaxFields);
    page.totalRow = input.ConsumeBool();
    for (int i = 1; i <= page.fieldCount; ++i) {
        page.captions.append(textFrom(input));
        page.fieldTypes.append(input.ConsumeBool() ? quelvara::Valor : quelvara::Texto);
    }
    for (QString *text : {&page.title, &page.municipality, &page.year, &page.periodName,
                          &page.prefeito, &page.secFin, &page.contador, &page.crc}) {
        *text = textFrom(input);
    }
    const int items = input.ConsumeIntegralInRange(0, 40);
    for (int i = 0; i < items && input.remaining_bytes() > 0; ++i) {
        page.codes.append(textFrom(input));
        QString line;
        for (int j = 1; j <= page.fieldCount + 1; ++j) {
            line += textFrom(input).remove(u'\t') + u'\t';
        }
        page.lines.append(line);
    }

    const QStringList built = quelvara::buildPage(page);
    check(built.count(QStringLiteral("    <tr>")) == page.codes.size(), "one row per item");
    check(countOf(built, u'<') == countOf(quelvara::buildPage(withoutOpeningBrackets(page)), u'<'),
          "no user \"<\" reaches the page");
    return 0;
}
