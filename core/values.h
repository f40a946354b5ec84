#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// Value texts: every value the user enters is kept as text. Money reads and
// writes as "1.234,56", dates as "31/12/2005", CNPJs as "11.222.333/0001-81".
// The decimal separator is always the comma, whatever the machine's locale.
namespace quelvara {

/// Returns field n (counting from 1) of a record whose fields each end in a TAB, or an empty text.
QString GetField(const QString &record, int n);

/// Removes every TAB and line feed from a text, so it cannot break a record or a line.
QString StripBreaks(const QString &text);

/// Normalises a money text to "1.234,56", or returns the argument unchanged when it is no amount.
QString FormatMoney(const QString &text);

/// Reads a money text (dots removed, comma as decimal point) as a number, or nothing.
std::optional<double> MoneyValue(const QString &text);

/// Reads a money text as MoneyValue does, from characters held elsewhere.
std::optional<double> MoneyValue(QStringView text);

// An amount in the form the program writes money in: its sign and its
// whole number of cents.
struct WrittenAmount {
    bool negative = false;
    std::uint64_t cents = 0;

    /// Returns the cents with their sign (fifteen digits at most: they fit).
    std::int64_t signedCents() const
    {
        return negative ? -std::int64_t(cents) : std::int64_t(cents);
    }
};

/// Reads an amount written as the program writes money ("-1.234,56": groups of three digits
/// between dots, two decimals, at most fifteen digits), or nothing for any other text.
std::optional<WrittenAmount> writtenAmount(QStringView text);

/// Returns the signed cents of an amount whose text is exactly what the program writes for them
/// (no leading zero, no "-0,00"), or nothing for any other text.
std::optional<std::int64_t> canonicalCents(QStringView text);

/// Writes a number with 15 significant digits, a comma and no trailing zeros.
QString NumberText(double x);

/// Writes a whole number of cents as money ("-1.234,56"), as AmountText writes that amount.
QString CentsText(std::int64_t cents);

/// Writes signed cents at d as a plain number, with no group separator and the given decimal
/// separator ("-1234,56"), and returns its end; d has room for 22 characters.
char *putPlainCents(char *d, std::int64_t cents, char comma);

/// Makes a text CentsText(cents) in the room it already has, when it is the text's own and large
/// enough: for a text written again and again.
void setCentsText(QString &text, std::int64_t cents);

/// Puts the slashes into a date typed as digits ("31122005" gives "31/12/2005").
QString FormatDate(const QString &text);

/// Writes a computed amount as money: rounded to the ten-thousandth (which drops the binary
/// noise of a subtraction such as 1000,30 - 1000,10), then NumberText and FormatMoney.
QString AmountText(double amount);

/// Formats a CNPJ of 14 digits, or of 12 digits or letters and 2 digits, as "11.222.333/0001-81"
/// (letters in capitals), or returns the argument unchanged.
QString FormatCnpj(const QString &text);

/// Tells whether a CNPJ, numeric or alphanumeric, has the right check digits (mask and spaces
/// ignored).
bool IsValidCnpj(const QString &text);

/// Tells whether a CPF has the right check digits (mask and spaces ignored).
bool IsValidCpf(const QString &text);

/// Tells whether a text is not empty and holds only the digits 0 to 9.
bool isAllDigits(const QString &text);

/// Tells whether a text follows the decimal number syntax (comma as decimal separator).
bool IsDecimalText(const QString &text);

/// Reads a decimal text as a number, or nothing when it is not one (or too large for a double).
std::optional<double> DecimalValue(const QString &text);

} // namespace quelvara
