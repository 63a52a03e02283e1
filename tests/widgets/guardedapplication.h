#pragma once

#include <QApplication>
#include <QStringList>

#include <exception>

namespace kt63::test {

// An application that catches what an event handler throws, as the editor's shell does, and
// keeps the messages so that a test can see the handler ran and the widget went on.
class GuardedApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            caught.append(QString::fromUtf8(error.what()));
            return false;
        }
    }

    static GuardedApplication* instance() { return static_cast<GuardedApplication*>(qApp); }

    QStringList caught;
};

} // namespace kt63::test

// Runs the test object under a GuardedApplication.
#define KT63_GUARDED_TEST_MAIN(TestObject)                                                         \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        kt63::test::GuardedApplication app(argc, argv);                                            \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
