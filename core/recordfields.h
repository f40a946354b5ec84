#pragma once

#include <QStringView>
#include <QVarLengthArray>

#include <bit>
#include <cstdint>
#include <cstring>

// A record's fields as views into its text, split once: for the writers that
// read every field of every item, where GetField would scan each record from
// its start again for every field.
namespace quelvara {

/// Returns the position of the first TAB at or after `from` in the characters, or `size` when
/// there is none.
inline qsizetype nextTab(const char16_t *p, qsizetype from, qsizetype size)
{
    qsizetype i = from;
    if constexpr (std::endian::native == std::endian::little) {
        // Four characters at a time: a lane equal to TAB is the only one
        // whose XOR with TAB is zero, and the lowest lane the test flags
        // is always such a lane.
        constexpr std::uint64_t kTabs = 0x0009000900090009u;
        constexpr std::uint64_t kOnes = 0x0001000100010001u;
        constexpr std::uint64_t kHighs = 0x8000800080008000u;
        for (; i + 4 <= size; i += 4) {
            std::uint64_t chars;
            std::memcpy(&chars, p + i, sizeof chars);
            const std::uint64_t x = chars ^ kTabs;
            const std::uint64_t zero = (x - kOnes) & ~x & kHighs;
            if (zero != 0) {
                return i + std::countr_zero(zero) / 16;
            }
        }
    }
    for (; i < size; ++i) {
        if (p[i] == u'\t') {
            return i;
        }
    }
    return size;
}

class RecordFields {
public:
    /// Splits a record into its fields, each ended by a TAB; a text after the last TAB is no field.
    explicit RecordFields(QStringView record)
    {
        const char16_t *p = record.utf16();
        const qsizetype n = record.size();
        for (qsizetype start = 0, tab; (tab = nextTab(p, start, n)) < n; start = tab + 1) {
            fields_.append(QStringView(p + start, p + tab));
        }
    }

    /// Returns field n (counting from 1) as GetField reads it: empty beyond the last.
    QStringView at(int n) const
    {
        return n >= 1 && n <= fields_.size() ? fields_[n - 1] : QStringView();
    }

private:
    QVarLengthArray<QStringView, 16> fields_;
};

/// Returns field n (counting from 1) of a record as RecordFields reads it, scanning only as far as
/// that field's TAB: for a record of which one field is read.
inline QStringView recordField(QStringView record, int n)
{
    const char16_t *const p = record.utf16();
    const qsizetype size = record.size();
    for (qsizetype start = 0, tab; n >= 1 && (tab = nextTab(p, start, size)) < size;
         start = tab + 1) {
        if (--n == 0) {
            return QStringView(p + start, p + tab);
        }
    }
    return QStringView();
}

} // namespace quelvara
