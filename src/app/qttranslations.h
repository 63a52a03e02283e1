#pragma once

class QCoreApplication;

namespace kt63 {

// Puts Qt's own Japanese texts in place of its English ones: the file dialog, the buttons of
// message boxes, the text boxes' context menus. They come from the translations Qt ships: on
// Linux as installed beside Qt (without them Qt's texts stay English), on Windows carried in
// the program.
void InstallJapaneseQtTexts(QCoreApplication& application);

} // namespace kt63
