#include "weaponnames.h"

#include "cp932.h"
#include "datalayout.h"
#include "namelistfile.h"
#include "namescan.h"

#include <algorithm>

namespace kt63 {

namespace {

// The editor shows the list number in a field that holds 0 to 561, and its list follows the
// number shown; a dump names the weapons the same way.
constexpr int32_t HighestListNumber = 561;

} // namespace

std::vector<std::string> ReadWeaponNames(const std::string& path)
{
    const NameListFile list = ReadNameListFile(path);
    std::vector<std::string_view> entries;
    ScanNames(list.namesArea.data(), std::max(list.namesAreaSize, 0),
              [&entries](std::string_view name) { entries.push_back(name); });

    std::vector<std::string> names(WeaponCount + 1);
    const int32_t count = static_cast<int32_t>(entries.size());
    const int32_t first = std::clamp<int32_t>(list.listNumber, 0, HighestListNumber);
    for (int32_t i = first; i < count; ++i) {
        const int32_t weapon = count - i;
        if (weapon <= WeaponCount)
            names[static_cast<size_t>(weapon)] = DecodeCp932(entries[static_cast<size_t>(i)]);
    }
    return names;
}

} // namespace kt63
