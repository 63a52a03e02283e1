#include "samplevalues.h"

#include "recordfields.h"
#include "samplerandom.h"

#include <string_view>

namespace kt63::sample {

namespace {

struct ShownRange
{
    std::string_view name;
    int32_t low;
    int32_t high;
};

// The ranges the editor's window shows; fields not listed are shown over their full width.
constexpr ShownRange kShownRanges[] = {
    {"ProducingCountry", 0, 31},
    {"Speed", 0, 64},
    {"SearchRange", 0, 16},
    {"DefenceAir", 0, 99},
    {"DefenceGround", 0, 99},
    {"Fuel", 0, 999},
    {"Level", -1, 8},
    {"Improvement1", 0, 1921},
    {"Improvement2", 0, 1921},
    {"Improvement3", 0, 1921},
    {"Improvement4", 0, 1921},
    {"Improvement5", 0, 1921},
    {"Month", 1, 12},
    {"Year", 0, 99},
    {"Appearance", 0, 2},
    {"Theatre", 0, 4},
    {"EquipmentKind", 0, 99},
    {"NameNumber", 0, 800},
    {"Silhouette", 0, 800},
    {"Accuracy", 0, 99},
    {"PriorityAir1", 0, 99},
    {"PriorityAir2", 0, 99},
    {"PriorityGround1", 0, 99},
    {"PriorityGround2", 0, 99},
    {"Special", 0, 99},
};

// Any value the field's bytes can hold, as the codec would load it.
int32_t AnyStoredValue(const auto& field, SampleRandom& random)
{
    uint8_t bytes[4] = {};
    const uint32_t pattern = random.next();
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(pattern >> (8 * i));
    return DecodeField(field.conversion, field.width, bytes);
}

int32_t SampleValue(const auto& field, SampleRandom& random)
{
    if (random.chance(15))
        return AnyStoredValue(field, random);
    for (const ShownRange& range : kShownRanges) {
        if (range.name == field.name)
            return range.low + static_cast<int32_t>(random.below(range.high - range.low + 1));
    }
    return AnyStoredValue(field, random);
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
