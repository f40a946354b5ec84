#include "Utribarrec.h"

#include "focuswatch.h"

#include <QComboBox>

TTribArrec *TribArrec = nullptr;

TTribArrec::TTribArrec(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TribArrec"));
    SubTitle = new QComboBox(this);
    SubTitle->setObjectName(QStringLiteral("SubTitle"));
    SubTitle->hide();
}

TTribArrec::~TTribArrec() = default;

quelvara::ReportCategory TTribArrec::category() const
{
    return static_cast<quelvara::ReportCategory>(SubTitle->currentIndex());
}

const quelvara::ReportKind *TTribArrec::currentKind() const
{
    return nullptr;
}

void TTribArrec::OpeningSequence()
{
}

void TTribArrec::SelectCategory()
{
}

void TTribArrec::SelectReportKind()
{
}

void TTribArrec::cbPeriodoChange()
{
}

void TTribArrec::LayOutFields(int)
{
}

void TTribArrec::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
}

bool TTribArrec::eventFilter(QObject *watched, QEvent *event)
{
    return QDialog::eventFilter(watched, event);
}

void TTribArrec::buildLayout()
{
}

void TTribArrec::connectHandlers()
{
}


namespace quelvara {

void openReportEditor(QWidget *parent, int category, const QString &nomePrefeitura,
                      const QString &uf)
{
    auto *editor = new TTribArrec(parent);
    TribArrec = editor;
    editor->NomePrefeitura = nomePrefeitura;
    editor->UF = uf;
    editor->SubTitle->setCurrentIndex(category);
    editor->exec();
    delete editor;
    TribArrec = nullptr;
}

} // namespace quelvara
