#include "errorguard.h"

#include "exception.h"
#include "tapplication.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace kt63 {

namespace {

ErrorBoxRunner& Runner()
{
    static ErrorBoxRunner runner;
    return runner;
}

void RunModalBox(const ErrorBoxContent& content)
{
    const QPointer<QWidget> active = QApplication::activeWindow();
    MakeErrorBox(content)->exec();
    if (active)
        active->activateWindow();
}

QString Caption()
{
    const TApplication* app = TApplication::Instance();
    return app ? app->Title() : QApplication::applicationDisplayName();
}

// Our own errors carry UTF-8; so does what the standard library says on this platform.
QString MessageOf(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return QString::fromStdString(own->message());
    return QString::fromUtf8(error.what());
}

} // namespace

ErrorBoxRunner SetErrorBoxRunner(ErrorBoxRunner runner)
{
    ErrorBoxRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

std::unique_ptr<QMessageBox> MakeErrorBox(const ErrorBoxContent& content)
{
    auto box =
        std::make_unique<QMessageBox>(content.icon, content.caption, content.text, QMessageBox::Ok);
    box->setWindowModality(Qt::ApplicationModal);
    // Shown as it stands: a message that names a path is no markup.
    box->setTextFormat(Qt::PlainText);
    return box;
}

void ShowException(const QString& message)
{
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    const ErrorBoxContent content{message + QLatin1Char('.'), Caption(), QMessageBox::Critical};
    if (Runner())
        Runner()(content);
    else
        RunModalBox(content);
}

void ShowException(const std::exception& error)
{
    ShowException(MessageOf(error));
}

} // namespace kt63
