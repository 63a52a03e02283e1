#pragma once

#include "recordvalues.h"

namespace kt63 {

class TSDIAppForm;

// Moves values between the window's controls and the codec's value sets. Writing a value into
// a control brings it within the control's limits, so a stored value outside them is shown at
// the nearest end (and saved so); reading takes each control's value as it stands.
void ShowWeaponValues(TSDIAppForm& form, const WeaponValues& values);
void ShowArmamentValues(TSDIAppForm& form, const ArmamentValues& values);
WeaponValues ShownWeaponValues(TSDIAppForm& form);
ArmamentValues ShownArmamentValues(TSDIAppForm& form);

} // namespace kt63
