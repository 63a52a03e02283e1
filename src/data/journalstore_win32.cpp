#include "journalstore.h"

#include "systemerror_win32.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace kt63 {

namespace {

bool Fail(std::string& failure, DWORD error)
{
    failure = ReasonOf(error);
    return false;
}

class Win32Journal final : public JournalStore
{
public:
    Win32Journal(std::string path, std::string aside)
        : mPath(std::move(path)), mAside(std::move(aside))
    {
        mValidName = ToWide(mPath, mWide) && ToWide(mAside, mAsideWide);
    }
    ~Win32Journal() override { Close(); }

    std::string Name() const override { return mPath; }
    std::string AsideName() const override { return mAside; }

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

    // Without MOVEFILE_REPLACE_EXISTING a file at the new name stops the move.
    bool SetAside(std::string& failure) override
    {
        Close();
        if (!mValidName)
            return Fail(failure, ERROR_INVALID_NAME);
        return ::MoveFileExW(mWide.c_str(), mAsideWide.c_str(), MOVEFILE_WRITE_THROUGH) ||
               Fail(failure, ::GetLastError());
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
        if (size.QuadPart > LargestJournalSize()) {
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
    std::string mAside;
    std::wstring mWide;
    std::wstring mAsideWide;
    bool mValidName = false;
    HANDLE mHandle = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<JournalStore> OpenJournalStore(const std::string& path,
                                               const std::string& asidePath)
{
    return std::make_unique<Win32Journal>(path, asidePath);
}

int64_t LinkCountOf(const std::string& path, std::string& failure)
{
    std::wstring wide;
    if (!ToWide(path, wide)) {
        Fail(failure, ERROR_INVALID_NAME);
        return -1;
    }
    const HANDLE handle =
        ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Fail(failure, ::GetLastError());
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = ::GetFileInformationByHandle(handle, &info);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (!known) {
        Fail(failure, error);
        return -1;
    }
    return static_cast<int64_t>(info.nNumberOfLinks);
}

} // namespace kt63
