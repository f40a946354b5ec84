// Feeds arbitrary bytes to the line reader and the codec, and writes records
// made of them: every line survives a write and a read, and a record written
// reads back field for field.
#include "registry.h"
#include "textfile.h"
#include "values.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QStringList lines = quelvara::decodeLines(bytes);

    // Lines hold no line break, and whatever was read is written and read back as it was.
    for (const QString &line : lines) {
        check(!line.contains(u'\r') && !line.contains(u'\n'));
    }
    const std::optional<QByteArray> written = quelvara::encodeLines(lines);
    check(written.has_value());
    check(quelvara::decodeLines(*written) == lines);
    check(quelvara::encodeLines(quelvara::decodeLines(*written)) == written);

    // The input's text cut into fields at "|": a record of them, written and read, gives them back.
    QStringList fields;
    for (const QString &piece : quelvara::decodeLines(bytes).join(QString()).split(u'|')) {
        fields.append(quelvara::registryField(piece));
    }
    QString record;
    for (const QString &field : fields) {
        record += field + u'\t';
    }
    const QStringList read = quelvara::decodeLines(quelvara::encodeLines({record}).value());
    check(read.size() == 1 || (record.isEmpty() && read.isEmpty()));
    const QString line = read.value(0);
    for (int i = 0; i < fields.size(); ++i) {
        check(quelvara::GetField(line, i + 1) == fields[i]);
        check(quelvara::registryLineField(line, i + 1) == fields[i]);
    }
    check(quelvara::GetField(line, int(fields.size()) + 1).isEmpty());

    // Without its last TAB, as a spreadsheet writes it, the record still reads field for field,
    // and is written back with it.
    record.chop(1);
    for (int i = 0; i < fields.size(); ++i) {
        check(quelvara::registryLineField(record, i + 1) == fields[i]);
    }
    const QString terminated = quelvara::terminatedRegistryLine(record);
    check(quelvara::terminatedRegistryLine(terminated) == terminated);
    check(terminated.isEmpty() || terminated.endsWith(u'\t'));
    return 0;
}
