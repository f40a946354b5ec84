#include "Utribarrec.h"
#include "accumulate.h"

#include <QComboBox>
#include <QFrame>
#include <QListWidget>

QString TTribArrec::AccumulatedValue(const QString &value, int k, const QString &code)
{
    // Within one user action the previous period's file is read once and
    // serves every item and field; outside an action nothing is kept, so no
    // stale copy can outlive the action that read it.
    std::optional<quelvara::Accumulator> single;
    quelvara::Accumulator *accumulator = nullptr;
    if (actionDepth_ > 0) {
        if (!accumulator_ || !accumulator_->isFor(Ano, PrefixoArq, Periodo)) {
            accumulator_.emplace(Ano, PrefixoArq, Periodo);
        }
        accumulator = &*accumulator_;
    } else {
        accumulator = &single.emplace(Ano, PrefixoArq, Periodo);
    }
    const quelvara::Accumulation result = accumulator->value(value, k, code);
    if (!result.message.isEmpty()) {
        // One box per distinct message and action: every field still gets the
        // instruction text, but a load of hundreds of items asks for one click.
        showOnce(result.message);
    }
    return result.text;
}

void TTribArrec::forgetPreviousPeriod() { accumulator_.reset(); }

void TTribArrec::RecalculateYear()
{
    const int remembered = selectedRow();
    bool isNumber = false;
    const int n = Periodo.toInt(&isNumber);
    if (!isNumber || n <= 1) {
        // Period 1 has nothing before it, and annual kinds (period 0) accumulate nothing.
        return;
    }
    // The page of each period is written under that period's name, which the
    // page writer reads from cbPeriodo: show each period's entry while it is
    // computed. Setting the index programmatically runs no handler.
    const int shownPeriod = cbPeriodo->currentIndex();
    for (int p = 1; p <= n; ++p) {
        Periodo = QString::number(p);
        if (p - 1 < cbPeriodo->count()) {
            cbPeriodo->setCurrentIndex(p - 1);
        }
        LoadItemList();
        // Writing drops the previous period read so far: the next period
        // accumulates from the file just written.
        WriteDataFile();
    }
    cbPeriodo->setCurrentIndex(shownPeriod);
    Periodo = QString::number(n);
    if (remembered >= 0 && remembered < lbTitulos->count()) {
        lbTitulos->setCurrentRow(remembered);
    }
    lbTitulosClick();
}

void TTribArrec::Panel1MouseDown()
{
    // Pressed: a single-line border and no bevel.
    Panel1->setFrameShape(QFrame::Box);
    Panel1->setFrameShadow(QFrame::Plain);
    Panel1->setLineWidth(1);
}

void TTribArrec::Panel1MouseUp()
{
    // At rest: no border, a raised bevel of width 1.
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setLineWidth(1);
}
