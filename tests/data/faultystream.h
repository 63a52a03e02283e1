#pragma once

#include "tmemorystream.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace kt63::test {

// A memory stream that fails the way a broken disk does, each at one chosen call counted from 1
// (0 for never): its k-th seek is refused or lands a byte too far, its k-th read fails or falls
// a byte short, its k-th write stores nothing (or all but one byte), its first sync fails, and
// its k-th look at the file cannot tell. Other programs changing the file are made for real by
// the fault library (tests/support/faultinjection.cpp).
class FaultyStream final : public TStream
{
public:
    struct Faults
    {
        int failingWrite = 0;
        bool shortWrite = false;      // the failing write stores all but its last byte
        bool laterWritesFail = false; // every write after the failing one fails as well
        bool failingSync = false;
        bool failingReads = false; // every read fails
        int failingSeek = 0;
        int misplacedSeek = 0;
        int failingRead = 0;
        int shortRead = 0;
        int failingStatus = 0;
    };

    FaultyStream(std::vector<uint8_t> bytes, Faults faults)
        : mStream(std::move(bytes)), mFaults(faults)
    {
    }

    int32_t Seek(int32_t offset, uint16_t origin) override
    {
        ++mSeeks;
        if (mSeeks == mFaults.failingSeek) {
            SetLastError(EINVAL);
            return -1;
        }
        SetLastError(0);
        const int32_t reached = mStream.Seek(offset, origin);
        return mSeeks == mFaults.misplacedSeek ? mStream.Seek(1, soFromCurrent) : reached;
    }

    int32_t Read(void* buffer, int32_t count) override
    {
        ++mReads;
        if (mFaults.failingReads || mReads == mFaults.failingRead) {
            SetLastError(EIO);
            return 0;
        }
        SetLastError(0);
        return mStream.Read(buffer, mReads == mFaults.shortRead ? count - 1 : count);
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

    int64_t Size() override { return static_cast<int64_t>(mStream.bytes().size()); }

    StreamStatus CurrentStatus() override
    {
        StreamStatus status;
        status.size = Size();
        if (++mStatuses == mFaults.failingStatus) {
            status.path = StreamStatus::Path::Unknown;
            status.reason = std::generic_category().message(EACCES);
        }
        return status;
    }

    const std::vector<uint8_t>& bytes() const { return mStream.bytes(); }
    int writes() const { return mWrites; }

private:
    TMemoryStream mStream;
    Faults mFaults;
    int mSeeks = 0;
    int mReads = 0;
    int mWrites = 0;
    int mSyncs = 0;
    int mStatuses = 0;
};

} // namespace kt63::test
