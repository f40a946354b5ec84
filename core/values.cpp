#include "values.h"

#include "recordfields.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

namespace quelvara {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Tells whether a CNPJ without its mask is one of the alphanumeric kind: twelve
// digits or letters, at least one of them a letter, then two digits.
bool isAlphanumericCnpj(const QString &plain)
{
    if (plain.size() != 14 || !isDigit(plain[12]) || !isDigit(plain[13])) {
        return false;
    }
    bool letter = false;
    for (qsizetype i = 0; i < 12; ++i) {
        if (isAsciiLetter(plain[i])) {
            letter = true;
        } else if (!isDigit(plain[i])) {
            return false;
        }
    }
    return letter;
}

// A CNPJ or CPF as typed, without the marks of its mask and the spaces.
QString withoutMask(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c != u'.' && c != u'/' && c != u'-' && c != u' ') {
            plain.append(c);
        }
    }
    return plain;
}

// Numbers of one digit repeated pass the check-digit sums but were never issued.
bool isOneDigitRepeated(const QString &plain)
{
    return !plain.isEmpty() && isDigit(plain[0]) && plain.count(plain[0]) == plain.size();
}

// The parts of a decimal text, as they stand in it.
struct DecimalParts {
    bool negative = false;
    QString integer;
    QString fraction;
    bool exponentNegative = false;
    QString exponent;
};

// Splits a text by the decimal syntax: spaces, sign, digits, comma and digits,
// exponent, spaces. Returns false when the text does not follow it.
bool splitDecimal(const QString &text, DecimalParts &parts)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ') {
        ++i;
    }
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        parts.negative = text[i] == u'-';
        ++i;
    }
    const qsizetype bodyStart = i;
    while (i < n && isDigit(text[i])) {
        parts.integer.append(text[i++]);
    }
    if (i < n && text[i] == u',') {
        ++i;
        while (i < n && isDigit(text[i])) {
            parts.fraction.append(text[i++]);
        }
    }
    if (i == bodyStart) {
        return false; // neither a digit nor the comma
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            parts.exponentNegative = text[i] == u'-';
            ++i;
        }
        while (i < n && isDigit(text[i])) {
            parts.exponent.append(text[i++]);
        }
    }
    while (i < n && text[i] == u' ') {
        ++i;
    }
    return i == n;
}

// Reads the parts as a double; nothing when the value is beyond double range.
std::optional<double> valueOf(const DecimalParts &parts)
{
    std::string s;
    s.reserve(parts.integer.size() + parts.fraction.size() + parts.exponent.size() + 4);
    s += parts.integer.isEmpty() ? std::string("0") : parts.integer.toStdString();
    if (!parts.fraction.isEmpty()) {
        s += '.';
        s += parts.fraction.toStdString();
    }
    if (!parts.exponent.isEmpty()) {
        s += 'e';
        if (parts.exponentNegative) {
            s += '-';
        }
        s += parts.exponent.toStdString();
    }
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is not a number.
        if (!parts.exponentNegative || parts.exponent.isEmpty()) {
            return std::nullopt;
        }
        value = 0;
    } else if (error != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return parts.negative ? -value : value;
}

} // namespace

QString GetField(const QString &record, int n)
{
    // Field 0 and below have always read as field 1.
    return recordField(record, std::max(n, 1)).toString();
}

QString StripBreaks(const QString &text)
{
    QString result = text;
    result.remove(u'\t');
    result.remove(u'\n');
    return result;
}

std::optional<double> DecimalValue(const QString &text)
{
    DecimalParts parts;
    if (!splitDecimal(text, parts)) {
        return std::nullopt;
    }
    return valueOf(parts);
}

bool IsDecimalText(const QString &text) { return DecimalValue(text).has_value(); }

QString FormatMoney(const QString &text)
{
    if (text.isEmpty()) {
        return text;
    }
    QString sign;
    qsizetype start = 0;
    if (text[0] == u'-') {
        sign = QStringLiteral("-");
        start = 1;
    }
    QString cleaned;
    cleaned.reserve(text.size());
    for (qsizetype i = start; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'.' && c != u'R' && c != u'$' && c != u' ') {
            cleaned.append(c);
        }
    }
    if (!IsDecimalText(cleaned)) {
        return text;
    }
    const qsizetype comma = cleaned.indexOf(u',');
    if (comma < 0) {
        cleaned += QStringLiteral(",00");
    } else if (comma == cleaned.size() - 2) {
        cleaned += u'0';
    } else if (comma == cleaned.size() - 1) {
        cleaned += QStringLiteral("00");
    }
    const qsizetype point = cleaned.indexOf(u',');
    const QString decimals = cleaned.mid(point, 3);
    const QString digits = cleaned.left(point);
    QString integer;
    integer.reserve(digits.size() + digits.size() / 3);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const qsizetype fromRight = digits.size() - i;
        if (i > 0 && fromRight % 3 == 0) {
            integer.append(u'.');
        }
        integer.append(digits[i]);
    }
    return sign + integer + decimals;
}

namespace {

// Powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The amounts every writer reads by the hundred thousand ("-1.234,56") are
// read here without a copy, and with the same value to the last bit as the
// general conversion gives. An amount whose digits make an integer a double
// holds exactly, over a power of ten it holds exactly, is that one division:
// both are exact and the division rounds once, as a correctly rounded
// conversion of the digits does. Any other goes through std::from_chars.
std::optional<double> plainMoneyValue(QStringView text)
{
    char buffer[48];
    std::size_t size = 0;
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    const bool negative = p != end && *p == u'-';
    p += negative ? 1 : 0;
    std::uint64_t mantissa = 0;
    int significant = 0; // digits in the mantissa from its first nonzero one; 20 when too many
    const auto take = [&](char16_t c) {
        const unsigned d = unsigned(c) - u'0';
        buffer[size++] = char(c);
        if (significant < 19) {
            mantissa = mantissa * 10 + d;
            significant += (significant > 0 || d != 0) ? 1 : 0;
        } else {
            significant = 20;
        }
    };
    for (; p != end && (unsigned(*p) - u'0' < 10 || *p == u'.'); ++p) {
        if (*p != u'.') {
            if (size + 4 > sizeof buffer) {
                return std::nullopt;
            }
            take(*p);
        }
    }
    if (size == 0) {
        return std::nullopt;
    }
    int decimals = 0;
    if (p != end && *p == u',') {
        buffer[size++] = '.';
        for (++p; p != end && unsigned(*p) - u'0' < 10; ++p) {
            if (size + 1 > sizeof buffer) {
                return std::nullopt;
            }
            take(*p);
            ++decimals;
        }
    }
    if (p != end) {
        return std::nullopt;
    }
    constexpr std::uint64_t kExactIntegers = std::uint64_t(1) << 53;
    double value = 0;
    if (significant <= 19 && mantissa <= kExactIntegers &&
        decimals < int(std::size(kExactPowersOfTen))) {
        value = double(mantissa) / kExactPowersOfTen[decimals];
    } else {
        const auto [last, error] = std::from_chars(buffer, buffer + size, value);
        if (error != std::errc() || last != buffer + size || !std::isfinite(value)) {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

} // namespace

std::optional<WrittenAmount> writtenAmount(QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    const qsizetype start = n > 0 && p[0] == u'-' ? 1 : 0;
    const qsizetype comma = n - 3;
    const qsizetype integer = comma - start;
    if (integer <= 0 || integer % 4 == 0 || integer - integer / 4 > 13 || p[comma] != u',') {
        return std::nullopt;
    }
    const auto digit = [p](qsizetype k) { return unsigned(p[k]) - u'0'; };
    WrittenAmount amount{start == 1, 0};
    // One to three digits first, then a dot and three digits up to the comma,
    // and two after it.
    qsizetype k = start;
    for (const qsizetype first = start + integer % 4; k < first; ++k) {
        if (digit(k) > 9) {
            return std::nullopt;
        }
        amount.cents = amount.cents * 10 + digit(k);
    }
    for (; k < comma; k += 4) {
        const unsigned a = digit(k + 1);
        const unsigned b = digit(k + 2);
        const unsigned c = digit(k + 3);
        if (p[k] != u'.' || a > 9 || b > 9 || c > 9) {
            return std::nullopt;
        }
        amount.cents = amount.cents * 1000 + a * 100 + b * 10 + c;
    }
    const unsigned tens = digit(comma + 1);
    const unsigned units = digit(comma + 2);
    if (tens > 9 || units > 9) {
        return std::nullopt;
    }
    amount.cents = amount.cents * 100 + tens * 10 + units;
    return amount;
}

std::optional<std::int64_t> canonicalCents(QStringView text)
{
    const std::optional<WrittenAmount> amount = writtenAmount(text);
    if (!amount) {
        return std::nullopt;
    }
    const qsizetype sign = amount->negative ? 1 : 0;
    // "0,10" has the one zero the program writes before the comma; any
    // other leading zero, or a minus on zero, is a text the user typed.
    if ((text[sign] == u'0' && text.size() - sign > 4) ||
        (amount->negative && amount->cents == 0)) {
        return std::nullopt;
    }
    return amount->signedCents();
}

std::optional<double> MoneyValue(const QString &text) { return MoneyValue(QStringView(text)); }

std::optional<double> MoneyValue(QStringView text)
{
    // The form every amount the program writes is in: its cents, at most
    // fifteen digits, are an integer a double holds exactly, so the exact
    // road's one division gives its value.
    if (const std::optional<WrittenAmount> amount = writtenAmount(text)) {
        const double value = double(amount->cents) / 100.0;
        return amount->negative ? -value : value;
    }
    if (const std::optional<double> value = plainMoneyValue(text)) {
        return value;
    }
    QString plain = text.toString();
    plain.remove(u'.');
    return DecimalValue(plain);
}

namespace {

// Room for any finite double written out positionally: 309 integer digits,
// or "0," and 323 zeros before 15 significant digits, and a sign.
constexpr std::size_t kNumberRoom = 352;

// Writes a finite number as NumberText does, in ASCII, and returns its
// length. Amounts are written by the hundred thousand: no text is built on
// the way.
std::size_t numberChars(double x, char *out)
{
    if (x == 0) {
        out[0] = '0';
        return 1;
    }
    // 15 significant digits, then written out positionally: an exponent form
    // would be cut by FormatMoney into a wrong amount.
    char scientific[32];
    const char *end = std::to_chars(scientific, scientific + sizeof scientific, std::fabs(x),
                                    std::chars_format::scientific, 14)
                          .ptr;
    const char *e = std::find(static_cast<const char *>(scientific), end, 'e');
    char digits[16];
    int count = 0;
    for (const char *p = scientific; p < e && count < 16; ++p) {
        if (*p != '.') {
            digits[count++] = *p;
        }
    }
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }
    char *o = out;
    if (x < 0) {
        *o++ = '-';
    }
    if (exponent >= 0) {
        const int whole = exponent + 1;
        const int head = std::min(count, whole);
        o = std::copy(digits, digits + head, o);
        o = std::fill_n(o, whole - head, '0');
        if (count > whole) {
            *o++ = ',';
            o = std::copy(digits + whole, digits + count, o);
        }
    } else {
        *o++ = '0';
        *o++ = ',';
        o = std::fill_n(o, -exponent - 1, '0');
        o = std::copy(digits, digits + count, o);
    }
    return std::size_t(o - out);
}

// Writes what FormatMoney makes of a number as numberChars writes it: the
// integer digits grouped by dots in threes, two decimals, the rest cut.
std::size_t moneyChars(const char *number, std::size_t size, char *out)
{
    char *o = out;
    std::size_t i = 0;
    if (size > 0 && number[0] == '-') {
        *o++ = '-';
        i = 1;
    }
    const char *comma = std::find(number + i, number + size, ',');
    const std::size_t integer = std::size_t(comma - (number + i));
    for (std::size_t k = 0; k < integer; ++k) {
        if (k > 0 && (integer - k) % 3 == 0) {
            *o++ = '.';
        }
        *o++ = number[i + k];
    }
    *o++ = ',';
    const char *fraction = comma == number + size ? comma : comma + 1;
    for (int k = 0; k < 2; ++k) {
        *o++ = fraction + k < number + size ? fraction[k] : '0';
    }
    return std::size_t(o - out);
}

} // namespace

QString NumberText(double x)
{
    if (!std::isfinite(x)) {
        return QString::number(x);
    }
    char buffer[kNumberRoom];
    return QString::fromLatin1(buffer, qsizetype(numberChars(x, buffer)));
}

namespace {

// The digits of 0 to 999, three each: an amount is written a group at a time.
constexpr std::array<char, 3000> kDigitGroups = [] {
    std::array<char, 3000> groups{};
    for (int n = 0; n < 1000; ++n) {
        groups[std::size_t(3 * n)] = char('0' + n / 100);
        groups[std::size_t(3 * n + 1)] = char('0' + n / 10 % 10);
        groups[std::size_t(3 * n + 2)] = char('0' + n % 10);
    }
    return groups;
}();

// Writes whole cents as digits, a decimal separator and two decimals, the
// integer digits grouped in threes by `dot` unless it is '\0' (none), and a
// minus when `negative`. The text ends at `end`, which has room for 27
// characters before it; returns where it begins.
template <char dot>
char *putCentsText(char *end, bool negative, std::uint64_t cents, char comma)
{
    char *b = end - 3;
    // The group of 0 to 99 cents has a leading zero, where the comma goes.
    std::memcpy(b, kDigitGroups.data() + 3 * (cents % 100), 3);
    *b = comma;
    std::uint64_t whole = cents / 100;
    for (; whole >= 1000; whole /= 1000) {
        b -= 3;
        std::memcpy(b, kDigitGroups.data() + 3 * (whole % 1000), 3);
        if constexpr (dot != '\0') {
            *--b = dot;
        }
    }
    // The leading group without its leading zeros.
    const int digits = whole >= 100 ? 3 : whole >= 10 ? 2 : 1;
    b -= digits;
    std::memcpy(b, kDigitGroups.data() + 3 * whole + (3 - digits), std::size_t(digits));
    if (negative) {
        *--b = '-';
    }
    return b;
}

// Writes whole cents as FormatMoney writes money: the integer digits grouped
// by dots in threes, a comma and two decimals; the sign is given apart, for
// an amount that rounds to no cent keeps the minus it had.
char *putMoneyText(char *end, bool negative, std::uint64_t cents)
{
    return putCentsText<'.'>(end, negative, cents, ',');
}

// The cents without their sign, the most negative included.
std::uint64_t magnitude(std::int64_t cents)
{
    return cents < 0 ? 0 - std::uint64_t(cents) : std::uint64_t(cents);
}

QString moneyText(bool negative, std::uint64_t cents)
{
    char text[40];
    char *const end = text + sizeof text;
    const char *const b = putMoneyText(end, negative, cents);
    return QString::fromLatin1(b, end - b);
}

// An amount of fewer than fifteen digits in ten-thousandths: its text is
// those digits, because a decimal of at most fifteen significant digits
// comes back unchanged from the double nearest it, written with fifteen;
// FormatMoney then cuts the last two.
QString smallAmountText(double tenThousandths)
{
    return moneyText(tenThousandths < 0, std::uint64_t(std::fabs(tenThousandths)) / 100);
}

} // namespace

QString AmountText(double amount)
{
    const double tenThousandths = std::round(amount * 10000.0);
    if (std::fabs(tenThousandths) < 1e15) {
        return smallAmountText(tenThousandths);
    }
    const double rounded = tenThousandths / 10000.0;
    const double x = std::isfinite(rounded) ? rounded : amount;
    // Near the end of a double's range the 15 digits read back as beyond it,
    // and FormatMoney leaves such a text as it is: the general road keeps that.
    if (!std::isfinite(x) || std::fabs(x) >= 1e300) {
        return FormatMoney(NumberText(x));
    }
    char number[kNumberRoom];
    char money[kNumberRoom + kNumberRoom / 3];
    const std::size_t size = moneyChars(number, numberChars(x, number), money);
    return QString::fromLatin1(money, qsizetype(size));
}

QString CentsText(std::int64_t cents) { return moneyText(cents < 0, magnitude(cents)); }

char *putPlainCents(char *d, std::int64_t cents, char comma)
{
    char chars[40];
    char *const end = chars + sizeof chars;
    const char *const b = putCentsText<'\0'>(end, cents < 0, magnitude(cents), comma);
    std::memcpy(d, b, std::size_t(end - b));
    return d + (end - b);
}

void setCentsText(QString &text, std::int64_t cents)
{
    char chars[40];
    char *const end = chars + sizeof chars;
    const char *const b = putMoneyText(end, cents < 0, magnitude(cents));
    // Resized in place when the text is its own and has the room; shared, it
    // gets a room of its own and the other holder keeps what it had.
    text.resize(end - b);
    std::copy(b, static_cast<const char *>(end), reinterpret_cast<char16_t *>(text.data()));
}

QString FormatDate(const QString &text)
{
    if (text == QStringLiteral("__/__/____") || text.contains(u'/')) {
        return text;
    }
    QString result = text;
    if (result.size() >= 5) {
        result.insert(4, u'/');
    }
    if (result.size() >= 3) {
        result.insert(2, u'/');
    }
    return result;
}

QString FormatCnpj(const QString &text)
{
    if (text.size() != 14 && text.size() != 18) {
        return text;
    }
    QString digits = text;
    digits.remove(u'.');
    digits.remove(u'/');
    digits.remove(u'-');
    // Alphanumeric CNPJs are written in capitals; a purely numeric text keeps
    // the older rule below, which takes whatever reads as a number.
    if (isAlphanumericCnpj(digits)) {
        digits = digits.toUpper();
    } else if (!IsDecimalText(digits)) {
        return text;
    }
    QString result;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i == 2 || i == 5) {
            result.append(u'.');
        } else if (i == 8) {
            result.append(u'/');
        } else if (i == 12) {
            result.append(u'-');
        }
        result.append(digits[i]);
    }
    return result;
}

bool isAllDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), isDigit);
}

bool IsValidCnpj(const QString &text)
{
    const QString plain = withoutMask(text).toUpper();
    if (plain.size() != 14 || isOneDigitRepeated(plain) ||
        !(isAllDigits(plain) || isAlphanumericCnpj(plain))) {
        return false;
    }
    // Each character counts as its code less that of "0", so a digit counts
    // as itself and "A" as 17; the weights run 2 to 9 from the right, again and again.
    const auto checkDigit = [&plain](qsizetype count) {
        int sum = 0;
        for (qsizetype i = 0; i < count; ++i) {
            const int weight = 2 + int((count - 1 - i) % 8);
            sum += (plain[i].unicode() - u'0') * weight;
        }
        const int remainder = sum % 11;
        return remainder < 2 ? 0 : 11 - remainder;
    };
    return checkDigit(12) == plain[12].unicode() - u'0' &&
           checkDigit(13) == plain[13].unicode() - u'0';
}

bool IsValidCpf(const QString &text)
{
    const QString plain = withoutMask(text);
    if (plain.size() != 11 || isOneDigitRepeated(plain) || !isAllDigits(plain)) {
        return false;
    }
    // The weights run down to 2 from the digit's position plus one.
    const auto checkDigit = [&plain](qsizetype count) {
        int sum = 0;
        for (qsizetype i = 0; i < count; ++i) {
            sum += (plain[i].unicode() - u'0') * int(count + 1 - i);
        }
        const int remainder = sum % 11;
        return remainder < 2 ? 0 : 11 - remainder;
    };
    return checkDigit(9) == plain[9].unicode() - u'0' &&
           checkDigit(10) == plain[10].unicode() - u'0';
}

} // namespace quelvara
