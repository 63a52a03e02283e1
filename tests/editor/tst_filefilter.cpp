#include "filefilter.h"

#include <QTest>

using namespace kt63;

class TestFileFilter : public QObject
{
    Q_OBJECT

private slots:
    void toNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("filters");
        QTest::newRow("data-file-dialog")
            << "Qelvint.dll|Qelvint.dll|すべてのﾌｧｲﾙ (*.*)|*.*"
            << QStringList{"Qelvint.dll (Qelvint.dll)", "すべてのﾌｧｲﾙ (*.*) (*)"};
        QTest::newRow("several-patterns") << "Data|*.dll;*.dat"
                                          << QStringList{"Data (*.dll *.dat)"};
        QTest::newRow("text-without-pattern") << "Data|*.dll|Orphan"
                                              << QStringList{"Data (*.dll)"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void toNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, filters);
        QCOMPARE(ToNameFilters(filter), filters);
    }
};

QTEST_MAIN(TestFileFilter)
#include "tst_filefilter.moc"
