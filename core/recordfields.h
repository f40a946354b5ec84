#pragma once

#include "plainrun.h"

#include <QStringView>
#include <QVarLengthArray>

#include <bit>

// A record's fields as views into its text, split once: for the writers that
// read every field of every item, where GetField would scan each record from
// its start again for every field.
namespace quelvara {

/// Returns the position of the first TAB at or after `from` in the characters, or `size` when
/// there is none.
inline qsizetype nextTab(const char16_t *p, qsizetype from, qsizetype size)
{
    qsizetype i = from;
#ifdef QUELVARA_SSE2
    // Eight characters at a time: a TAB among them sets two bits of the mask.
    const __m128i tabs = _mm_set1_epi16(u'\t');
    for (; i + 8 <= size; i += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, tabs)))) {
            return i + std::countr_zero(mask) / 2;
        }
    }
#endif
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

    /// Takes a record's fields at the positions of the TABs that end them, found before.
    RecordFields(QStringView record, const quint32 *ends, qsizetype count)
    {
        const char16_t *p = record.utf16();
        qsizetype start = 0;
        for (qsizetype k = 0; k < count; ++k) {
            fields_.append(QStringView(p + start, p + ends[k]));
            start = qsizetype(ends[k]) + 1;
        }
    }

    /// Returns the number of fields.
    qsizetype size() const { return fields_.size(); }

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
