#include "tablefields.h"

#include "datalayout.h"
#include "recordfields.h"

namespace kt63 {

namespace {

template <class Fields>
bool HasField(const Fields& fields, Region region, int64_t at, int64_t width)
{
    for (const auto& field : fields)
        if (field.region == region && field.offset == at && field.width == width)
            return true;
    return false;
}

template <class Fields> int64_t CountIn(const Fields& fields, Region region)
{
    int64_t count = 0;
    for (const auto& field : fields)
        count += field.region == region ? 1 : 0;
    return count;
}

// Inside one slot entry: its own fields, or one of its ammunition cells.
bool IsSlotField(int64_t at, int64_t width)
{
    if (HasField(ArmamentFields, Region::SlotEntry, at, width))
        return true;
    const int64_t cells = AmmunitionCellOffset(0, 0, 0) - SlotEntryOffset(0, 0);
    constexpr int64_t CellSize = 4;
    if (at < cells || at >= cells + CellSize * ArmamentTabCount)
        return false;
    return HasField(ArmamentFields, Region::AmmunitionCell, (at - cells) % CellSize, width);
}

// Inside the record of a weapon the tables name (1 to WeaponCount).
bool IsWeaponField(int64_t offset, int64_t width)
{
    const int64_t first = WeaponRecordOffset(1);
    if (offset < first || offset >= WeaponRecordOffset(WeaponCount + 1))
        return false;
    const int64_t at = (offset - first) % WeaponRecordSize;
    if (HasField(WeaponFields, Region::WeaponRecord, at, width))
        return true;
    const int64_t slots = SlotTableOffset;
    if (at < slots || at >= slots + int64_t{SlotEntrySize} * SlotCount)
        return false;
    return IsSlotField((at - slots) % SlotEntrySize, width);
}

bool IsArmamentField(int64_t offset, int64_t width)
{
    if (offset < ArmamentTableBase || offset >= ArmamentEntryOffset(ArmamentGroupCount, 0))
        return false;
    const int64_t at = (offset - ArmamentTableBase) % ArmamentEntrySize;
    return HasField(ArmamentFields, Region::ArmamentEntry, at, width);
}

} // namespace

bool IsTableField(int64_t offset, int64_t width)
{
    return IsWeaponField(offset, width) || IsArmamentField(offset, width);
}

int64_t TableFieldCount()
{
    const int64_t perSlot = CountIn(ArmamentFields, Region::SlotEntry) +
                            CountIn(ArmamentFields, Region::AmmunitionCell) * ArmamentTabCount;
    const int64_t perWeapon = CountIn(WeaponFields, Region::WeaponRecord) + perSlot * SlotCount;
    const int64_t perArmament = CountIn(ArmamentFields, Region::ArmamentEntry);
    return perWeapon * WeaponCount + perArmament * ArmamentGroupCount * ArmamentTabCount;
}

} // namespace kt63
