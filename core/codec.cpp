#include "codec.h"

#include "plainrun.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace quelvara {

namespace {

// Bytes 0x80 to 0x9F; the five bytes that Windows-1252 leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the same value,
// so that every byte survives a read and a write.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

// The character of every byte, for the few bytes a block cannot simply widen.
constexpr std::array<char16_t, 256> kDecoded = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        table[b] = b - 0x80 < kHighControls.size() ? kHighControls[b - 0x80] : char16_t(b);
    }
    return table;
}();

// The decoder takes bytes this many at a time: a block holding a byte
// Windows-1252 and Unicode disagree on is taken again byte by byte, the rest
// of the text is not.
constexpr qsizetype kBlock = 16;

// Returns the byte for a character, or -1 when Windows-1252 has none.
int toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            return int(0x80 + i);
        }
    }
    return -1;
}

// The general road: NFC first, so that a letter typed with a combining
// accent is stored as the one character Windows-1252 has for it.
bool appendNormalized(QByteArray &bytes, QStringView text)
{
    const QString normal = text.toString().normalized(QString::NormalizationForm_C);
    QByteArray encoded(normal.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < normal.size(); ++i) {
        const int byte = toByte(normal[i].unicode());
        if (byte < 0) {
            return false;
        }
        encoded[i] = static_cast<char>(byte);
    }
    bytes += encoded;
    return true;
}

} // namespace

bool fitsCp1252(char16_t c) { return toByte(c) >= 0; }

QString decodeCp1252(const QByteArray &bytes) { return decodeCp1252(QByteArrayView(bytes)); }

QString decodeCp1252(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    QString text(size, Qt::Uninitialized);
    auto *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    // Every byte but 0x80 to 0x9F is the character of the same value: whole
    // blocks are widened without branches, a loop of fixed length that the
    // compiler turns into a few vector steps, and only a block that holds
    // one of those few (a dash, a quote) is looked at again.
    qsizetype i = 0;
#ifdef QUELVARA_SSE2
    // The same, spelt out: a block is widened with two unpacks, and then
    // only its bytes 0x80 to 0x9F, those whose top three bits are 100, are
    // looked up one by one.
    const __m128i zero = _mm_setzero_si128();
    for (; i + kBlock <= size; i += kBlock) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + i + 8), _mm_unpackhi_epi8(v, zero));
        const __m128i high =
            _mm_cmpeq_epi8(_mm_and_si128(v, _mm_set1_epi8(char(0xE0))), _mm_set1_epi8(char(0x80)));
        for (unsigned mask = unsigned(_mm_movemask_epi8(high)); mask != 0; mask &= mask - 1) {
            const qsizetype j = i + std::countr_zero(mask);
            out[j] = kDecoded[in[j]];
        }
    }
#endif
    for (; i + kBlock <= size; i += kBlock) {
        // Adding 0x60 moves 0x80 to 0x9F, and nothing else, to 0xE0 and above:
        // the block's largest byte so moved tells whether it holds one of them.
        std::uint8_t top = 0;
        for (qsizetype j = 0; j < kBlock; ++j) {
            top = std::max(top, std::uint8_t(in[i + j] + 0x60u));
            out[i + j] = in[i + j];
        }
        if (top >= 0xE0) {
            for (qsizetype j = 0; j < kBlock; ++j) {
                out[i + j] = kDecoded[in[i + j]];
            }
        }
    }
    for (; i < size; ++i) {
        out[i] = kDecoded[in[i]];
    }
    return text;
}

std::optional<QByteArray> encodeCp1252(const QString &text)
{
    QByteArray bytes;
    if (!appendCp1252(bytes, text)) {
        return std::nullopt;
    }
    return bytes;
}

namespace {

// Writes a text as Windows-1252, a run of characters that are their own
// byte at a time; returns nullptr when a character has none.
template <Plain kind>
char *putEncoded(char *out, const char16_t *in, qsizetype size)
{
    for (qsizetype i = 0;;) {
        const qsizetype run = copyPlain<kind>(out, in + i, size - i);
        out += run;
        i += run;
        if (i == size) {
            return out;
        }
        const char16_t c = in[i++];
        if (kind == Plain::Html && (c == u'&' || c == u'<' || c == u'>')) {
            const QLatin1String entity = c == u'&'   ? QLatin1String("&amp;")
                                         : c == u'<' ? QLatin1String("&lt;")
                                                     : QLatin1String("&gt;");
            out = putBytes(out, entity.data(), entity.size());
            continue;
        }
        const int byte = toByte(c);
        if (byte < 0) {
            return nullptr;
        }
        *out++ = static_cast<char>(byte);
    }
}

} // namespace

bool appendCp1252(QByteArray &bytes, QStringView text)
{
    const qsizetype start = bytes.size();
    bytes.resize(start + text.size());
    if (!putEncoded<Plain::Cp1252>(bytes.data() + start, text.utf16(), text.size())) {
        bytes.truncate(start);
        return appendNormalized(bytes, text);
    }
    return true;
}

char *putCp1252Html(char *out, QStringView text)
{
    return putEncoded<Plain::Html>(out, text.utf16(), text.size());
}

QString keepCp1252(const QString &text, QString *removed)
{
    const QString normal = text.normalized(QString::NormalizationForm_C);
    QString kept;
    kept.reserve(normal.size());
    for (qsizetype i = 0; i < normal.size(); ++i) {
        const QChar c = normal[i];
        if (fitsCp1252(c.unicode())) {
            kept.append(c);
        } else if (removed) {
            // A character outside the basic plane is a surrogate pair: report it whole.
            if (c.isHighSurrogate() && i + 1 < normal.size()) {
                removed->append(c);
                removed->append(normal[++i]);
            } else {
                removed->append(c);
            }
        }
    }
    return kept;
}

QString wellFormedText(const QString &text)
{
    QString result = text;
    const qsizetype n = result.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = result[i];
        if (c.isHighSurrogate() && i + 1 < n && result[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            result[i] = QChar::ReplacementCharacter;
        }
    }
    return result;
}

} // namespace quelvara
