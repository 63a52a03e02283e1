#pragma once

#include "tapplication.h"

#include <QTest>

// Like QTEST_MAIN, but the application is the program's own, so that its event guard, idle
// step and tooltips are the ones under test.
#define KT63_APP_TEST_MAIN(TestObject)                                                             \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        kt63::TApplication app(argc, argv);                                                        \
        app.SetTitle(QStringLiteral("KT63ﾕﾆｯﾄｴﾃﾞｨﾀ"));                                             \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
