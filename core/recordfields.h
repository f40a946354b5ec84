#pragma once

#include <QStringView>
#include <QVarLengthArray>

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
        qsizetype start = 0;
        for (qsizetype i = 0; i < record.size(); ++i) {
            if (p[i] == u'\t') {
                fields_.append(record.mid(start, i - start));
                start = i + 1;
            }
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

} // namespace quelvara
