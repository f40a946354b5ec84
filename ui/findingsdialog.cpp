#include "findingsdialog.h"

#include "messages.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quelvara {

FindingsDialog::FindingsDialog(QList<Finding> findings, QWidget *parent)
    : QDialog(parent)
    , findings_(std::move(findings))
{
    setObjectName(QStringLiteral("FindingsDialog"));
    setWindowTitle(msg::checkCaption());
    sortFindings(findings_);

    tbFindings = new QTableWidget(int(findings_.size()), 5, this);
    tbFindings->setObjectName(QStringLiteral("tbFindings"));
    tbFindings->setHorizontalHeaderLabels(msg::findingsHeadings());
    tbFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    tbFindings->setWordWrap(true);
    tbFindings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tbFindings->verticalHeader()->hide();
    for (int row = 0; row < findings_.size(); ++row) {
        const Finding &f = findings_.at(row);
        const QString texts[] = {severityText(f.severity), periodText(f), f.item, fieldText(f),
                                 f.message};
        for (int column = 0; column < 5; ++column) {
            tbFindings->setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
    // The message takes the width left and wraps; the rows grow to hold it.
    QHeaderView *header = tbFindings->horizontalHeader();
    for (int column = 0; column < 4; ++column) {
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    header->setSectionResizeMode(4, QHeaderView::Stretch);
    tbFindings->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    lbNone = new QLabel(msg::noProblemsFound(), this);
    lbNone->setObjectName(QStringLiteral("lbNone"));
    lbNone->setAlignment(Qt::AlignCenter);

    btGoTo = new QPushButton(msg::goToFinding(), this);
    btGoTo->setObjectName(QStringLiteral("btGoTo"));
    btClose = new QPushButton(msg::closeFindings(), this);
    btClose->setObjectName(QStringLiteral("btClose"));

    const bool none = findings_.isEmpty();
    tbFindings->setVisible(!none);
    lbNone->setVisible(none);
    btGoTo->setVisible(!none);
    // Enter in the table reaches the dialog, whose default button goes to the row.
    (none ? btClose : btGoTo)->setDefault(true);
    if (!none) {
        tbFindings->setCurrentCell(0, 0);
    }

    connect(tbFindings, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { chooseRow(row); });
    connect(btGoTo, &QPushButton::clicked, this, [this] { chooseRow(tbFindings->currentRow()); });
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btGoTo);
    buttons->addWidget(btClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tbFindings);
    layout->addWidget(lbNone);
    layout->addLayout(buttons);
    resize(none ? QSize(360, 140) : QSize(900, 420));
}

void FindingsDialog::chooseRow(int row)
{
    if (row < 0 || row >= findings_.size() || chosen_) {
        return;
    }
    chosen_ = findings_.at(row);
    emit findingChosen(*chosen_);
    accept();
}

} // namespace quelvara
