#include "weaponcodec.h"

#include "datalayout.h"
#include "exception.h"
#include "helddatafile.h"
#include "recordfields.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kt63 {

namespace {

using RegionBases = std::array<int32_t, 4>;

void CheckRange(const char* what, int32_t value, int32_t low, int32_t high)
{
    if (value < low || value > high)
        throw ERangeError(std::string(what) + " " + std::to_string(value) + " は範囲 " +
                          std::to_string(low) + "..." + std::to_string(high) + " の外です");
}

void CheckAddress(const RecordAddress& address)
{
    CheckRange("兵器番号", address.weapon, 1, WeaponCount);
    CheckRange("装備番号", address.slot, 0, SlotCount - 1);
    CheckRange("武装番号", address.armament, 0, ArmamentGroupCount - 1);
    CheckRange("武装タブ", address.tab, 0, ArmamentTabCount - 1);
}

RegionBases BasesOf(const RecordAddress& address)
{
    return {WeaponRecordOffset(address.weapon), SlotEntryOffset(address.weapon, address.slot),
            AmmunitionCellOffset(address.weapon, address.slot, address.tab),
            ArmamentEntryOffset(address.armament, address.tab)};
}

// Where field `i` of a list lies. A field in a new region starts with an absolute seek; inside
// a region the gap to the next field is skipped with a seek from the current position, and a
// field that follows directly needs no seek at all.
template <class Values, size_t N>
FieldPlace PlaceOf(const std::array<FieldSpec<Values>, N>& fields, size_t i,
                   const RegionBases& bases)
{
    const FieldSpec<Values>& field = fields[i];
    const bool opensRegion = i == 0 || fields[i - 1].region != field.region;
    return {bases[static_cast<size_t>(field.region)] + field.offset, field.width, opensRegion};
}

// Puts the places of `fields` at the start of `places`.
template <class Values, size_t N>
void PlaceFields(std::span<FieldPlace> places, const std::array<FieldSpec<Values>, N>& fields,
                 const RegionBases& bases)
{
    for (size_t i = 0; i < N; ++i)
        places[i] = PlaceOf(fields, i, bases);
}

template <class Values, size_t N>
void AppendWrites(std::vector<FieldWrite>& writes, const std::array<FieldSpec<Values>, N>& fields,
                  const Values& values, const RegionBases& bases)
{
    for (size_t i = 0; i < N; ++i) {
        FieldWrite write{PlaceOf(fields, i, bases), {}};
        EncodeField(fields[i].conversion, fields[i].width, values.*fields[i].member,
                    write.bytes.data());
        writes.push_back(write);
    }
}

template <class Values, size_t N>
void Decode(const std::array<FieldSpec<Values>, N>& fields, const FieldBytes* bytes, Values& values)
{
    for (size_t i = 0; i < N; ++i)
        values.*fields[i].member =
            DecodeField(fields[i].conversion, fields[i].width, bytes[i].data());
}

} // namespace

LoadedWeapon LoadWeapon(HeldDataFile& file, int32_t weapon, int32_t slot, int32_t tab)
{
    const RecordAddress address{weapon, slot, ArmamentOfWeapon(weapon), tab};
    CheckAddress(address);
    const RegionBases bases = BasesOf(address);
    std::array<FieldPlace, WeaponFields.size() + ArmamentFields.size()> places;
    PlaceFields(places, WeaponFields, bases);
    PlaceFields(std::span(places).subspan(WeaponFields.size()), ArmamentFields, bases);
    std::array<FieldBytes, places.size()> bytes;
    file.ReadFields(places, bytes);
    LoadedWeapon loaded{address.armament, {}, {}};
    Decode(WeaponFields, bytes.data(), loaded.weapon);
    Decode(ArmamentFields, bytes.data() + WeaponFields.size(), loaded.armamentValues);
    return loaded;
}

ArmamentValues LoadArmament(HeldDataFile& file, const RecordAddress& address)
{
    CheckAddress(address);
    std::array<FieldPlace, ArmamentFields.size()> places;
    PlaceFields(places, ArmamentFields, BasesOf(address));
    std::array<FieldBytes, places.size()> bytes;
    file.ReadFields(places, bytes);
    ArmamentValues values;
    Decode(ArmamentFields, bytes.data(), values);
    return values;
}

// The bytes a save replaces are read first: the weapon record, which holds the slot table, and
// the armament entry, one read each.
void SaveWeapon(HeldDataFile& file, const RecordAddress& address, const WeaponValues& weapon,
                const ArmamentValues& armament)
{
    CheckAddress(address);
    const RegionBases bases = BasesOf(address);
    std::vector<FieldWrite> writes;
    AppendWrites(writes, WeaponFields, weapon, bases);
    AppendWrites(writes, ArmamentFields, armament, bases);
    const ByteSpan before[] = {
        {WeaponRecordOffset(address.weapon), WeaponRecordSize},
        {ArmamentEntryOffset(address.armament, address.tab), ArmamentEntrySize}};
    file.Write(before, writes);
}

} // namespace kt63
