#include "rollbackjournal.h"

#include "tablefields.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kt63 {

namespace {

constexpr std::string_view Magic = "KT63JRNL";
constexpr uint32_t Version = 1;
constexpr size_t HeaderSize = 48;
constexpr size_t ChecksumSize = 4;

constexpr std::array<uint32_t, 256> CrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

void Put(std::vector<uint8_t>& out, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint64_t Get(std::span<const uint8_t> bytes, size_t at, int width)
{
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<size_t>(i)];
    return value;
}

// What a crash can leave of a journal that was being written: nothing yet, a beginning of the
// name, or blocks the file system had sized but not yet written.
bool IsUnwritten(std::span<const uint8_t> bytes)
{
    const bool namePrefix =
        bytes.size() < Magic.size() && std::equal(bytes.begin(), bytes.end(), Magic.begin());
    return namePrefix || std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; });
}

// Whether two entries name the same field (the tables' fields never overlap one another).
bool NamesAFieldTwice(const RollbackJournal& journal)
{
    std::vector<int32_t> offsets;
    offsets.reserve(journal.entries.size());
    for (const JournalEntry& entry : journal.entries)
        offsets.push_back(entry.offset);
    std::sort(offsets.begin(), offsets.end());
    return std::adjacent_find(offsets.begin(), offsets.end()) != offsets.end();
}

// Reads the entries after the header, as far as each is one of the tables' fields inside the
// journal's bytes; true when that is every entry the header counts and they fill the journal.
// The count is bounded by the number of fields before anything is kept, so a crafted count
// costs nothing.
bool ReadEntries(std::span<const uint8_t> bytes, size_t end, RollbackJournal& journal)
{
    const uint64_t count = Get(bytes, 12, 4);
    if (count > static_cast<uint64_t>(TableFieldCount()))
        return false;
    size_t at = HeaderSize;
    for (uint64_t i = 0; i < count; ++i) {
        if (end < at || end - at < 5)
            return false;
        const auto offset = static_cast<int64_t>(Get(bytes, at, 4));
        const auto width = static_cast<size_t>(bytes[at + 4]);
        at += 5;
        if (!IsTableField(offset, static_cast<int64_t>(width)) || end - at < 2 * width ||
            offset + static_cast<int64_t>(width) > journal.length)
            return false;
        JournalEntry entry{static_cast<int32_t>(offset), static_cast<int32_t>(width), {}, {}};
        std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(at), width, entry.before.begin());
        std::copy_n(bytes.begin() + static_cast<ptrdiff_t>(at + width), width, entry.after.begin());
        at += 2 * width;
        journal.entries.push_back(entry);
    }
    return at == end;
}

void ReadHeader(std::span<const uint8_t> bytes, RollbackJournal& journal)
{
    journal.length = static_cast<int64_t>(Get(bytes, 24, 8));
    journal.identity = {Get(bytes, 32, 8), Get(bytes, 40, 8)};
}

// What can still be read of a journal whose checksum or length is wrong.
DecodedJournal Damaged(std::span<const uint8_t> bytes)
{
    DecodedJournal decoded{JournalForm::Damaged, {}, false};
    if (bytes.size() < HeaderSize)
        return decoded;
    ReadHeader(bytes, decoded.journal);
    const size_t end =
        bytes.size() >= HeaderSize + ChecksumSize ? bytes.size() - ChecksumSize : HeaderSize;
    ReadEntries(bytes, end, decoded.journal);
    decoded.allEntries =
        decoded.journal.entries.size() == Get(bytes, 12, 4) && !NamesAFieldTwice(decoded.journal);
    decoded.cutShort = Get(bytes, 16, 8) > bytes.size();
    return decoded;
}

} // namespace

uint32_t Crc32(std::span<const uint8_t> bytes)
{
    static constexpr std::array<uint32_t, 256> table = CrcTable();
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> EncodeJournal(const RollbackJournal& journal)
{
    size_t length = HeaderSize + ChecksumSize;
    for (const JournalEntry& entry : journal.entries)
        length += 5 + 2 * static_cast<size_t>(entry.width);
    std::vector<uint8_t> out(Magic.begin(), Magic.end());
    out.reserve(length);
    Put(out, Version, 4);
    Put(out, journal.entries.size(), 4);
    Put(out, length, 8);
    Put(out, static_cast<uint64_t>(journal.length), 8);
    Put(out, journal.identity.volume, 8);
    Put(out, journal.identity.file, 8);
    for (const JournalEntry& entry : journal.entries) {
        Put(out, static_cast<uint32_t>(entry.offset), 4);
        Put(out, static_cast<uint64_t>(entry.width), 1);
        out.insert(out.end(), entry.before.begin(), entry.before.begin() + entry.width);
        out.insert(out.end(), entry.after.begin(), entry.after.begin() + entry.width);
    }
    Put(out, Crc32(out), 4);
    return out;
}

int64_t JournalSizeOf(int64_t count, int64_t width)
{
    return static_cast<int64_t>(HeaderSize + ChecksumSize) + count * (5 + 2 * width);
}

DecodedJournal DecodeJournal(std::span<const uint8_t> bytes)
{
    if (IsUnwritten(bytes))
        return {JournalForm::Incomplete, {}, false};
    if (bytes.size() < Magic.size() || !std::equal(Magic.begin(), Magic.end(), bytes.begin()))
        return {JournalForm::Unknown, {}, false};
    if (bytes.size() < HeaderSize + ChecksumSize)
        return Damaged(bytes);
    if (Get(bytes, 8, 4) != Version)
        return {JournalForm::Unknown, {}, false};
    const uint64_t length = Get(bytes, 16, 8);
    // Longer than it says is nothing a crash makes of a journal being written.
    if (length < bytes.size())
        return {JournalForm::Unknown, {}, false};
    const size_t checked = bytes.size() - ChecksumSize;
    if (length > bytes.size() || Crc32(bytes.first(checked)) != Get(bytes, checked, 4))
        return Damaged(bytes);
    DecodedJournal decoded{JournalForm::Complete, {}, true};
    ReadHeader(bytes, decoded.journal);
    if (decoded.journal.length < 0 || !ReadEntries(bytes, checked, decoded.journal) ||
        NamesAFieldTwice(decoded.journal))
        return {JournalForm::Unknown, {}, false};
    return decoded;
}

} // namespace kt63
