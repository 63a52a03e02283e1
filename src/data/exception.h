#pragma once

#include <exception>
#include <string>

namespace kt63 {

// The base of every error the program raises. It carries one message text (UTF-8), which the
// application shows to the user as it stands, with a full stop appended.
class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : mMessage(std::move(message)) {}

    const std::string& message() const noexcept { return mMessage; }
    const char* what() const noexcept override { return mMessage.c_str(); }

private:
    std::string mMessage;
};

// Errors of the file streams.
class EStreamError : public Exception
{
public:
    using Exception::Exception;
};

// A file could not be opened: missing, not a file, no access, or in use by another opener.
class EFOpenError : public EStreamError
{
public:
    // The path goes into the message exactly as the caller passed it.
    explicit EFOpenError(const std::string& path);

protected:
    struct PresetMessage
    {
    };
    EFOpenError(PresetMessage, std::string message) : EStreamError(std::move(message)) {}
};

// A chosen data file is shorter than the weapon table's end; refusing it keeps a later save from
// writing past the end of a file that cannot be the game's data file.
class EFTooShortError : public EFOpenError
{
public:
    explicit EFTooShortError(const std::string& path);
};

// The held file is no longer the file that was opened: other programs need not honour the
// sharing modes, so one may have renamed another file over its path, deleted it or cut it short.
// Raised before anything is read or written.
class EFChangedError : public EStreamError
{
public:
    enum class Change { Replaced, Deleted, CutShort };
    EFChangedError(Change change, const std::string& path);
};

// A read of the bytes a save replaces, a write or a sync failed; `error` is the system's error
// number, whose text goes into the message. A failed save puts back what it wrote before it
// reports; when even that failed (`restored` false) the message says the file may be partly
// written.
class EWriteError : public EStreamError
{
public:
    EWriteError(const std::string& path, int error, bool restored);
};

class EReadError : public EStreamError
{
public:
    EReadError(const std::string& path, int error);
};

// A record address outside its range reached the codec; nothing was read or written.
class ERangeError : public Exception
{
public:
    using Exception::Exception;
};

// Puts `path` in place of the "%s" in `pattern`.
std::string FormatPathMessage(const char* pattern, const std::string& path);

} // namespace kt63
