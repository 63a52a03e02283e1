#include "systembeep.h"

#include <QApplication>

#include <utility>

namespace kt63 {

namespace {

BeepHandler gBeepHandler = nullptr;

} // namespace

void SystemBeep()
{
    if (gBeepHandler) {
        gBeepHandler();
    } else {
        QApplication::beep();
    }
}

BeepHandler SetBeepHandler(BeepHandler handler)
{
    return std::exchange(gBeepHandler, handler);
}

} // namespace kt63
