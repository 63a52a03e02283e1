#include "weaponcodec.h"

#include "datalayout.h"
#include "exception.h"
#include "recordfields.h"
#include "tstream.h"
#include "writejournal.h"

#include <array>
#include <string>

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

// Walks one field list over the file, handing each field with its offset in the file to `move`.
// A field in a new region starts with an absolute seek; inside a region the gap to the next
// field is skipped with a seek from the current position, and a field that follows directly
// needs no seek at all.
template <class Field, size_t N, class Move>
void Transfer(TStream& file, const std::array<Field, N>& fields, const RegionBases& bases,
              Move move)
{
    const Field* previous = nullptr;
    for (const Field& field : fields) {
        const int32_t offset = bases[static_cast<size_t>(field.region)] + field.offset;
        if (previous == nullptr || previous->region != field.region)
            file.Seek(offset, soFromBeginning);
        else if (const int32_t gap = field.offset - previous->offset - previous->width; gap != 0)
            file.Seek(gap, soFromCurrent);
        move(field, offset);
        previous = &field;
    }
}

// A field whose read delivers fewer bytes than its width counts the missing bytes as zero.
template <class Values> auto ReaderInto(TStream& file, Values& values)
{
    return [&file, &values](const FieldSpec<Values>& field, int32_t) {
        uint8_t bytes[4] = {};
        file.Read(bytes, field.width);
        values.*field.member = DecodeField(field.conversion, field.width, bytes);
    };
}

// The bytes a save is about to replace, read before its first write: the weapon record, which
// holds the slot table, and the armament entry. Without them a failed save could not be undone,
// so a save that cannot read them writes nothing.
class BytesBeforeSave
{
public:
    BytesBeforeSave(TStream& file, const RecordAddress& address)
        : mRecordOffset(WeaponRecordOffset(address.weapon)),
          mEntryOffset(ArmamentEntryOffset(address.armament, address.tab))
    {
        ReadWhole(file, mRecordOffset, mRecord.data(), WeaponRecordSize);
        ReadWhole(file, mEntryOffset, mEntry.data(), ArmamentEntrySize);
    }

    const uint8_t* At(int32_t offset) const
    {
        if (offset >= mEntryOffset && offset < mEntryOffset + ArmamentEntrySize)
            return mEntry.data() + (offset - mEntryOffset);
        return mRecord.data() + (offset - mRecordOffset);
    }

private:
    static void ReadWhole(TStream& file, int32_t offset, uint8_t* bytes, int32_t count)
    {
        file.Seek(offset, soFromBeginning);
        if (file.Read(bytes, count) == count)
            return;
        if (file.LastError() != 0)
            throw EReadError(file.FileName(), file.LastError());
        throw EFChangedError(EFChangedError::Change::CutShort, file.FileName());
    }

    int32_t mRecordOffset;
    int32_t mEntryOffset;
    std::array<uint8_t, WeaponRecordSize> mRecord{};
    std::array<uint8_t, ArmamentEntrySize> mEntry{};
};

template <class Values>
auto WriterFrom(WriteJournal& journal, const BytesBeforeSave& before, const Values& values)
{
    return [&journal, &before, &values](const FieldSpec<Values>& field, int32_t offset) {
        uint8_t bytes[4] = {};
        EncodeField(field.conversion, field.width, values.*field.member, bytes);
        journal.Write(offset, bytes, before.At(offset), field.width);
    };
}

} // namespace

LoadedWeapon LoadWeapon(TStream& file, int32_t weapon, int32_t slot, int32_t tab)
{
    const RecordAddress address{weapon, slot, ArmamentOfWeapon(weapon), tab};
    CheckAddress(address);
    LoadedWeapon loaded{address.armament, {}, {}};
    Transfer(file, WeaponFields, BasesOf(address), ReaderInto(file, loaded.weapon));
    loaded.armamentValues = LoadArmament(file, address);
    return loaded;
}

ArmamentValues LoadArmament(TStream& file, const RecordAddress& address)
{
    CheckAddress(address);
    ArmamentValues values;
    Transfer(file, ArmamentFields, BasesOf(address), ReaderInto(file, values));
    return values;
}

void SaveWeapon(TStream& file, const RecordAddress& address, const WeaponValues& weapon,
                const ArmamentValues& armament)
{
    CheckAddress(address);
    const BytesBeforeSave before(file, address);
    const RegionBases bases = BasesOf(address);
    WriteJournal journal(file);
    Transfer(file, WeaponFields, bases, WriterFrom(journal, before, weapon));
    Transfer(file, ArmamentFields, bases, WriterFrom(journal, before, armament));
    journal.Commit();
}

} // namespace kt63
