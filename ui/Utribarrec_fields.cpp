#include "Utribarrec.h"

#include "catalogue.h"
#include "registry.h"
#include "textfile.h"
#include "values.h"

#include <QComboBox>
#include <QLineEdit>

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
        if (type > 0) {
            setPickList(n);
            setFieldText(n, QString());
        } else {
            setFieldText(n, QString());
        }
        break;
    }
}

int TTribArrec::FindPick(int)
{
    return -1;
}

void TTribArrec::EditChange(int)
{
}

void TTribArrec::EditEnter(int)
{
}

void TTribArrec::EditExit(int)
{
}

void TTribArrec::SpeedButtonClick(int)
{
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

int TTribArrec::lookupLine(int, const QString &, int) const
{
    return -1;
}
