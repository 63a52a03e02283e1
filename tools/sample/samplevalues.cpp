#include "samplevalues.h"

#include "recordfields.h"
#include "samplerandom.h"

namespace kt63::sample {

namespace {

// Any value the field's bytes can hold, as the codec would load it.
int32_t AnyStoredValue(const auto& field, SampleRandom& random)
{
    uint8_t bytes[4] = {};
    const uint32_t pattern = random.next();
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(pattern >> (8 * i));
    return DecodeField(field.conversion, field.width, bytes);
}

// Mostly a value that the window shows as it is stored; over the field's whole width when the
// window shows every value it can hold.
int32_t SampleValue(const auto& field, SampleRandom& random)
{
    if (random.chance(15))
        return AnyStoredValue(field, random);
    const ValueRange kept = KeptRange(field.conversion, field.width, field.shown);
    if (kept == LoadableRange(field.conversion, field.width))
        return AnyStoredValue(field, random);
    return kept.low +
           static_cast<int32_t>(random.below(static_cast<uint32_t>(kept.high - kept.low) + 1));
}

template <class Values, size_t N>
Values SampleValues(const std::array<FieldSpec<Values>, N>& fields, SampleRandom& random)
{
    Values values;
    for (const auto& field : fields)
        values.*field.member = SampleValue(field, random);
    return values;
}

} // namespace

WeaponValues SampleWeapon(int32_t weapon, SampleRandom& random)
{
    WeaponValues values = SampleValues(WeaponFields, random);
    if (weapon == 1) {
        values.Month = 0;
        values.ProducingCountry = 40;
        values.Level = 11; // stored 12, beyond the nine levels
        values.Fuel = 65535;
        values.CanBeCarried = -1; // FF FF FF FF
        values.Appearance = 7;
        values.Theatre = 200;
        values.Speed = 200;
    }
    return values;
}

ArmamentValues SampleArmament(int32_t armament, int32_t tab, SampleRandom& random)
{
    ArmamentValues values = SampleValues(ArmamentFields, random);
    if (armament == 0 && tab == 0) {
        values.ArmamentKind = 40000;
        values.NameNumber = 900;
        values.Accuracy = 150;
    }
    return values;
}

void SampleSlotCell(ArmamentValues& values, SampleRandom& random)
{
    values.EquipmentKind = SampleValue(ArmamentFields[0], random);
    values.Ammunition = SampleValue(ArmamentFields[1], random);
}

} // namespace kt63::sample
