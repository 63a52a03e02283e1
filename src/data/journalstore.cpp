#include "journalstore.h"

#include "exception.h"
#include "rollbackjournal.h"
#include "tablefields.h"
#include "utf8path.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kt63 {

namespace {

// The longest name of a file in a folder: 255 bytes on Linux file systems, 255 UTF-16 units on
// Windows ones, which a name of at most 255 UTF-8 bytes never exceeds.
constexpr size_t LongestName = 255;

size_t NameStart(const std::string& path)
{
#ifdef _WIN32
    const size_t slash = path.find_last_of("/\\");
#else
    const size_t slash = path.rfind('/');
#endif
    return slash == std::string::npos ? 0 : slash + 1;
}

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 character.
std::string CutUtf8(const std::string& text, size_t bytes)
{
    while (bytes > 0 && bytes < text.size() && (static_cast<uint8_t>(text[bytes]) & 0xC0) == 0x80)
        --bytes;
    return text.substr(0, bytes);
}

std::string HexCrc(const std::string& text)
{
    const uint32_t crc = Crc32({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(crc));
    return hex;
}

// The file a chain of symbolic links ends at; only the last part of the path matters, since
// a folder reached through a link is the same folder.
std::string FollowLinks(const std::string& dataPath)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path path = PathFromUtf8(dataPath);
    for (int hops = 0; hops < 40 && fs::is_symlink(path, error); ++hops) {
        const fs::path target = fs::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return Utf8FromPath(path);
}

} // namespace

std::string JournalPathOf(const std::string& dataPath, const std::string& suffix)
{
    const size_t start = NameStart(dataPath);
    const std::string name = dataPath.substr(start);
    if (name.size() + suffix.size() <= LongestName)
        return dataPath + suffix;
    const std::string mark = "~" + HexCrc(name);
    return dataPath.substr(0, start) + CutUtf8(name, LongestName - suffix.size() - mark.size()) +
           mark + suffix;
}

std::unique_ptr<JournalStore> JournalBeside(const std::string& dataPath)
{
    std::string real = dataPath;
    try {
        real = FollowLinks(dataPath);
    } catch (const std::filesystem::filesystem_error&) {
        // A name that cannot be converted has no link to follow; the open reports it.
    }
    return OpenJournalStore(JournalPathOf(real), JournalPathOf(real, "-kt63-journal-damaged"));
}

std::unique_ptr<JournalStore> JournalForChange(const std::string& dataPath)
{
    std::unique_ptr<JournalStore> store = JournalBeside(dataPath);
    std::string failure;
    const int64_t links = LinkCountOf(dataPath, failure);
    if (links < 0)
        throw EJournalError(EJournalError::Step::Write, store->Name(), failure);
    if (links > 1)
        throw EJournalError(EJournalError::Step::Write, store->Name(),
                            dataPath + " has " + std::to_string(links) +
                                " names (hard links), and a journal beside one name is not "
                                "found through the others");
    return store;
}

int64_t LargestJournalSize()
{
    return JournalSizeOf(TableFieldCount(), 4);
}

// The journal must be on the disk, and found there after a power cut, before the data file is
// touched: its bytes are synced before the folder that records it, and only a journal whose
// every step succeeded lets the change go on.
void SaveRollbackJournal(JournalStore& store, const RollbackJournal& journal)
{
    const std::vector<uint8_t> bytes = EncodeJournal(journal);
    std::string failure;
    if (!store.Create(failure))
        throw EJournalError(EJournalError::Step::Write, store.Name(), failure);
    if (store.Append(bytes, failure) && store.SyncAndClose(failure) && store.SyncFolder(failure))
        return;
    // Half a journal is harmless (it is incomplete, and nothing was written), but it is in the
    // way of the next apply.
    std::string ignored;
    store.Remove(ignored);
    throw EJournalError(EJournalError::Step::Write, store.Name(), failure);
}

bool RemoveRollbackJournal(JournalStore& store, std::string& failure)
{
    return store.Remove(failure) && store.SyncFolder(failure);
}

} // namespace kt63
