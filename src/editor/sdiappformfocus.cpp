// The order in which Tab walks the window. It is not the reading order: the last three fields
// stand in the upper half but come after the page control.

#include "tsdiappform.h"

#include "tcombobox.h"
#include "tgroupbutton.h"
#include "tradiogroup.h"
#include "tspinedit.h"
#include "ttabcontrol.h"

#include <QTabBar>
#include <QTabWidget>

namespace kt63 {

void TSDIAppForm::SetFocusOrder()
{
    const QList<QWidget*> order = {
        SpeedPanel, SpinEdit1, SpinEdit2, SpinEdit3, SpinEdit4, ComboBox1, ComboBox2, SpinEdit7w,
        SpinEdit8w, RadioGroup1, SpinEdit5,
        // the tab strip's row of tabs, then its fields
        TabControl1->Row(), SpinEdit0a, SpinEdit1a, SpinEdit2a, SpinEdit3a, SpinEdit4a, SpinEdit5a,
        SpinEdit6a, SpinEdit7a, SpinEdit8a, SpinEdit9a, SpinEdit10a, SpinEdit11a, SpinEdit16a,
        SpinEdit15a, SpinEdit14a, SpinEdit13a, SpinEdit12a, SpinEdit17a, SpinEdit18a, SpinEdit19a,
        SpinEdit21a, SpinEdit9w, SpinEdit10w, SpinEdit11w, SpinEdit12w, SpinEdit13w, RadioGroup2,
        RadioGroup3, RadioGroup4,
        // the page control's row of tabs, then the fields of both pages (the hidden are passed)
        PageControl1->tabBar(), SpinEdit1w, SpinEdit6w, SpinEdit5w, SpinEdit4w, SpinEdit3w,
        SpinEdit2w, SpinEdit0w, SpinEdit14w, SpinEdit15w, SpinEdit16w, SpinEdit17w, SpinEdit18w,
        SpinEdit19w, SpinEdit20w, SpinEdit21w, SpinEdit22w, SpinEdit20a, SpinEdit23w};
    // A radio group takes part through its buttons, of which just one is a stop of the Tab key
    // at a time: the selected one, or the first while none is.
    QList<QWidget*> chain;
    for (QWidget* widget : order) {
        if (auto* group = qobject_cast<TRadioGroup*>(widget)) {
            for (int i = 0; i < group->Items().size(); ++i)
                chain.append(group->Button(i));
        } else {
            chain.append(widget);
        }
    }
    mFocusChain = chain;
}

// The window walks its own list rather than Qt's focus chain, whose order around containers
// (page control, tab strip) depends on the order the controls were made in.
bool TSDIAppForm::focusNextPrevChild(bool next)
{
    const qsizetype count = mFocusChain.size();
    qsizetype at = count - 1;
    for (qsizetype i = 0; i < count; ++i) {
        QWidget* stop = mFocusChain[i];
        if (stop == focusWidget() || stop->isAncestorOf(focusWidget())) {
            at = i;
            break;
        }
    }
    for (qsizetype step = 1; step <= count; ++step) {
        QWidget* candidate = mFocusChain[(at + (next ? step : count - step)) % count];
        if (candidate->isVisible() && candidate->isEnabled() &&
            (candidate->focusPolicy() & Qt::TabFocus)) {
            candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return QMainWindow::focusNextPrevChild(next);
}

} // namespace kt63
