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
};

// The journal of the data file at `dataPath`: beside it, in the same folder, its name with
// "-kt63-journal" added ("Qelvint.dll-kt63-journal").
std::string JournalPathOf(const std::string& dataPath);
std::unique_ptr<JournalStore> JournalBeside(const std::string& dataPath);

// Writes `journal` as a new file and makes it durable: created, written, synced, closed, and
// the folder synced. Throws EJournalError when any step fails, after removing what it made.
void SaveRollbackJournal(JournalStore& store, const RollbackJournal& journal);

// Removes the journal and syncs the folder, so that the removal survives a power cut. Gives
// false, with `failure` saying why, when either step fails.
bool RemoveRollbackJournal(JournalStore& store, std::string& failure);

} // namespace kt63
