// Tests of the report session: the editor's rules without a window.
#include "reportsession.h"
#include "testfiles.h"

#include <QTest>

using namespace quelvara;

class TestReportSession : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void completionTakesTheLineHoldingTheText();

private:
    std::unique_ptr<ScratchDir> dir_;
};

void TestReportSession::init()
{
    dir_ = std::make_unique<ScratchDir>();
    QVERIFY(QDir().mkdir(dir_->file(QStringLiteral("dados"))));
}

void TestReportSession::cleanup() { dir_.reset(); }

void TestReportSession::completionTakesTheLineHoldingTheText()
{
    putFile(dir_->file(QStringLiteral("dados/tributos.vqd")),
            "090\tISS\t\r\n101\tIPTU\t\r\n205\tITBI\t\r\n");
    ReportSession session(ReportCategory::Mensais);
    QVERIFY(session.chooseKind(0, QString()).ok);
    const std::optional<Completion> byCode = session.complete(1, QStringLiteral("205"));
    QVERIFY(byCode);
    QCOMPARE(byCode->field, 2);
    QCOMPARE(byCode->text, QStringLiteral("ITBI"));
    const std::optional<Completion> byName = session.complete(2, QStringLiteral("iptu"));
    QVERIFY(byName);
    QCOMPARE(byName->field, 1);
    QCOMPARE(byName->text, QStringLiteral("101"));
    QVERIFY(!session.complete(1, QStringLiteral("999")));
    QVERIFY(!session.complete(3, QStringLiteral("205"))); // a money field looks nothing up
}

QTEST_GUILESS_MAIN(TestReportSession)
#include "test_reportsession.moc"
