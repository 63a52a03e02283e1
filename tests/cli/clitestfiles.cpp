#include "clitestfiles.h"

#include "cp932.h"
#include "utf8path.h"

#include <fstream>
#include <iterator>

namespace kt63::test {

const std::vector<HandField>& WeaponLayout()
{
    static const std::vector<HandField> fields{
        {"UnitBranch", 0, 1},     {"ProducingCountry", 4, 1}, {"MachineCount", 12, 1},
        {"Speed", 28, 1},         {"SearchRange", 32, 1},     {"DefenceAir", 40, 1},
        {"DefenceGround", 44, 1}, {"Weight", 48, 1},          {"Fuel", 56, 2},
        {"CanBeCarried", 64, 4},  {"CarriedOnShips", 68, 1},  {"Troops", 72, 1},
        {"LightGuns", 76, 1},     {"HeavyGuns", 80, 1},       {"Airborne", 84, 1},
        {"AirTransport", 88, 1},  {"Transport", 92, 1},       {"Level", 96, 1},
        {"Improvement1", 100, 2}, {"Improvement2", 104, 2},   {"Improvement3", 108, 2},
        {"Improvement4", 112, 2}, {"Improvement5", 116, 2},   {"Month", 125, 1},
        {"Year", 126, 1},         {"Appearance", 128, 1},     {"Theatre", 144, 1}};
    return fields;
}

const std::vector<HandField>& SlotLayout()
{
    static const std::vector<HandField> fields{
        {"EquipmentKind", 0, 1},  {"Ammunition[0]", 4, 1},  {"Ammunition[1]", 8, 1},
        {"Ammunition[2]", 12, 1}, {"Ammunition[3]", 16, 1}, {"Ammunition[4]", 20, 1},
        {"Ammunition[5]", 24, 1}, {"Ammunition[6]", 28, 1}, {"Ammunition[7]", 32, 1}};
    return fields;
}

const std::vector<HandField>& ArmamentLayout()
{
    static const std::vector<HandField> fields{
        {"NameNumber", 0, 2},       {"ArmamentKind", 8, 2},     {"ArmamentCount", 12, 1},
        {"Silhouette", 16, 2},      {"AttackAir", 20, 1},       {"AttackArmour", 24, 1},
        {"AttackPersonnel", 28, 1}, {"AttackShip", 32, 1},      {"AttackSubmarine", 36, 1},
        {"RangeAir1", 40, 1},       {"RangeAir2", 44, 1},       {"RangeGround1", 48, 1},
        {"RangeGround2", 52, 1},    {"Accuracy", 56, 1},        {"PriorityAir1", 60, 1},
        {"PriorityAir2", 64, 1},    {"PriorityGround1", 68, 1}, {"PriorityGround2", 72, 1},
        {"Price", 76, 1},           {"Special", 80, 1}};
    return fields;
}

int64_t Stored(const Bytes& bytes, int32_t row, const HandField& field)
{
    uint32_t pattern = 0;
    for (int32_t i = field.width - 1; i >= 0; --i)
        pattern = pattern << 8 | bytes[static_cast<size_t>(row + field.offset + i)];
    return field.width == 4 ? int64_t{static_cast<int32_t>(pattern)} : int64_t{pattern};
}

void Put(Bytes& bytes, int32_t at, int32_t width, int64_t value)
{
    for (int32_t i = 0; i < width; ++i)
        bytes[static_cast<size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes NameListFile(const std::vector<std::string>& names, int16_t listNumber)
{
    Bytes bytes;
    for (const std::string& name : names) {
        bytes.push_back(0);
        const std::string encoded = EncodeCp932(name);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    bytes.push_back(static_cast<uint8_t>(listNumber));
    bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(listNumber) >> 8));
    return bytes;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(PathFromUtf8(path), std::ios::binary | std::ios::trunc) << text;
}

} // namespace kt63::test
