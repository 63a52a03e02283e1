#pragma once

#include <QMessageBox>
#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <utility>

namespace kt63 {

// What an error box says; the box has one OK button.
struct ErrorBoxContent
{
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows an error box and returns once the user has answered it.
using ErrorBoxRunner = std::function<void(const ErrorBoxContent&)>;

// Puts `runner` in place of the modal box and returns the one it replaces; an empty runner
// brings back the modal box. Tests record the boxes this way instead of answering them.
ErrorBoxRunner SetErrorBoxRunner(ErrorBoxRunner runner);

// The box as the user sees it: `content` with the one OK button, unparented, so that it belongs
// to the application and disables all of its windows while it is up.
std::unique_ptr<QMessageBox> MakeErrorBox(const ErrorBoxContent& content);

// Shows an error that left a user action: a grab of the mouse is let go, then the message with
// a full stop appended (always, even after one it already ends with) goes into a stop box
// captioned with the application title. The window that was active is activated again after.
void ShowException(const QString& message);
void ShowException(const std::exception& error);

// Runs `action`; an error that leaves it is shown by ShowException and goes no further. What the
// action changed before the error stays. Returns whether the action ran to its end.
template <typename Action> bool RunGuarded(Action&& action)
{
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    }
    return false;
}

} // namespace kt63
