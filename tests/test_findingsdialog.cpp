#include "findingsdialog.h"
#include "layoutcheck.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace quelvara;

namespace {

Finding finding(Severity severity, int period, const char *item, int field)
{
    return {severity, ReportCategory::Mensais, 0, period, item, field, QStringLiteral("Corrija.")};
}

// Three findings of the monthly taxes, out of order.
QList<Finding> threeFindings()
{
    return {finding(Severity::Erro, 3, "102", 4), finding(Severity::Erro, 2, "101", 4),
            finding(Severity::Aviso, 3, "", 0)};
}

template <typename T>
T *child(QWidget &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

} // namespace

class TestFindingsDialog : public QObject {
    Q_OBJECT

private slots:
    void rowsInOrder();
    void choosing_data();
    void choosing();
    void closingChoosesNothing();
    void noFinding();
    void fitsAndHasMnemonics();
};

void TestFindingsDialog::rowsInOrder()
{
    FindingsDialog dialog(threeFindings());
    auto *table = child<QTableWidget>(dialog, "tbFindings");
    QVERIFY(table);
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column) {
            cells.append(table->item(row, column)->text());
        }
        rows.append(cells.join(u'|'));
    }
    QCOMPARE(rows, (QStringList{
                       "erro|Fevereiro|101|4 - Acumulado no Exercício|Corrija.",
                       "aviso|Março|||Corrija.",
                       "erro|Março|102|4 - Acumulado no Exercício|Corrija.",
                   }));
    QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Gravidade"));
}

void TestFindingsDialog::choosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("double click") << "double click";
    QTest::newRow("enter") << "enter";
    QTest::newRow("button") << "button";
}

void TestFindingsDialog::choosing()
{
    QFETCH(QString, how);
    FindingsDialog dialog(threeFindings());
    QList<Finding> told;
    connect(&dialog, &FindingsDialog::findingChosen, this,
            [&told](const Finding &f) { told.append(f); });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *table = child<QTableWidget>(dialog, "tbFindings");
    table->setCurrentCell(2, 0);

    if (how == QLatin1String("double click")) {
        table->setCurrentCell(0, 0); // the row clicked counts, not the current one
        const QPoint at = table->visualItemRect(table->item(2, 3)).center();
        // A double click begins with a click, which the view needs to see.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    } else if (how == QLatin1String("enter")) {
        QTest::keyClick(table, Qt::Key_Return);
    } else {
        QTest::mouseClick(child<QPushButton>(dialog, "btGoTo"), Qt::LeftButton);
    }

    const Finding wanted = finding(Severity::Erro, 3, "102", 4);
    QCOMPARE(told, QList<Finding>{wanted});
    QVERIFY(dialog.chosen());
    QCOMPARE(*dialog.chosen(), wanted);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void TestFindingsDialog::closingChoosesNothing()
{
    FindingsDialog dialog(threeFindings());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(child<QPushButton>(dialog, "btClose"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.chosen());
}

void TestFindingsDialog::noFinding()
{
    FindingsDialog dialog({});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *none = child<QLabel>(dialog, "lbNone");
    QVERIFY(none && none->isVisible());
    QCOMPARE(none->text(), QStringLiteral("Nenhum problema encontrado."));
    QVERIFY(!child<QTableWidget>(dialog, "tbFindings")->isVisible());
    QVERIFY(!child<QPushButton>(dialog, "btGoTo")->isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return); // closes
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestFindingsDialog)
void TestFindingsDialog::fitsAndHasMnemonics()
{
    FindingsDialog dialog(threeFindings());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(layoutFaults(&dialog), QStringList());
    QCOMPARE(buttonsWithoutMnemonic(&dialog), QStringList());
    QCOMPARE(mnemonicClashes(&dialog), QStringList());
}

#include "test_findingsdialog.moc"
