#pragma once

#include <QtGlobal>

#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUELVARA_SSE2 1
#endif

// The writers turn texts into bytes of several formats. Nearly every
// character of a text is written as the one byte of its value; this finds
// such runs eight characters at a time, so that only the rare character
// that needs more (an accent in UTF-8, a dash in Windows-1252, an "&" in a
// page) is written one by one.
namespace quelvara {

enum class Plain {
    Cp1252, // written as its Windows-1252 byte: U+0000 to U+007F and U+00A0 to U+00FF
    Html,   // as Cp1252, but for "&", "<" and ">", which a page writes as entities
    Json,   // ASCII that a JSON string holds as it is: no control, quote or backslash
    Ascii,  // ASCII, which UTF-8 writes as it is
    Csv,    // ASCII that a CSV field holds without quotes: no control, ";" or quote
};

/// Copies bytes to out and returns the end of what it wrote.
inline char *putBytes(char *out, const char *bytes, qsizetype size)
{
    std::memcpy(out, bytes, std::size_t(size));
    return out + size;
}

/// Tells whether a character is one of the plain kind: written as the byte of its value.
template <Plain kind>
constexpr bool isPlain(char16_t c)
{
    switch (kind) {
    case Plain::Cp1252:
        return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
    case Plain::Html:
        return (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) && c != u'&' && c != u'<' && c != u'>';
    case Plain::Json:
        return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\';
    case Plain::Ascii:
        return c < 0x80;
    case Plain::Csv:
        return c >= 0x20 && c < 0x7F && c != u';' && c != u'"';
    }
    return false;
}

/// Writes the leading plain characters of in[0, n) as their bytes at out and returns how many
/// there were; out must have room for n bytes.
template <Plain kind>
qsizetype copyPlain(char *out, const char16_t *in, qsizetype n)
{
    qsizetype i = 0;
#ifdef QUELVARA_SSE2
    const auto splat = [](int c) { return _mm_set1_epi16(short(c)); };
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        __m128i good;
        if constexpr (kind == Plain::Cp1252 || kind == Plain::Html) {
            good = _mm_andnot_si128(
                _mm_cmpeq_epi16(_mm_and_si128(v, splat(0xFFE0)), splat(0x0080)),
                _mm_cmpeq_epi16(_mm_and_si128(v, splat(0xFF00)), _mm_setzero_si128()));
            if constexpr (kind == Plain::Html) {
                good = _mm_andnot_si128(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, splat('&')),
                                                                  _mm_cmpeq_epi16(v, splat('<'))),
                                                     _mm_cmpeq_epi16(v, splat('>'))),
                                        good);
            }
        } else {
            good = _mm_cmpeq_epi16(_mm_and_si128(v, splat(0xFF80)), _mm_setzero_si128());
            if constexpr (kind == Plain::Json || kind == Plain::Csv) {
                // Controls first, then the two characters the format marks.
                __m128i marked =
                    _mm_cmpeq_epi16(_mm_and_si128(v, splat(0xFFE0)), _mm_setzero_si128());
                if constexpr (kind == Plain::Json) {
                    marked = _mm_or_si128(marked, _mm_or_si128(_mm_cmpeq_epi16(v, splat('"')),
                                                               _mm_cmpeq_epi16(v, splat('\\'))));
                } else {
                    marked = _mm_or_si128(
                        marked, _mm_or_si128(_mm_cmpeq_epi16(v, splat(0x7F)),
                                             _mm_or_si128(_mm_cmpeq_epi16(v, splat('"')),
                                                          _mm_cmpeq_epi16(v, splat(';')))));
                }
                good = _mm_andnot_si128(marked, good);
            }
        }
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + i), _mm_packus_epi16(v, v));
        const unsigned mask = unsigned(_mm_movemask_epi8(good));
        if (mask != 0xFFFFu) {
            return i + std::countr_one(mask) / 2;
        }
    }
#endif
    for (; i < n && isPlain<kind>(in[i]); ++i) {
        out[i] = static_cast<char>(in[i]);
    }
    return i;
}

} // namespace quelvara
