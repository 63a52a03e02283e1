#pragma once

#include <cstdint>

namespace kt63 {

// The 27 values of a weapon record, in file order. Radio values (Level, Appearance, Theatre)
// are item indexes counted from 0, with -1 for no item.
struct WeaponValues
{
    int32_t UnitBranch = 0;
    int32_t ProducingCountry = 0;
    int32_t MachineCount = 0;
    int32_t Speed = 0;
    int32_t SearchRange = 0;
    int32_t DefenceAir = 0;
    int32_t DefenceGround = 0;
    int32_t Weight = 0;
    int32_t Fuel = 0;
    int32_t CanBeCarried = 0;
    int32_t CarriedOnShips = 0;
    int32_t Troops = 0;
    int32_t LightGuns = 0;
    int32_t HeavyGuns = 0;
    int32_t Airborne = 0;
    int32_t AirTransport = 0;
    int32_t Transport = 0;
    int32_t Level = 0;
    int32_t Improvement1 = 0;
    int32_t Improvement2 = 0;
    int32_t Improvement3 = 0;
    int32_t Improvement4 = 0;
    int32_t Improvement5 = 0;
    int32_t Month = 0;
    int32_t Year = 0;
    int32_t Appearance = 0;
    int32_t Theatre = 0;

    bool operator==(const WeaponValues&) const = default;
};

// The equipment kind and ammunition of one slot and tab, and the 20 values of one armament
// entry, in the order they are transferred.
struct ArmamentValues
{
    int32_t EquipmentKind = 0;
    int32_t Ammunition = 0;
    int32_t NameNumber = 0;
    int32_t ArmamentKind = 0;
    int32_t ArmamentCount = 0;
    int32_t Silhouette = 0;
    int32_t AttackAir = 0;
    int32_t AttackArmour = 0;
    int32_t AttackPersonnel = 0;
    int32_t AttackShip = 0;
    int32_t AttackSubmarine = 0;
    int32_t RangeAir1 = 0;
    int32_t RangeAir2 = 0;
    int32_t RangeGround1 = 0;
    int32_t RangeGround2 = 0;
    int32_t Accuracy = 0;
    int32_t PriorityAir1 = 0;
    int32_t PriorityAir2 = 0;
    int32_t PriorityGround1 = 0;
    int32_t PriorityGround2 = 0;
    int32_t Price = 0;
    int32_t Special = 0;

    bool operator==(const ArmamentValues&) const = default;
};

} // namespace kt63
