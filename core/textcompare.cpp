#include "textcompare.h"

#include "plainrun.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace quelvara {

namespace {

// The collators are built once with their locale named: a default one falls
// back to code-point order where LANG is unset.
const QCollator &collator(Qt::CaseSensitivity sensitivity)
{
    static const QCollator insensitive = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static const QCollator sensitive = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return sensitivity == Qt::CaseInsensitive ? insensitive : sensitive;
}

int sign(int value) { return (value > 0) - (value < 0); }

// Digits, the dot and the TAB each make one collation element of their own,
// ordered as their codes are (TAB, then the dot, then 0 to 9), with nothing
// that combines with them. Item codes and the code part of registry lines are
// made of them: two texts that first differ at one of them, or where one of
// them ends and the other goes on with one, are in that order, without the
// collator, at every strength.
bool isPlain(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'.' || c == u'\t'; }

// Where the first difference of a and b lies, or their first character that is
// not plain, within eight characters from i, both of which go on that far; n
// when there is none. Codes next to each other in a list share most of their
// characters: these are passed over eight at a time.
#ifdef QUELVARA_SSE2
qsizetype firstStop(const char16_t *a, const char16_t *b, qsizetype i, qsizetype n)
{
    const auto splat = [](int c) { return _mm_set1_epi16(short(c)); };
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(a + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i *>(b + i));
    // Signed, a unit from 0x8000 on is below '0'.
    const __m128i digit =
        _mm_and_si128(_mm_cmpgt_epi16(x, splat(u'0' - 1)), _mm_cmplt_epi16(x, splat(u'9' + 1)));
    const __m128i plain = _mm_or_si128(
        digit, _mm_or_si128(_mm_cmpeq_epi16(x, splat(u'.')), _mm_cmpeq_epi16(x, splat(u'\t'))));
    const unsigned go = unsigned(_mm_movemask_epi8(_mm_and_si128(plain, _mm_cmpeq_epi16(x, y))));
    return go == 0xFFFFu ? n : i + std::countr_one(go) / 2;
}
#endif

std::optional<int> plainOrder(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
#ifdef QUELVARA_SSE2
    if (n >= 8) {
        // The last block may go back over characters already passed.
        for (qsizetype at = 0;; at = std::min(at + 8, n - 8)) {
            if (const qsizetype stop = firstStop(a.utf16(), b.utf16(), at, n); stop < n) {
                i = stop;
                break;
            }
            if (at + 8 == n) {
                i = n;
                break;
            }
        }
    }
#endif
    for (; i < n; ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (!isPlain(x) || !isPlain(y)) {
            return std::nullopt;
        }
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    const QStringView longer = a.size() > b.size() ? a : b;
    if (!isPlain(longer[n].unicode())) {
        return std::nullopt;
    }
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

int compareTexts(const QString &a, const QString &b)
{
    if (const std::optional<int> order = plainOrder(a, b)) {
        return *order;
    }
    if (int r = collator(Qt::CaseInsensitive).compare(a, b)) {
        return sign(r);
    }
    if (int r = collator(Qt::CaseSensitive).compare(a, b)) {
        return sign(r);
    }
    return sign(QString::compare(a, b, Qt::CaseSensitive));
}

// Codes are nearly always digits, dots and lower-case letters, which folding
// leaves as they are: such a text is its own key. Anything else is folded by
// Qt.
bool isOwnKey(QStringView text)
{
    const char16_t *const p = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Four characters at a time. A lane below 0x80 plus 0x8000 - 'A' has
        // its top bit set from 'A' on, plus 0x8000 - 'Z' - 1 from past 'Z' on.
        constexpr std::uint64_t kNotAscii = 0xFF80FF80FF80FF80u;
        constexpr std::uint64_t kFromA = 0x7FBF7FBF7FBF7FBFu;
        constexpr std::uint64_t kPastZ = 0x7FA57FA57FA57FA5u;
        constexpr std::uint64_t kHighs = 0x8000800080008000u;
        for (; i + 4 <= size; i += 4) {
            std::uint64_t chars;
            std::memcpy(&chars, p + i, sizeof chars);
            if ((chars & kNotAscii) != 0 || ((chars + kFromA) & ~(chars + kPastZ) & kHighs) != 0) {
                return false;
            }
        }
    }
    for (; i < size; ++i) {
        if (p[i] >= 0x80 || (p[i] >= u'A' && p[i] <= u'Z')) {
            return false;
        }
    }
    return true;
}

QString foldKey(const QString &text)
{
    // A text that is its own key is shared rather than copied.
    return isOwnKey(text) ? text : text.toCaseFolded();
}

QStringView foldKey(QStringView text, QString &room)
{
    if (isOwnKey(text)) {
        return text;
    }
    room = text.toString().toCaseFolded();
    return room;
}

QStringView foldKey(QStringView text, QStringList &kept)
{
    if (isOwnKey(text)) {
        return text;
    }
    kept.append(text.toString().toCaseFolded());
    return kept.constLast();
}

bool sameText(const QString &a, const QString &b) { return foldKey(a) == foldKey(b); }

} // namespace quelvara
