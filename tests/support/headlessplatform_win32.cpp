#include <QByteArray>

// Wine hands none of the Linux environment's QT_ variables to the programs it runs, so a Qt test
// built for Windows cannot be given its platform from outside: it names the headless one itself,
// before the test makes its application. That is the only platform linked into these tests.
namespace {
const bool gHeadless = qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
} // namespace
