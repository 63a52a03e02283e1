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
    // The path goes into the message exactly as the caller passed it. The message is the same
    // whatever the cause; `reason`, the system's words for it, is kept beside it.
    explicit EFOpenError(const std::string& path, std::string reason = {});

    const std::string& reason() const { return mReason; }

protected:
    struct PresetMessage
    {
    };
    EFOpenError(PresetMessage, std::string message) : EStreamError(std::move(message)) {}

private:
    std::string mReason;
};

// A chosen data file is shorter than the weapon table's end; refusing it keeps a later save from
// writing past the end of a file that cannot be the game's data file.
class EFTooShortError : public EFOpenError
{
public:
    explicit EFTooShortError(const std::string& path);
};

// What is left of a change that failed after it had begun: nothing written yet, everything
// written put back, or bytes written that could not all be put back.
enum class Undo : uint8_t { NothingWritten, PutBack, MaybePartlyWritten };

// The held file is no longer the file that was opened: other programs need not honour the
// sharing modes, so one may have renamed another file over its path, deleted it or changed its
// length. Found before anything is read or written, or after a change's writes and sync, when
// the message says that the change was not saved and, where the file is still at the path,
// how long it is now.
class EFChangedError : public EStreamError
{
public:
    enum class Change { Replaced, Deleted, CutShort, Resized };
    EFChangedError(Change change, const std::string& path);
    EFChangedError(Change change, const std::string& path, int64_t size, Undo undo);
};

// The system could not tell whether the held file is still at its path (no access to a folder
// on the way, a disk error): nothing more is read or written until it can.
class EFCheckError : public EStreamError
{
public:
    EFCheckError(const std::string& path, const std::string& reason,
                 Undo undo = Undo::NothingWritten);
};

// A seek, a write or a sync of a change failed; `reason` is the system's. A failed change puts
// back what it wrote before it reports; when even that failed the message says the file may be
// partly written.
class EWriteError : public EStreamError
{
public:
    EWriteError(const std::string& path, const std::string& reason, Undo undo);
};

// A seek or a read failed or fell short: before a change wrote anything, or while it read its
// writes back, when they have been put back since.
class EReadError : public EStreamError
{
public:
    EReadError(const std::string& path, const std::string& reason,
               Undo undo = Undo::NothingWritten);
};

// The rollback journal beside a data file could not be read, written or removed; the message
// names the journal. A journal that cannot be written stops a change before its first write;
// one that cannot be removed after the change stops it too, since it would undo the change
// later: the change is then put back, and the message says so.
class EJournalError : public EStreamError
{
public:
    enum class Step : uint8_t { Read, Write, Remove, SetAside };
    EJournalError(Step step, const std::string& journalPath, const std::string& reason,
                  Undo undo = Undo::NothingWritten);

    Step step() const { return mStep; }

private:
    Step mStep;
};

// The user stopped a change (Ctrl+C, a closed terminal, the end of the session) before it was
// complete; what it had written has been put back, unless the message says otherwise.
class EInterruptedError : public EStreamError
{
public:
    EInterruptedError(const std::string& path, Undo undo);
};

// Reasons of our own, where the system reports none: a seek that did not reach its place, a
// read that delivered fewer bytes than asked.
std::string SeekFailure(int64_t offset, const std::string& systemReason);
std::string ShortRead(int32_t got, int32_t wanted);

// A record address outside its range reached the codec; nothing was read or written.
class ERangeError : public Exception
{
public:
    using Exception::Exception;
};

// Puts `path` in place of the "%s" in `pattern`.
std::string FormatPathMessage(const char* pattern, const std::string& path);

} // namespace kt63
