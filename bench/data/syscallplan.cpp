#include "syscallplan.h"

#include "datalayout.h"
#include "helddatafile.h"
#include "recordfields.h"
#include "tstream.h"
#include "weaponcodec.h"

#include <algorithm>
#include <unistd.h>

namespace kt63::bench {

namespace {

int32_t RegionBase(Region region, const RecordAddress& address)
{
    switch (region) {
    case Region::WeaponRecord:
        return WeaponRecordOffset(address.weapon);
    case Region::SlotEntry:
        return SlotEntryOffset(address.weapon, address.slot);
    case Region::AmmunitionCell:
        return AmmunitionCellOffset(address.weapon, address.slot, address.tab);
    case Region::ArmamentEntry:
        return ArmamentEntryOffset(address.armament, address.tab);
    }
    return 0;
}

template <class Field, size_t N>
void AppendSteps(SyscallPlan& plan, const std::array<Field, N>& fields,
                 const RecordAddress& address)
{
    const Field* previous = nullptr;
    for (const Field& field : fields) {
        SyscallStep step{0, NoSeek, static_cast<int16_t>(field.width)};
        if (previous == nullptr || previous->region != field.region)
            step = {RegionBase(field.region, address) + field.offset, SEEK_SET, step.width};
        else if (const int32_t gap = field.offset - previous->offset - previous->width; gap != 0)
            step = {gap, SEEK_CUR, step.width};
        plan.push_back(step);
        previous = &field;
    }
}

// Turns the codec's calls back into steps. Seeks arrive before their transfer, so a seek is
// held until the read or write that it belongs to.
class RecordingStream final : public PositionStream
{
public:
    int32_t Seek(int32_t offset, uint16_t origin) override
    {
        // Two seeks in a row would be a sequence no plan has; keep the first as a step of
        // its own so that the comparison shows it.
        if (mPending.whence != NoSeek)
            mPlan.push_back(mPending);
        static constexpr int16_t whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
        if (origin > soFromEnd)
            return -1;
        mPending = {offset, whence[origin], 0};
        return PositionStream::Seek(offset, origin);
    }
    int32_t Read(void*, int32_t count) override { return Transfer(count); }
    int32_t Write(const void*, int32_t count) override { return Transfer(count); }

    const SyscallPlan& plan() const { return mPlan; }

private:
    int32_t Transfer(int32_t count)
    {
        mPending.width = static_cast<int16_t>(count);
        mPlan.push_back(mPending);
        mPending = {0, NoSeek, 0};
        return Advance(count);
    }

    SyscallPlan mPlan;
    SyscallStep mPending{0, NoSeek, 0};
};

} // namespace

SyscallPlan CodecPlan(const RecordAddress& address)
{
    SyscallPlan plan;
    AppendSteps(plan, WeaponFields, address);
    AppendSteps(plan, ArmamentFields, address);
    return plan;
}

SyscallPlan BytesBeforeSavePlan(const RecordAddress& address)
{
    return {{WeaponRecordOffset(address.weapon), SEEK_SET, WeaponRecordSize},
            {ArmamentEntryOffset(address.armament, address.tab), SEEK_SET, ArmamentEntrySize}};
}

SyscallPlan SavePlan(const RecordAddress& address)
{
    SyscallPlan plan = BytesBeforeSavePlan(address);
    const SyscallPlan writes = CodecPlan(address);
    plan.insert(plan.end(), writes.begin(), writes.end());
    return plan;
}

SyscallPlan RecordedLoadPlan(const RecordAddress& address)
{
    RecordingStream stream;
    HeldDataFile file(stream);
    LoadWeapon(file, address.weapon, address.slot, address.tab);
    return stream.plan();
}

SyscallPlan RecordedSavePlan(const RecordAddress& address)
{
    RecordingStream stream;
    HeldDataFile file(stream);
    SaveWeapon(file, address, {}, {});
    return stream.plan();
}

int32_t PositionStream::Seek(int32_t offset, uint16_t origin)
{
    if (origin == soFromEnd)
        mPosition = DataFileMinimumSize + offset;
    else
        mPosition = origin == soFromCurrent ? mPosition + offset : offset;
    return mPosition;
}

int64_t PositionStream::Size()
{
    return DataFileMinimumSize;
}

StreamStatus PositionStream::CurrentStatus()
{
    StreamStatus status;
    status.size = DataFileMinimumSize;
    return status;
}

int32_t PositionStream::Advance(int32_t count)
{
    mPosition += count;
    return count;
}

int CountSeeks(const SyscallPlan& plan)
{
    return static_cast<int>(std::count_if(plan.begin(), plan.end(),
                                          [](const SyscallStep& s) { return s.whence != NoSeek; }));
}

} // namespace kt63::bench
