#include "journalstore.h"

#include "systemerror_win32.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace kt63 {

namespace {

// Far more than the journal of a change of every byte of the tables.
constexpr LONGLONG LargestJournal = LONGLONG{256} << 20;

bool Fail(std::string& failure, DWORD error)
{
    failure = ReasonOf(error);
    return false;
}

class Win32Journal final : public JournalStore
{
public:
    explicit Win32Journal(std::string path) : mPath(std::move(path))
    {
        mValidName = ToWide(mPath, mWide);
    }
    ~Win32Journal() override { Close(); }

    std::string Name() const override { return mPath; }

    Found Load(std::vector<uint8_t>& bytes, std::string& failure) override
    {
        if (!mValidName)
            return Found::Nothing;
        const HANDLE handle = ::CreateFileW(mWide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND)
                return Found::Nothing;
            Fail(failure, error);
            return Found::Unreadable;
        }
        const Found found = ReadWhole(handle, bytes, failure);
        ::CloseHandle(handle);
        return found;
    }

    // Nobody else may open the journal while it is written.
    bool Create(std::string& failure) override
    {
        if (!mValidName)
            return Fail(failure, ERROR_INVALID_NAME);
        mHandle = ::CreateFileW(mWide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        return mHandle != INVALID_HANDLE_VALUE || Fail(failure, ::GetLastError());
    }

    bool Append(std::span<const uint8_t> bytes, std::string& failure) override
    {
        for (size_t done = 0; done < bytes.size();) {
            DWORD wrote = 0;
            const auto count = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 30));
            if (!::WriteFile(mHandle, bytes.data() + done, count, &wrote, nullptr))
                return Fail(failure, ::GetLastError());
            if (wrote == 0)
                return Fail(failure, ERROR_WRITE_FAULT);
            done += wrote;
        }
        return true;
    }

    bool SyncAndClose(std::string& failure) override
    {
        if (!::FlushFileBuffers(mHandle)) {
            const DWORD error = ::GetLastError();
            Close();
            return Fail(failure, error);
        }
        Close();
        return true;
    }

    // Windows offers programs no call that syncs a folder. NTFS records a file's creation and
    // removal in its own log and writes that log out on its own; no moment is promised.
    bool SyncFolder(std::string&) override { return true; }

    bool Remove(std::string& failure) override
    {
        Close();
        if (!mValidName || ::DeleteFileW(mWide.c_str()))
            return true;
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || Fail(failure, error);
    }

private:
    static Found ReadWhole(HANDLE handle, std::vector<uint8_t>& bytes, std::string& failure)
    {
        LARGE_INTEGER size{};
        if (::GetFileType(handle) != FILE_TYPE_DISK) {
            failure = "not a regular file";
            return Found::Unreadable;
        }
        if (!::GetFileSizeEx(handle, &size)) {
            Fail(failure, ::GetLastError());
            return Found::Unreadable;
        }
        if (size.QuadPart > LargestJournal) {
            failure = std::generic_category().message(EFBIG);
            return Found::Unreadable;
        }
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            if (!::ReadFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                            &got, nullptr)) {
                Fail(failure, ::GetLastError());
                return Found::Unreadable;
            }
            if (got == 0)
                break;
            done += got;
        }
        bytes.resize(done);
        return Found::Read;
    }

    void Close()
    {
        if (mHandle != INVALID_HANDLE_VALUE)
            ::CloseHandle(mHandle);
        mHandle = INVALID_HANDLE_VALUE;
    }

    std::string mPath;
    std::wstring mWide;
    bool mValidName = false;
    HANDLE mHandle = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<JournalStore> JournalBeside(const std::string& dataPath)
{
    return std::make_unique<Win32Journal>(JournalPathOf(dataPath));
}

} // namespace kt63
