#include "journalstore.h"

#include "exception.h"
#include "rollbackjournal.h"

namespace kt63 {

std::string JournalPathOf(const std::string& dataPath)
{
    return dataPath + "-kt63-journal";
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
