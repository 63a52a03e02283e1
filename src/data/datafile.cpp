#include "datafile.h"

#include "helddatafile.h"

namespace kt63 {

void ReadArmamentNameArea(HeldDataFile& file, ArmamentNameArea& buffer)
{
    ArmamentNameArea area{};
    file.Read({NameAreaOffset, NameAreaSize}, area.data());
    buffer = area;
}

} // namespace kt63
