#pragma once

#include "settledopen.h"

#include <QString>

class QWidget;

namespace kt63 {

// What opening a data file in the window did about the rollback journal beside it: an apply of
// the table tool that a kill or a crash cut off is rolled back, or had finished and is kept.
// Gives an empty text when there is nothing to tell.
QString JournalSettledText(const JournalOutcome& outcome, const std::string& data);

// Why the window does not open a file whose journal it must not touch (one that is not the
// file's, or a damaged one now kept aside), and what the user can do.
std::string JournalRefusalText(const JournalOutcome& outcome, const std::string& data);

// Tells `text` in an information box over `parent`, and waits until it is closed.
void ShowJournalNotice(QWidget* parent, const QString& text);

} // namespace kt63
