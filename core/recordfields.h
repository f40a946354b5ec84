#pragma once

#include "plainrun.h"

#include <QStringView>
#include <QVarLengthArray>

#include <bit>

// A record's fields as views into its text, split once: for the writers that
// read every field of every item, where GetField would scan each record from
// its start again for every field.
namespace quelvara {

class RecordFields {
public:
    /// Splits a record into its fields, each ended by a TAB; a text after the last TAB is no field.
    explicit RecordFields(QStringView record)
    {
        const char16_t *p = record.utf16();
        const qsizetype n = record.size();
        qsizetype start = 0;
        qsizetype i = 0;
#ifdef QUELVARA_SSE2
        // Eight characters at a time: each TAB among them sets two bits of the mask.
        const __m128i tabs = _mm_set1_epi16(u'\t');
        for (; i + 8 <= n; i += 8) {
            const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            for (unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(chars, tabs)));
                 mask != 0; mask &= mask - 1, mask &= mask - 1) {
                const qsizetype tab = i + std::countr_zero(mask) / 2;
                fields_.append(QStringView(p + start, p + tab));
                start = tab + 1;
            }
        }
#endif
        for (; i < n; ++i) {
            if (p[i] == u'\t') {
                fields_.append(QStringView(p + start, p + i));
                start = i + 1;
            }
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

} // namespace quelvara
