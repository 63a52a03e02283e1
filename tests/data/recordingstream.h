#pragma once

#include "tmemorystream.h"

#include <string>
#include <vector>

namespace kt63::test {

// A memory stream that notes every call, so a test can compare the exact sequence of seeks,
// reads and writes (those at a place named so) with the one the file format asks for, and see where
// the file is looked at
// ("status").
class RecordingStream final : public TStream
{
public:
    explicit RecordingStream(std::vector<uint8_t> bytes) : mStream(std::move(bytes)) {}

    int32_t Seek(int32_t offset, uint16_t origin) override
    {
        static const char* const origins[] = {"begin", "current", "end"};
        mCalls.push_back(std::string("seek ") + (origin < 3 ? origins[origin] : "?") + " " +
                         std::to_string(offset));
        return mStream.Seek(offset, origin);
    }
    int32_t Read(void* buffer, int32_t count) override
    {
        mCalls.push_back("read " + std::to_string(count));
        return mStream.Read(buffer, count);
    }
    int32_t Write(const void* buffer, int32_t count) override
    {
        mCalls.push_back("write " + std::to_string(count));
        return mStream.Write(buffer, count);
    }
    int32_t ReadAt(int32_t offset, void* buffer, int32_t count) override
    {
        mCalls.push_back("read at " + std::to_string(offset) + " " + std::to_string(count));
        return mStream.ReadAt(offset, buffer, count);
    }
    int32_t WriteAt(int32_t offset, const void* buffer, int32_t count) override
    {
        mCalls.push_back("write at " + std::to_string(offset) + " " + std::to_string(count));
        return mStream.WriteAt(offset, buffer, count);
    }
    bool Sync() override
    {
        mCalls.push_back("sync");
        return true;
    }
    int64_t Size() override { return mStream.Size(); }
    StreamStatus CurrentStatus() override
    {
        mCalls.push_back("status");
        return mStream.CurrentStatus();
    }

    const std::vector<std::string>& calls() const { return mCalls; }
    const std::vector<uint8_t>& bytes() const { return mStream.bytes(); }

private:
    TMemoryStream mStream;
    std::vector<std::string> mCalls;
};

} // namespace kt63::test
