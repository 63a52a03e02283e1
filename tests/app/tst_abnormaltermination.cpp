#include "abnormaltermination.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

using namespace kt63;

class TestAbnormalTermination : public QObject
{
    Q_OBJECT

private slots:
    void programFileName_data();
    void programFileName();
    void box();
};

void TestAbnormalTermination::programFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("absolute") << "/usr/local/bin/kt63ue"
                              << "kt63ue";
    QTest::newRow("relative") << "./build/kt63ue"
                              << "kt63ue";
    QTest::newRow("bare") << "kt63ue"
                          << "kt63ue";
    QTest::newRow("dots-in-folder") << "/opt/kt.63/kt63ue"
                                    << "kt63ue";
    QTest::newRow("backslash-is-no-separator") << "/opt/a\\kt63ue"
                                               << "a\\kt63ue";
}

void TestAbnormalTermination::programFileName()
{
    QFETCH(QString, path);
    QFETCH(QString, name);

    QCOMPARE(ProgramFileName(path), name);
}

void TestAbnormalTermination::box()
{
    const auto box = MakeAbnormalTerminationBox(QStringLiteral("/usr/bin/kt63ue"));
    QCOMPARE(box->text(), QStringLiteral("Abnormal program termination"));
    QCOMPARE(box->windowTitle(), QStringLiteral("kt63ue"));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(kAbnormalTerminationStatus, 3);
}

QTEST_MAIN(TestAbnormalTermination)
#include "tst_abnormaltermination.moc"
