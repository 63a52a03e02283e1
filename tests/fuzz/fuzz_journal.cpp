#include "rollbackjournal.h"
#include "tablefields.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <span>

// Decodes any bytes as a rollback journal: whatever it accepts names only the tables' fields,
// each once, and a complete journal is exactly the bytes that encoding it gives back.
namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void RequireOurFields(const kt63::RollbackJournal& journal)
{
    std::set<int32_t> offsets;
    for (const kt63::JournalEntry& entry : journal.entries) {
        Require(kt63::IsTableField(entry.offset, entry.width));
        Require(int64_t{entry.offset} + entry.width <= journal.length);
        Require(offsets.insert(entry.offset).second);
    }
    Require(static_cast<int64_t>(journal.entries.size()) <= kt63::TableFieldCount());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    const kt63::DecodedJournal decoded = kt63::DecodeJournal(bytes);
    if (decoded.form == kt63::JournalForm::Complete) {
        RequireOurFields(decoded.journal);
        const std::vector<uint8_t> again = kt63::EncodeJournal(decoded.journal);
        Require(std::equal(again.begin(), again.end(), bytes.begin(), bytes.end()));
    }
    if (decoded.form == kt63::JournalForm::Damaged)
        for (const kt63::JournalEntry& entry : decoded.journal.entries)
            Require(kt63::IsTableField(entry.offset, entry.width));
    return 0;
}
