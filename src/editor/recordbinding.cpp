#include "recordbinding.h"

#include "recordfields.h"
#include "tradiogroup.h"
#include "tsdiappform.h"
#include "tspinedit.h"

namespace kt63 {

namespace {

template <class Values> struct SpinBinding
{
    int32_t Values::*value;
    TSpinEdit* TSDIAppForm::*field;
};

// In the order of the file, so a load fills the controls field by field as it reads.
const SpinBinding<WeaponValues> kWeaponSpins[] = {
    {&WeaponValues::UnitBranch, &TSDIAppForm::SpinEdit23w},
    {&WeaponValues::ProducingCountry, &TSDIAppForm::SpinEdit0w},
    {&WeaponValues::MachineCount, &TSDIAppForm::SpinEdit1w},
    {&WeaponValues::Speed, &TSDIAppForm::SpinEdit2w},
    {&WeaponValues::SearchRange, &TSDIAppForm::SpinEdit6w},
    {&WeaponValues::DefenceAir, &TSDIAppForm::SpinEdit4w},
    {&WeaponValues::DefenceGround, &TSDIAppForm::SpinEdit5w},
    {&WeaponValues::Weight, &TSDIAppForm::SpinEdit22w},
    {&WeaponValues::Fuel, &TSDIAppForm::SpinEdit3w},
    {&WeaponValues::CanBeCarried, &TSDIAppForm::SpinEdit21w},
    {&WeaponValues::CarriedOnShips, &TSDIAppForm::SpinEdit20w},
    {&WeaponValues::Troops, &TSDIAppForm::SpinEdit14w},
    {&WeaponValues::LightGuns, &TSDIAppForm::SpinEdit15w},
    {&WeaponValues::HeavyGuns, &TSDIAppForm::SpinEdit16w},
    {&WeaponValues::Airborne, &TSDIAppForm::SpinEdit17w},
    {&WeaponValues::AirTransport, &TSDIAppForm::SpinEdit18w},
    {&WeaponValues::Transport, &TSDIAppForm::SpinEdit19w},
    {&WeaponValues::Improvement1, &TSDIAppForm::SpinEdit9w},
    {&WeaponValues::Improvement2, &TSDIAppForm::SpinEdit10w},
    {&WeaponValues::Improvement3, &TSDIAppForm::SpinEdit11w},
    {&WeaponValues::Improvement4, &TSDIAppForm::SpinEdit12w},
    {&WeaponValues::Improvement5, &TSDIAppForm::SpinEdit13w},
    {&WeaponValues::Month, &TSDIAppForm::SpinEdit8w},
    {&WeaponValues::Year, &TSDIAppForm::SpinEdit7w},
};

struct RadioBinding
{
    int32_t WeaponValues::*value;
    TRadioGroup* TSDIAppForm::*group;
};

const RadioBinding kWeaponRadios[] = {
    {&WeaponValues::Level, &TSDIAppForm::RadioGroup4},
    {&WeaponValues::Appearance, &TSDIAppForm::RadioGroup1},
    {&WeaponValues::Theatre, &TSDIAppForm::RadioGroup2},
};

// The ammunition field shows the slot's cell of the selected tab, not a field of the entry.
const SpinBinding<ArmamentValues> kArmamentSpins[] = {
    {&ArmamentValues::EquipmentKind, &TSDIAppForm::SpinEdit20a},
    {&ArmamentValues::Ammunition, &TSDIAppForm::SpinEdit15a},
    {&ArmamentValues::NameNumber, &TSDIAppForm::SpinEdit17a},
    {&ArmamentValues::ArmamentKind, &TSDIAppForm::SpinEdit21a},
    {&ArmamentValues::ArmamentCount, &TSDIAppForm::SpinEdit0a},
    {&ArmamentValues::Silhouette, &TSDIAppForm::SpinEdit18a},
    {&ArmamentValues::AttackAir, &TSDIAppForm::SpinEdit1a},
    {&ArmamentValues::AttackArmour, &TSDIAppForm::SpinEdit2a},
    {&ArmamentValues::AttackPersonnel, &TSDIAppForm::SpinEdit3a},
    {&ArmamentValues::AttackShip, &TSDIAppForm::SpinEdit4a},
    {&ArmamentValues::AttackSubmarine, &TSDIAppForm::SpinEdit5a},
    {&ArmamentValues::RangeAir1, &TSDIAppForm::SpinEdit6a},
    {&ArmamentValues::RangeAir2, &TSDIAppForm::SpinEdit7a},
    {&ArmamentValues::RangeGround1, &TSDIAppForm::SpinEdit8a},
    {&ArmamentValues::RangeGround2, &TSDIAppForm::SpinEdit9a},
    {&ArmamentValues::Accuracy, &TSDIAppForm::SpinEdit10a},
    {&ArmamentValues::PriorityAir1, &TSDIAppForm::SpinEdit11a},
    {&ArmamentValues::PriorityAir2, &TSDIAppForm::SpinEdit12a},
    {&ArmamentValues::PriorityGround1, &TSDIAppForm::SpinEdit13a},
    {&ArmamentValues::PriorityGround2, &TSDIAppForm::SpinEdit14a},
    {&ArmamentValues::Price, &TSDIAppForm::SpinEdit16a},
    {&ArmamentValues::Special, &TSDIAppForm::SpinEdit19a},
};

template <class Values, size_t N, size_t M>
std::optional<ShownRange> ShownRangeIn(const SpinBinding<Values> (&bindings)[N],
                                       const std::array<FieldSpec<Values>, M>& fields,
                                       TSpinEdit* TSDIAppForm::*control)
{
    for (const auto& binding : bindings) {
        if (binding.field != control)
            continue;
        for (const auto& field : fields)
            if (field.member == binding.value)
                return field.shown;
    }
    return std::nullopt;
}

} // namespace

void ShowWeaponValues(TSDIAppForm& form, const WeaponValues& values)
{
    for (const auto& binding : kWeaponSpins)
        (form.*binding.field)->SetValue(values.*binding.value);
    for (const auto& binding : kWeaponRadios)
        (form.*binding.group)->SetItemIndex(values.*binding.value);
}

void ShowArmamentValues(TSDIAppForm& form, const ArmamentValues& values)
{
    for (const auto& binding : kArmamentSpins)
        (form.*binding.field)->SetValue(values.*binding.value);
}

WeaponValues ShownWeaponValues(TSDIAppForm& form)
{
    WeaponValues values;
    for (const auto& binding : kWeaponSpins)
        values.*binding.value = (form.*binding.field)->Value();
    for (const auto& binding : kWeaponRadios)
        values.*binding.value = (form.*binding.group)->ItemIndex();
    return values;
}

ArmamentValues ShownArmamentValues(TSDIAppForm& form)
{
    ArmamentValues values;
    for (const auto& binding : kArmamentSpins)
        values.*binding.value = (form.*binding.field)->Value();
    return values;
}

void BringShownValuesWithinLimits(TSDIAppForm& form)
{
    for (const auto& binding : kWeaponSpins)
        (form.*binding.field)->BringWithinLimits();
    for (const auto& binding : kArmamentSpins)
        (form.*binding.field)->BringWithinLimits();
}

std::optional<ShownRange> ShownRangeOf(TSpinEdit* TSDIAppForm::*control)
{
    if (auto range = ShownRangeIn(kWeaponSpins, WeaponFields, control))
        return range;
    return ShownRangeIn(kArmamentSpins, ArmamentFields, control);
}

} // namespace kt63
