#include "savecheck.h"

#include "dataimage.h"
#include "datalayout.h"

namespace kt63 {

namespace {

void AddRowChanges(const DataImage& image, TableId id, const RowKey& key,
                   std::vector<FieldChange>& changes)
{
    const std::vector<Column>& columns = Table(id).columns;
    for (size_t index = 0; index < columns.size(); ++index) {
        const int64_t stored = image.Value(id, key, columns[index]);
        const int64_t saved = image.ValueAfterSave(id, key, columns[index]);
        if (saved != stored)
            changes.push_back({id, key, static_cast<int32_t>(index), stored, saved, {}});
    }
}

void AddSaveChanges(const DataImage& image, int32_t weapon, std::vector<FieldChange>& changes)
{
    AddRowChanges(image, TableId::Weapons, {weapon, 0}, changes);
    for (int32_t slot = 0; slot < SlotCount; ++slot)
        AddRowChanges(image, TableId::Slots, {weapon, slot}, changes);
    for (int32_t tab = 0; tab < ArmamentTabCount; ++tab)
        AddRowChanges(image, TableId::Armaments, {ArmamentOfWeapon(weapon), tab}, changes);
}

} // namespace

std::vector<FieldChange> CheckSave(const DataImage& image, int32_t weapon)
{
    std::vector<FieldChange> changes;
    AddSaveChanges(image, weapon, changes);
    return changes;
}

TableDiff CheckSaves(const DataImage& image)
{
    TableDiff diff;
    for (int32_t weapon = 1; weapon <= WeaponCount; ++weapon)
        AddSaveChanges(image, weapon, diff.changes);
    return diff;
}

} // namespace kt63
