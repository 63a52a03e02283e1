#pragma once

#include <cstdint>
#include <string>

namespace kt63 {

// Seek origins, as 16-bit numbers.
inline constexpr uint16_t soFromBeginning = 0;
inline constexpr uint16_t soFromCurrent = 1;
inline constexpr uint16_t soFromEnd = 2;

// Which file a stream holds, as the system tells files apart (device and file number, or what
// stands for them); equal only for one and the same file.
struct FileIdentity
{
    uint64_t volume = 0;
    uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

// What has become of a stream's file since it was opened. Other programs need not honour the
// sharing part of an open mode, so they may have renamed another file over its path, deleted it
// or changed its length.
struct StreamStatus
{
    enum class Path : uint8_t {
        NamesIt,      // the path still names the file the stream holds
        NamesAnother, // another file has taken the path
        Missing,      // nothing is at the path
        Unknown,      // the system could not tell; `reason` says why
    };
    Path path = Path::NamesIt;
    int64_t size = 0; // the held file's length now; -1 when the system cannot tell
    FileIdentity identity;
    std::string reason; // the system's words, when `path` is Unknown
};

// A byte stream with a position. Seeking, reading and writing never raise an error: callers
// look at the results, and at LastError and LastErrorText for the system's reason.
class TStream
{
public:
    virtual ~TStream() = default;

    // Moves the position; gives the new position from the beginning, or -1 when the move is
    // refused (the position then stays where it was).
    virtual int32_t Seek(int32_t offset, uint16_t origin) = 0;

    // Transfers up to `count` bytes from the position into `buffer` and gives how many were
    // transferred. Bytes of `buffer` beyond those keep what they held.
    virtual int32_t Read(void* buffer, int32_t count) = 0;

    // Writes `count` bytes at the position and gives how many were written; writing past the
    // end lengthens the stream.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;

    // Reads up to `count` bytes at `offset` from the beginning, whatever the position, and gives
    // how many arrived: fewer only where the stream ends or the system refused (LastError says
    // why). A file makes it one call, where a seek and a read would be two. The position
    // afterwards is not to be relied on: a stream without such a call seeks and reads.
    virtual int32_t ReadAt(int32_t offset, void* buffer, int32_t count);

    // Writes `count` bytes at `offset` as ReadAt reads them, and gives how many were written.
    virtual int32_t WriteAt(int32_t offset, const void* buffer, int32_t count);

    // Puts what has been written onto the storage, so that it survives a crash or a power cut.
    // Gives false when the system reports that it could not.
    virtual bool Sync() { return true; }

    // The name errors give the stream: the path a file was opened by; empty for memory.
    virtual std::string FileName() const { return {}; }

    // The system's error number of the latest Seek, Read, Write, ReadAt, WriteAt or Sync: 0 when it
    // succeeded, or when a read merely met the end of the stream.
    int LastError() const { return mLastError; }

    // The system's own words for LastError, ready to go into a message.
    virtual std::string LastErrorText() const;

    // The length of the stream. A stream measures itself through the position and puts the
    // position back where it was; a file asks the system.
    virtual int64_t Size();

    // Whether the stream's path still names its file, and the file's length now. A stream in
    // memory has no path: it is always the stream it was.
    virtual StreamStatus CurrentStatus();

protected:
    void SetLastError(int error) { mLastError = error; }

private:
    // Moves to `offset` for ReadAt and WriteAt; a seek that lands elsewhere without the system's
    // word for it is an input/output error.
    bool MoveTo(int32_t offset);

    int mLastError = 0;
};

} // namespace kt63
