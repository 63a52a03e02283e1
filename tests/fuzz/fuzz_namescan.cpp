#include "namescan.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Runs the name scan over every input as a whole area and checks each name it hands out
// against the rule, position by position, with a slow reference scan beside it.
namespace {

void Require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Where names begin, straight from the rule: p runs over 0 to L - 2, and a name begins at
// p + 1 when byte p is zero and byte p + 1 is not.
std::vector<size_t> ReferenceStarts(const uint8_t* area, size_t length)
{
    std::vector<size_t> starts;
    for (size_t p = 0; p + 1 < length; ++p)
        if (area[p] == 0 && area[p + 1] != 0)
            starts.push_back(p + 1);
    return starts;
}

class NameChecker
{
public:
    NameChecker(const uint8_t* area, size_t length)
        : mArea(area), mLength(length), mStarts(ReferenceStarts(area, length))
    {
    }

    void check(std::string_view name)
    {
        Require(!name.empty() && name.size() <= static_cast<size_t>(kt63::MaxNameLength));
        // A view of the area itself, wholly inside it: nothing beyond the length is handed out.
        const auto base = reinterpret_cast<uintptr_t>(mArea);
        const auto at = reinterpret_cast<uintptr_t>(name.data());
        Require(at >= base && at - base <= mLength && name.size() <= mLength - (at - base));
        const size_t start = at - base;
        const size_t end = start + name.size();
        // Its own run of bytes after a zero, ending where the run does or at the cut.
        Require(start >= 1 && mArea[start - 1] == 0);
        for (size_t i = start; i < end; ++i)
            Require(mArea[i] != 0);
        Require(end == mLength || mArea[end] == 0 ||
                name.size() == static_cast<size_t>(kt63::MaxNameLength));
        // In order of position, and exactly where the reference found the next name.
        Require(mCount == 0 || start > mLastStart);
        Require(mCount < mStarts.size() && mStarts[mCount] == start);
        mLastStart = start;
        ++mCount;
    }

    void finish() const { Require(mCount == mStarts.size()); }

private:
    const uint8_t* mArea;
    size_t mLength;
    std::vector<size_t> mStarts;
    size_t mCount = 0;
    size_t mLastStart = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > static_cast<size_t>(INT32_MAX))
        return 0;
    NameChecker checker(data, size);
    kt63::ScanNames(data, static_cast<int32_t>(size),
                    [&checker](std::string_view name) { checker.check(name); });
    checker.finish();
    return 0;
}
