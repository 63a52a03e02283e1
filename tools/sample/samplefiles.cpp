#include "samplefiles.h"

#include "datalayout.h"
#include "helddatafile.h"
#include "samplenames.h"
#include "samplerandom.h"
#include "samplevalues.h"
#include "tmemorystream.h"
#include "weaponcodec.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#endif

namespace kt63::sample {

namespace {

std::vector<uint8_t> RandomBytes(int32_t size, SampleRandom& random)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (uint8_t& byte : bytes)
        byte = static_cast<uint8_t>(random.next() >> 24);
    return bytes;
}

// Saves every slot cell and armament entry through the editor's own codec, so the fields sit
// exactly where the editor reads them.
void FillRecords(TMemoryStream& stream, SampleRandom& random)
{
    HeldDataFile file(stream);
    for (int32_t weapon = 1; weapon <= WeaponCount; ++weapon) {
        const WeaponValues values = SampleWeapon(weapon, random);
        for (int32_t tab = 0; tab < ArmamentTabCount; ++tab) {
            const int32_t group = ArmamentOfWeapon(weapon);
            ArmamentValues armament = SampleArmament(group, tab, random);
            for (int32_t slot = 0; slot < SlotCount; ++slot) {
                SampleSlotCell(armament, random);
                const RecordAddress address{
                    .weapon = weapon, .slot = slot, .armament = group, .tab = tab};
                SaveWeapon(file, address, values, armament);
            }
        }
    }
}

#ifdef _WIN32
// Windows' C runtime opens files as text unless told otherwise, and would write every 0x0A
// byte as 0x0D 0x0A; its paths are UTF-16.
int CreateForWriting(const QString& path)
{
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()),
                    _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
#else
int CreateForWriting(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                  0644);
}
#endif

QString WriteFile(const QString& path, const QByteArray& bytes)
{
    const int fd = CreateForWriting(path);
    if (fd < 0)
        return path + ": " + QString::fromLocal8Bit(std::strerror(errno));
    const auto written = ::write(fd, bytes.constData(), static_cast<unsigned>(bytes.size()));
    const bool closed = ::close(fd) == 0;
    if (written != bytes.size() || !closed)
        return path + ": " + QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

} // namespace

QByteArray MakeSampleDataFile(uint32_t seed)
{
    SampleRandom random(seed);
    TMemoryStream file(RandomBytes(DataFileMinimumSize, random));
    FillRecords(file, random);
    QByteArray bytes(reinterpret_cast<const char*>(file.bytes().data()),
                     static_cast<qsizetype>(file.bytes().size()));
    bytes.replace(NameAreaOffset, NameAreaSize, SampleArmamentNameArea(NameAreaSize, random));
    return bytes;
}

QByteArray MakeSampleNameList(uint32_t seed)
{
    SampleRandom random(seed ^ 0x5741u);
    QByteArray list;
    for (const QByteArray& name : SampleLeadingNames())
        list += '\0' + name;
    for (int32_t weapon = WeaponCount; weapon >= 1; --weapon)
        list += '\0' + SampleWeaponName(weapon, random);
    list += char(SampleListNumber & 0xFF);
    list += char(SampleListNumber >> 8);
    return list;
}

QString WriteSampleFiles(const QString& folder, uint32_t seed)
{
    const QDir dir(folder);
    if (!dir.exists() && !QDir().mkpath(folder))
        return folder + ": cannot create the folder";
    QString error = WriteFile(dir.filePath("Qelvint.dll"), MakeSampleDataFile(seed));
    if (error.isEmpty())
        error = WriteFile(dir.filePath("WN.dat"), MakeSampleNameList(seed));
    return error;
}

} // namespace kt63::sample
