#pragma once

class QCoreApplication;

namespace kt63 {

// Puts Qt's own Japanese texts in place of its English ones: the file dialog, the buttons of
// message boxes, the text boxes' context menus. They come from the translations Qt ships, which
// the program carries.
void InstallJapaneseQtTexts(QCoreApplication& application);

} // namespace kt63
