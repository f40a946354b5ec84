#include "checks.h"

#include "accumulate.h"
#include "messages.h"
#include "opendata.h"
#include "recalculation.h"
#include "registry.h"
#include "reportpaths.h"
#include "textcompare.h"
#include "textfile.h"
#include "values.h"

#include <QDate>
#include <QHash>

#include <algorithm>
#include <cmath>
#include <optional>

namespace quelvara {

namespace {

// An amount in whole cents, as the page shows it; nothing for a text that is no amount.
std::optional<double> cents(const QString &text)
{
    const std::optional<double> value = MoneyValue(text);
    return value ? std::optional<double>(std::round(*value * 100.0)) : std::nullopt;
}

bool isAmount(const QString &text) { return MoneyValue(text).has_value(); }

// Reads a date written day/month/year with a four-digit year; nothing when it is no date.
std::optional<QDate> dateValue(const QString &text)
{
    const QStringList parts = text.split(u'/');
    if (parts.size() != 3 || parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() != 4 ||
        !isAllDigits(parts[0]) || !isAllDigits(parts[1]) || !isAllDigits(parts[2])) {
        return std::nullopt;
    }
    const QDate date(parts[2].toInt(), parts[1].toInt(), parts[0].toInt());
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// A caption as a heading reads it, without its closing colon.
QString plainCaption(const ReportField &field) { return columnName(field.caption); }

QString periodName(ReportCategory category, int period)
{
    const QStringList &names = categoryInfo(category).periods;
    if (names.isEmpty()) {
        return msg::annualPeriod();
    }
    return period >= 1 && period <= names.size() ? names.at(period - 1) : QString::number(period);
}

// The checks of one kind and year, gathering what they find.
class KindCheck {
public:
    KindCheck(const ReportKind &kind, const QString &year, QList<Finding> &findings)
        : kind_(kind)
        , year_(year)
        , findings_(findings)
    {
    }

    // Checks the periods given, each of which may or may not have a data file.
    void run(const QList<int> &periods)
    {
        if (!isValidYear(year_) || periods.isEmpty()) {
            return;
        }
        QStringList registry;
        if (kind_.followsRegistry()) {
            const TextLines read = readRegistry(kind_.registryFile);
            if (read.status == ReadStatus::Unreadable) {
                add(Severity::Erro, periods.first(), {}, 0,
                    msg::registryNotChecked(registryPath(kind_.registryFile)));
            }
            registry = read.lines;
        }
        const bool accumulates =
            std::any_of(kind_.fields.cbegin(), kind_.fields.cbegin() + kind_.fieldCount,
                        [](const ReportField &f) { return f.accumulates(); });
        if (!accumulates) {
            for (const int p : periods) {
                checkPeriod(recalculatePeriod(kind_, year_, registry, p, PreviousPeriod()),
                            nullptr);
            }
            return;
        }
        // Every period up to the last one checked, as "Atualizar Valores" would write them.
        const QList<RecalculatedPeriod> chain = recalculatePeriods(
            kind_, year_, registry, *std::max_element(periods.cbegin(), periods.cend()));
        for (const int p : periods) {
            if (p >= 1 && p <= chain.size()) {
                checkPeriod(chain.at(p - 1), p >= 2 ? &chain.at(p - 2) : nullptr);
            }
        }
    }

private:
    void add(Severity severity, int period, const QString &item, int field, QString message)
    {
        findings_.append(
            {severity, kind_.category, kind_.position, period, item, field, std::move(message)});
    }

    void checkPeriod(const RecalculatedPeriod &period, const RecalculatedPeriod *previous)
    {
        const int p = period.period;
        if (period.status == ReadStatus::Missing) {
            return;
        }
        if (period.status == ReadStatus::Unreadable) {
            add(Severity::Erro, p, {}, 0, msg::fileNotChecked(period.path));
            return;
        }
        if (previous && previous->status == ReadStatus::Missing) {
            add(Severity::Aviso, p, {}, 0,
                msg::previousPeriodMissing(periodName(kind_.category, previous->period),
                                           previous->path));
        }
        // The accumulated values as stored, by code: the first line of a code counts.
        QHash<QString, int> stored;
        for (int i = 0; i < period.stored.size(); ++i) {
            const QString key = foldKey(GetField(period.stored.at(i), 1));
            if (!stored.contains(key)) {
                stored.insert(key, i);
            }
        }

        const ItemList &items = period.items;
        for (int i = 0; i < items.size(); ++i) {
            const QString &code = items.code(i);
            const QString &line = items.line(i);
            if (kind_.fieldCount >= 2 && GetField(line, 2).isEmpty()) {
                add(Severity::Aviso, p, code, 2, msg::itemLeftOut(plainCaption(kind_.fields[1])));
            }
            const auto at = stored.constFind(foldKey(code));
            for (int n = 1; n <= kind_.fieldCount; ++n) {
                const ReportField &field = kind_.fields[std::size_t(n - 1)];
                if (field.accumulates()) {
                    if (at != stored.cend()) {
                        checkAccumulated(p, code, n, GetField(period.stored.at(*at), n),
                                         GetField(line, n));
                    }
                } else {
                    checkField(p, code, n, line);
                }
            }
        }
        if (kind_.numbersItems) {
            checkRepeatedNumbers(p, items);
        }
    }

    void checkAccumulated(int p, const QString &code, int n, const QString &text,
                          const QString &expected)
    {
        const bool computable = isAmount(expected);
        if (!isAmount(text)) {
            add(Severity::Erro, p, code, n,
                msg::accumulatedNotANumber(text, computable ? expected : QString()));
        } else if (computable && cents(text) != cents(expected)) {
            add(Severity::Erro, p, code, n, msg::accumulatedStale(text, expected));
        }
    }

    void checkField(int p, const QString &code, int n, const QString &line)
    {
        const ReportField &field = kind_.fields[std::size_t(n - 1)];
        const QString text = GetField(line, n);
        if (text.isEmpty()) {
            return;
        }
        switch (field.shape) {
        case FieldShape::Money:
            if (!isAmount(text)) {
                add(Severity::Erro, p, code, n, msg::notAnAmount(text));
            } else if (field.computation == FieldComputation::Difference ||
                       field.computation == FieldComputation::Product) {
                checkComputed(p, code, n, line);
            }
            break;
        case FieldShape::Cnpj:
            checkCnpj(p, code, n, text);
            break;
        case FieldShape::Date:
            checkDate(p, code, n, text);
            break;
        case FieldShape::AsTyped:
            break;
        }
    }

    void checkComputed(int p, const QString &code, int n, const QString &line)
    {
        const ReportField &field = kind_.fields[std::size_t(n - 1)];
        std::optional<double> operands[2];
        const int numbers[2] = {field.operand1, field.operand2};
        if (std::min(numbers[0], numbers[1]) < 1 ||
            std::max(numbers[0], numbers[1]) > kind_.fieldCount) {
            return;
        }
        for (int j = 0; j < 2; ++j) {
            const QString text = GetField(line, numbers[j]);
            operands[j] = MoneyValue(text);
            const ReportField &operand = kind_.fields[std::size_t(numbers[j] - 1)];
            if (!operands[j] && !text.isEmpty() && operand.shape != FieldShape::Money) {
                // A money operand is reported on its own; another one only here.
                add(Severity::Aviso, p, code, n,
                    msg::operandNotANumber(plainCaption(operand), text));
            }
        }
        if (!operands[0] || !operands[1]) {
            return;
        }
        const double x = *operands[0];
        const double y = *operands[1];
        const QString expected =
            AmountText(field.computation == FieldComputation::Difference ? x - y : x * y);
        const QString text = GetField(line, n);
        if (cents(text) != cents(expected)) {
            add(Severity::Erro, p, code, n, msg::computedDisagrees(text, expected));
        }
    }

    void checkCnpj(int p, const QString &code, int n, const QString &text)
    {
        const ReportField &field = kind_.fields[std::size_t(n - 1)];
        QString plain = text;
        plain.remove(u'.').remove(u'/').remove(u'-').remove(u' ');
        if (field.cpfAllowed && plain.size() == 11 && isAllDigits(plain)) {
            if (!IsValidCpf(text)) {
                add(Severity::Erro, p, code, n, msg::invalidCpf(text));
            }
        } else if (!IsValidCnpj(text)) {
            add(Severity::Erro, p, code, n, msg::invalidCnpj(text));
        }
    }

    void checkDate(int p, const QString &code, int n, const QString &text)
    {
        if (text == defaultFieldText(Data)) {
            return; // no date was entered
        }
        const std::optional<QDate> date = dateValue(text);
        if (!date) {
            add(Severity::Aviso, p, code, n, msg::invalidDate(text));
        } else if (kind_.fields[std::size_t(n - 1)].dateInYear && date->year() != year_.toInt()) {
            add(Severity::Aviso, p, code, n, msg::dateOutsideYear(text, year_));
        }
    }

    void checkRepeatedNumbers(int p, const ItemList &items)
    {
        // "7" and "000007" are one purchase number.
        const auto key = [](const QString &code) {
            if (!isAllDigits(code)) {
                return foldKey(code);
            }
            qsizetype first = 0;
            while (first < code.size() - 1 && code[first] == u'0') {
                ++first;
            }
            return code.mid(first);
        };
        QHash<QString, int> counts;
        for (int i = 0; i < items.size(); ++i) {
            ++counts[key(items.code(i))];
        }
        for (int i = 0; i < items.size(); ++i) {
            const int count = counts.take(key(items.code(i)));
            if (count > 1) {
                add(Severity::Erro, p, items.code(i), 1, msg::repeatedNumber(items.code(i), count));
            }
        }
    }

    const ReportKind &kind_;
    QString year_;
    QList<Finding> &findings_;
};

} // namespace

QList<int> periodsWithFiles(const ReportKind &kind, const QString &year)
{
    QList<int> periods;
    if (!isValidYear(year)) {
        return periods;
    }
    const int count = int(categoryInfo(kind.category).periods.size());
    for (int p = count == 0 ? 0 : 1; p <= count; ++p) {
        // Something that stands where the file belongs but cannot be read is reported too.
        const QString path = dataFilePath(year, kind.prefix, QString::number(p));
        if (fileExists(path) || dirExists(path)) {
            periods.append(p);
        }
    }
    return periods;
}

QList<Finding> checkReport(ReportCategory category, int position, const QString &year, int period)
{
    QList<Finding> findings;
    if (const ReportKind *kind = reportKind(category, position)) {
        KindCheck(*kind, year, findings).run({period});
    }
    sortFindings(findings);
    return findings;
}

QList<Finding> checkKindYear(ReportCategory category, int position, const QString &year)
{
    QList<Finding> findings;
    const ReportKind *kind = reportKind(category, position);
    if (kind && isValidYear(year)) {
        KindCheck(*kind, year, findings).run(periodsWithFiles(*kind, year));
    }
    sortFindings(findings);
    return findings;
}

QList<Finding> checkYear(const QString &year)
{
    QList<Finding> findings;
    if (!isValidYear(year)) {
        return findings;
    }
    for (const CategoryInfo &info : categories()) {
        for (const ReportKind &kind : reportKinds(info.category)) {
            KindCheck(kind, year, findings).run(periodsWithFiles(kind, year));
        }
    }
    sortFindings(findings);
    return findings;
}

void sortFindings(QList<Finding> &findings)
{
    std::stable_sort(findings.begin(), findings.end(), [](const Finding &a, const Finding &b) {
        if (a.category != b.category) {
            return a.category < b.category;
        }
        if (a.position != b.position) {
            return a.position < b.position;
        }
        if (a.period != b.period) {
            return a.period < b.period;
        }
        if (const int order = compareTexts(a.item, b.item); order != 0) {
            return order < 0;
        }
        return a.field < b.field;
    });
}

int errorCount(const QList<Finding> &findings)
{
    return int(std::count_if(findings.cbegin(), findings.cend(),
                             [](const Finding &f) { return f.severity == Severity::Erro; }));
}

QString severityText(Severity severity) { return msg::severityName(severity == Severity::Erro); }

QString periodText(const Finding &finding) { return periodName(finding.category, finding.period); }

QString fieldText(const Finding &finding)
{
    const ReportKind *kind = reportKind(finding.category, finding.position);
    if (finding.field < 1) {
        return {};
    }
    if (!kind || finding.field > kind->fieldCount) {
        return QString::number(finding.field);
    }
    return QString::number(finding.field) + QStringLiteral(" - ") +
           plainCaption(kind->fields[std::size_t(finding.field - 1)]);
}

} // namespace quelvara
