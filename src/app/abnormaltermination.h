#pragma once

#include <QMessageBox>
#include <QString>

#include <memory>

namespace kt63 {

// The exit status of a program whose main window could not be built.
inline constexpr int kAbnormalTerminationStatus = 3;

// The name of the program file: the part of `programPath` after its last "/".
QString ProgramFileName(const QString& programPath);

// The box that ends a failed start: "Abnormal program termination" in a stop box with one OK
// button, captioned with the program file's name and in front of every other window.
std::unique_ptr<QMessageBox> MakeAbnormalTerminationBox(const QString& programPath);

// Ends a start whose main window could not be built: `message` (the error's own text) goes to
// standard error, so that a user who started the program from a terminal learns why, then the
// box is shown. Returns the exit status once the user has answered it.
int AbnormalTermination(const QString& programPath, const QString& message);

} // namespace kt63
