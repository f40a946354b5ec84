// Feeds arbitrary Windows-1252 text to the value functions and the codec:
// none may crash, and the normalisers must keep their promises.
#include "codec.h"
#include "values.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString text = quelvara::decodeCp1252(bytes);

    // Every byte survives a round trip.
    if (quelvara::encodeCp1252(text).value_or(QByteArray()) != bytes && !text.isEmpty()) {
        // NFC may merge characters only outside Windows-1252; a decoded text is already NFC.
        std::abort();
    }
    for (int n = -1; n < 4; ++n) {
        if (quelvara::GetField(text, n).contains(u'\t')) {
            std::abort();
        }
    }
    const QString stripped = quelvara::StripBreaks(text);
    if (stripped.contains(u'\t') || stripped.contains(u'\n')) {
        std::abort();
    }
    const QString money = quelvara::FormatMoney(text);
    // A plain typed amount (digits, dots, commas, blanks, "R$", a leading minus)
    // that FormatMoney changed reads back as an amount. Exponents and inner signs
    // are numbers without a money form and come out as typed plus ",00".
    bool plain = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        plain = plain && ((c >= u'0' && c <= u'9') || c == u'.' || c == u',' || c == u' ' ||
                          c == u'R' || c == u'$' || (c == u'-' && i == 0));
    }
    if (plain && money != text && !quelvara::MoneyValue(money).has_value()) {
        std::abort();
    }
    if (const auto value = quelvara::MoneyValue(text)) {
        quelvara::AmountText(*value);
    }
    quelvara::FormatDate(text);
    // Formatting never turns a valid CNPJ into an invalid one.
    if (quelvara::IsValidCnpj(text) && !quelvara::IsValidCnpj(quelvara::FormatCnpj(text))) {
        std::abort();
    }
    quelvara::IsValidCpf(text);
    return 0;
}
