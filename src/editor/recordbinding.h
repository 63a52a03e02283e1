#pragma once

#include "recordvalues.h"
#include "shownrange.h"

#include <optional>

namespace kt63 {

class TSDIAppForm;
class TSpinEdit;

// Moves values between the window's controls and the codec's value sets. Writing a value into
// a control brings it within the control's limits, so a stored value outside them is shown at
// the nearest end (and saved so); reading takes each control's value as it stands.
void ShowWeaponValues(TSDIAppForm& form, const WeaponValues& values);
void ShowArmamentValues(TSDIAppForm& form, const ArmamentValues& values);
WeaponValues ShownWeaponValues(TSDIAppForm& form);
ArmamentValues ShownArmamentValues(TSDIAppForm& form);

// Puts every spin field whose value a save writes within its limits, as leaving the field does,
// so that what is saved is what the fields show afterwards. The selectors are not touched.
void BringShownValuesWithinLimits(TSDIAppForm& form);

// The range of the field that the spin field `control` shows, from the field table; none for a
// spin field that shows no field of the file (the selectors).
std::optional<ShownRange> ShownRangeOf(TSpinEdit* TSDIAppForm::*control);

} // namespace kt63
