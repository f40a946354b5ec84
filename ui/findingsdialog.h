#pragma once

#include "checks.h"

#include <QDialog>
#include <QList>

#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace quelvara {

// The findings of a check: one row each (severity, period, item, field,
// message) in order of period and item, or "Nenhum problema encontrado." when
// there is none. Choosing a row (double click, Enter or "Ir para") closes the
// dialog accepted and tells which finding it was, so its opener can show that
// period and item.
class FindingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindingsDialog(QList<Finding> findings, QWidget *parent = nullptr);

    /// Returns the findings in the order shown.
    const QList<Finding> &findings() const { return findings_; }

    /// Returns the finding the user chose to go to, or nothing.
    const std::optional<Finding> &chosen() const { return chosen_; }

signals:
    /// Tells that the user chose a finding to go to; the dialog then closes accepted.
    void findingChosen(const quelvara::Finding &finding);

private:
    void chooseRow(int row);

    QList<Finding> findings_;
    std::optional<Finding> chosen_;
    QTableWidget *tbFindings;
    QLabel *lbNone;
    QPushButton *btGoTo;
    QPushButton *btClose;
};

} // namespace quelvara
