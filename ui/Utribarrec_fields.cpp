#include "Ucadastro.h"
#include "Utribarrec.h"
#include "catalogue.h"
#include "platform.h"
#include "registry.h"
#include "textcompare.h"
#include "textfile.h"
#include "values.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <optional>

namespace {

const QString kZeroMoney = QStringLiteral("0,00");
const QString kEmptyDate = QStringLiteral("__/__/____");

} // namespace

void TTribArrec::FillField(int n)
{
    using namespace quelvara;
    // Without a data directory nothing has been set up yet: the field keeps
    // what it shows.
    if (!dirExists(dataDir())) {
        return;
    }
    QComboBox *edit = Edit[n];
    edit->clear();
    const int type = TipoCampo[n];
    setPickPresentation(n, type > 0);
    switch (type) {
    case Texto:
        setFieldText(n, QString());
        break;
    case Valor:
    case Diferenca:
    case Orcado:
    case ValorTotal:
        setFieldText(n, kZeroMoney);
        break;
    case Data:
        setFieldText(n, kEmptyDate);
        break;
    case Acumulado:
        setFieldText(n, AccumulatedValue(kZeroMoney, n, Edit[1]->currentText()));
        break;
    default:
        // A registry column: empty, with the column of every store line.
        if (type > 0) {
            setPickList(n);
        }
        setFieldText(n, QString());
        break;
    }
}

int TTribArrec::FindPick(int n)
{
    if (TipoCampo[n] <= 0) {
        // A change to a field that is not a lookup leaves no item selected.
        lbTitulos->clearSelection();
        lbTitulos->setCurrentRow(-1);
        return -1;
    }
    const QComboBox *edit = Edit[n];
    const QString text = edit->currentText();
    for (int i = 0; i < edit->count(); ++i) {
        if (quelvara::sameText(edit->itemText(i), text)) {
            return i;
        }
    }
    return -1;
}

void TTribArrec::EditChange(int n)
{
    using quelvara::GetField;
    const int pick = FindPick(n);
    if (pick < 0) {
        return;
    }
    const int column = TipoCampo[n];
    const int line = lookupLine(column, Edit[n]->currentText(), pick);
    if (line < 0) {
        return;
    }
    if (column == 1 && n < quelvara::kMaxFields) {
        setFieldText(n + 1, GetField(lbData.at(line), 2));
    } else if (column == 2 && n >= 2) {
        setFieldText(n - 1, GetField(lbData.at(line), 1));
    }
}

void TTribArrec::EditEnter(int n)
{
    using namespace quelvara;
    const int type = TipoCampo[n];
    auto text = [this](int i) { return Edit[i]->currentText(); };
    // Fields are computed from the ones before them, already normalised
    // when they were left; an operand that is no number leaves the field.
    auto compute = [this, &text](int a, int b, auto op) {
        const std::optional<double> x = MoneyValue(text(a));
        const std::optional<double> y = MoneyValue(text(b));
        return x && y ? std::optional<QString>(AmountText(op(*x, *y))) : std::nullopt;
    };
    std::optional<QString> result;
    if (type == Acumulado && (n == 4 || n == 5 || n == 7)) {
        result = AccumulatedValue(text(n - 1), n, text(1));
    } else if (type == Diferenca && n == 5) {
        result = compute(3, 4, [](double x, double y) { return x - y; });
    } else if (type == ValorTotal && n == 10) {
        result = compute(8, 9, [](double x, double y) { return x * y; });
    }
    if (result) {
        setFieldText(n, *result);
    }
}

namespace {

enum class Shape { Kept, Money, Date, Cnpj };

// How a field is normalised when left, by its number and type.
Shape shapeOnLeaving(int n, int type)
{
    using namespace quelvara;
    bool money = false;
    switch (n) {
    case 1:
    case 2:
        money = type == Valor;
        break;
    case 3:
        money = type == Valor || type == Diferenca || type == Acumulado || type == Orcado;
        break;
    case 9:
        break;
    case 10:
        // Typed totals are money like every other amount.
        money = type == Valor || type == Diferenca || type == Acumulado || type == ValorTotal;
        break;
    default:
        money = type == Valor || type == Diferenca || type == Acumulado;
        break;
    }
    if (money) {
        return Shape::Money;
    }
    if (type == Data && (n == 5 || n == 6 || n == 8)) {
        return Shape::Date;
    }
    if (type == Coluna(2) && (n == 3 || n == 4 || n == 6)) {
        return Shape::Cnpj;
    }
    return Shape::Kept;
}

} // namespace

void TTribArrec::EditExit(int n)
{
    using namespace quelvara;
    const QString shown = Edit[n]->currentText();
    // A pasted carriage return would end the record's line when the file is
    // read back, just as a line feed would.
    QString text = acceptTyped(this, StripBreaks(shown).remove(u'\r'));
    switch (shapeOnLeaving(n, TipoCampo[n])) {
    case Shape::Money:
        text = FormatMoney(text);
        break;
    case Shape::Date:
        text = FormatDate(text);
        break;
    case Shape::Cnpj:
        text = FormatCnpj(text);
        break;
    case Shape::Kept:
        break;
    }
    if (text != shown) {
        setFieldText(n, text);
    }
}

void TTribArrec::SpeedButtonClick(int n)
{
    using namespace quelvara;
    if (n < 1 || n > 6) {
        return;
    }
    const int chosen = openRegistry(this, ArqCadastro);
    // The position chosen belongs to the file as the dialog left it; a store
    // that could not be read again cannot tell which entry that is.
    const TextLines read = readRegistry(ArqCadastro);
    const bool reloaded = read.status != ReadStatus::Unreadable;
    if (reloaded) {
        lbData = read.lines;
        lookupStoreChanged();
    }
    FillField(n);
    if (reloaded && chosen >= 0 && chosen < Edit[n]->count()) {
        Edit[n]->setCurrentIndex(chosen);
    }
    EditChange(n);
}

void TTribArrec::lookupStoreChanged()
{
    for (int i = 1; i <= NumCampos; ++i) {
        if (TipoCampo[i] > 0 && hasPickPresentation(i)) {
            const QString text = Edit[i]->currentText();
            const int cursor = Edit[i]->lineEdit()->cursorPosition();
            setPickList(i);
            setFieldText(i, text);
            Edit[i]->lineEdit()->setCursorPosition(cursor);
        }
    }
}

void TTribArrec::setPickList(int n)
{
    // Position i of the pick list is line i of the store: completion relies on it.
    QComboBox *edit = Edit[n];
    edit->clear();
    edit->addItems(quelvara::registryColumn(lbData, TipoCampo[n]));
    edit->setCurrentIndex(-1);
}

void TTribArrec::setFieldText(int n, const QString &text)
{
    // A text set by the program raises no change handler: only textEdited and
    // textActivated, which the program never emits, are connected.
    Edit[n]->setEditText(text);
}

int TTribArrec::lookupLine(int column, const QString &text, int hint) const
{
    // The pick lists follow the store, so the hint is normally the line; the
    // partner is taken only from a line that really holds the text.
    auto holds = [&](int i) {
        return quelvara::sameText(quelvara::GetField(lbData.at(i), column), text);
    };
    if (hint >= 0 && hint < lbData.size() && holds(hint)) {
        return hint;
    }
    for (int i = 0; i < lbData.size(); ++i) {
        if (holds(i)) {
            return i;
        }
    }
    return -1;
}
