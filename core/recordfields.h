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
        : record_(record.utf16())
    {
        const qsizetype n = record.size();
        for (qsizetype start = 0, tab; (tab = nextTab(record_, start, n)) < n; start = tab + 1) {
            own_.append(quint32(tab));
        }
        ends_ = own_.constData();
        count_ = own_.size();
    }

    /// Takes a record's fields at the positions of the TABs that end them, found before and kept
    /// by the caller for as long as the fields are read.
    RecordFields(QStringView record, const quint32 *ends, qsizetype count)
        : record_(record.utf16())
        , ends_(ends)
        , count_(count)
    {
    }

    // A copy would have to point its ends at its own: nothing needs one.
    RecordFields(const RecordFields &) = delete;
    RecordFields &operator=(const RecordFields &) = delete;

    /// Returns the number of fields.
    qsizetype size() const { return count_; }

    /// Returns field n (counting from 1) as GetField reads it: empty beyond the last.
    QStringView at(int n) const
    {
        if (n < 1 || n > count_) {
            return QStringView();
        }
        const qsizetype start = n == 1 ? 0 : qsizetype(ends_[n - 2]) + 1;
        return QStringView(record_ + start, record_ + ends_[n - 1]);
    }

private:
    // Each field ends at a TAB: the positions of those TABs, in the record
    // split here or in the caller's.
    const char16_t *record_ = nullptr;
    QVarLengthArray<quint32, 16> own_;
    const quint32 *ends_ = nullptr;
    qsizetype count_ = 0;
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
