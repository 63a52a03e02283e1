#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kt63 {

struct RollbackJournal;

// The file that holds a data file's rollback journal, and the few things the system does with
// it. Each step is its own call, so that the order in which they must happen (see
// SaveRollbackJournal) is written once for every system, and a test can stop the machine
// between any two of them. Every call that fails gives the system's reason in `failure`.
class JournalStore
{
public:
    enum class Found : uint8_t { Nothing, Read, Unreadable };

    virtual ~JournalStore() = default;

    // The journal's path, for messages.
    virtual std::string Name() const = 0;

    // Reads the whole journal into `bytes`, when there is one.
    virtual Found Load(std::vector<uint8_t>& bytes, std::string& failure) = 0;

    // Creates the journal, which must not exist yet, empty and open for writing.
    virtual bool Create(std::string& failure) = 0;

    // Writes all of `bytes` at the end of the journal that Create opened.
    virtual bool Append(std::span<const uint8_t> bytes, std::string& failure) = 0;

    // Puts the journal's bytes onto the storage and closes it.
    virtual bool SyncAndClose(std::string& failure) = 0;

    // Makes the folder's record of the journal, its creation or its removal, survive a power
    // cut. Where the system offers no such thing, nothing is done (see the sources).
    virtual bool SyncFolder(std::string& failure) = 0;

    // Removes the journal (closing it first if it is open); a journal that is not there is
    // removed already.
    virtual bool Remove(std::string& failure) = 0;

    // Renames a damaged journal to AsideName(), never over a file that is there already, and
    // syncs the folder: the journal may be all that can still tell what an apply wrote.
    virtual bool SetAside(std::string& failure) = 0;
    virtual std::string AsideName() const = 0;
};

// The journal of the data file at `dataPath`: beside it, in the same folder, its name with
// "-kt63-journal" added ("Qelvint.dll-kt63-journal"). A name the file system would refuse as
// too long keeps as much of the data file's name as fits, then "~" and the CRC-32 of the whole
// name in hexadecimal, so that the same file always gets the same journal. `suffix` names a
// damaged journal kept aside.
std::string JournalPathOf(const std::string& dataPath, const std::string& suffix = "-kt63-journal");

// The system's journal file at `path`, kept aside at `asidePath` when damaged.
std::unique_ptr<JournalStore> OpenJournalStore(const std::string& path,
                                               const std::string& asidePath);

// The journal of the file that `dataPath` names: a symbolic link is followed to the file
// itself, so that every path by which the file is reached finds the same journal.
std::unique_ptr<JournalStore> JournalBeside(const std::string& dataPath);

// JournalBeside for an apply, which writes one. Throws EJournalError (nothing written yet) when
// the file has more names than one (hard links): a journal beside one of them is not found
// through the others, which would read the file half written and call it whole.
std::unique_ptr<JournalStore> JournalForChange(const std::string& dataPath);

// How many names (hard links) the file at `path` has, or -1 with `failure` saying why.
int64_t LinkCountOf(const std::string& path, std::string& failure);

// The longest journal of a change of every field of the tables: a longer file is not ours.
int64_t LargestJournalSize();

// Writes `journal` as a new file and makes it durable: created, written, synced, closed, and
// the folder synced. Throws EJournalError when any step fails, after removing what it made.
void SaveRollbackJournal(JournalStore& store, const RollbackJournal& journal);

// Removes the journal and syncs the folder, so that the removal survives a power cut. Gives
// false, with `failure` saying why, when either step fails.
bool RemoveRollbackJournal(JournalStore& store, std::string& failure);

} // namespace kt63
