#pragma once

#include "tmemorystream.h"

#include <cerrno>
#include <string>
#include <vector>

namespace kt63::test {

// A memory stream that fails the way a full or broken disk does: its k-th write stores nothing
// (or all but one byte), optionally every write after it too, its first sync or its reads.
class FaultyStream final : public TStream
{
public:
    struct Faults
    {
        int failingWrite = 0;         // counted from 1; 0 for none
        bool shortWrite = false;      // the failing write stores all but its last byte
        bool laterWritesFail = false; // every write after the failing one fails as well
        bool failingSync = false;
        bool failingReads = false;
    };

    FaultyStream(std::vector<uint8_t> bytes, Faults faults)
        : mStream(std::move(bytes)), mFaults(faults)
    {
    }

    int32_t Seek(int32_t offset, uint16_t origin) override { return mStream.Seek(offset, origin); }

    int32_t Read(void* buffer, int32_t count) override
    {
        if (!mFaults.failingReads)
            return mStream.Read(buffer, count);
        SetLastError(EIO);
        return 0;
    }

    int32_t Write(const void* buffer, int32_t count) override
    {
        ++mWrites;
        const bool fails =
            mWrites == mFaults.failingWrite ||
            (mFaults.laterWritesFail && mFaults.failingWrite > 0 && mWrites > mFaults.failingWrite);
        if (!fails)
            return mStream.Write(buffer, count);
        const int32_t stored = mFaults.shortWrite ? mStream.Write(buffer, count - 1) : 0;
        SetLastError(ENOSPC);
        return stored;
    }

    bool Sync() override
    {
        if (!mFaults.failingSync || mSyncs++ > 0)
            return true;
        SetLastError(EIO);
        return false;
    }

    std::string FileName() const override { return "Qelvint.dll"; }

    const std::vector<uint8_t>& bytes() const { return mStream.bytes(); }
    int writes() const { return mWrites; }

private:
    TMemoryStream mStream;
    Faults mFaults;
    int mWrites = 0;
    int mSyncs = 0;
};

} // namespace kt63::test
