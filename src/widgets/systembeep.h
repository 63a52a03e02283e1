#pragma once

namespace kt63 {

// Sounds the system's default beep. Widgets beep through here rather than calling
// QApplication::beep themselves, so that a test can count the beeps.
void SystemBeep();

using BeepHandler = void (*)();

// Makes SystemBeep call `handler` instead of QApplication::beep and gives the handler that was
// in place before; nullptr puts QApplication::beep back.
BeepHandler SetBeepHandler(BeepHandler handler);

} // namespace kt63
