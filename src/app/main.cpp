// The program's entry: builds the main window, runs the event loop, ends when the window closes.
// Nothing the user passes (arguments, environment) is read; Qt is handed the program's name alone,
// so that it does not read its own options (-reverse, -style, ...) from the command line either.

#include "abnormaltermination.h"
#include "errorguard.h"
#include "glyphs.h"
#include "qttranslations.h"
#include "tapplication.h"
#include "tsdiappform.h"

#include <exception>
#include <memory>

int main(int argc, char** argv)
{
    char programName[] = "kt63ue";
    char* qtArguments[] = {argc > 0 ? argv[0] : programName, nullptr};
    int qtArgumentCount = 1;
    kt63::TApplication app(qtArgumentCount, qtArguments);
    kt63::InstallJapaneseQtTexts(app);
    app.SetTitle(QStringLiteral("KT63ﾕﾆｯﾄｴﾃﾞｨﾀ"));
    // The program's icon, which every window of it shows; the main window sets none of its own.
    app.setWindowIcon(kt63::ApplicationIcon());
    const QString programPath = QString::fromLocal8Bit(qtArguments[0]);

    // An error while the window is built (no "WN.dat" to read) ends the program instead of
    // being shown like the errors of the user's actions.
    std::unique_ptr<kt63::TSDIAppForm> form;
    try {
        form = std::make_unique<kt63::TSDIAppForm>();
    } catch (const std::exception& error) {
        return kt63::AbnormalTermination(programPath, QString::fromUtf8(error.what()));
    }
    kt63::RunGuarded([&] { form->FormCreate(); });
    form->show();
    // The loop ends only when the main window has closed, which is a normal end.
    app.exec();
    return 0;
}
