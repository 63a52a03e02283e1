#include "filesharing.h"

#include "tfilestream.h"

#include <fcntl.h>
#include <sys/file.h>

// Two kinds of advisory lock work together here.
//
// A whole-file flock(): shared for openers that let others in, exclusive for those that do not.
// It is what other programs use to hold a file, so a file that another program keeps under an
// exclusive flock cannot be opened, and our exclusive opens keep flock users out.
//
// Marker locks (open-file-description byte-range locks far beyond any real file content)
// express what flock cannot: each opener holds a marker for what it does (read, write) and for
// what it denies (read, write), and checks that nobody holds the opposite marker. A stream that
// reads tests "deny read", a stream that denies write tests "write access", and so on. Markers
// are taken before the tests, so of two openers racing each other at least one sees the other.
namespace kt63 {

namespace {

enum Marker : off_t { ReadAccess, WriteAccess, DenyRead, DenyWrite };

constexpr off_t kMarkerBase = off_t{1} << 62;

struct SharingWish
{
    bool reads;
    bool writes;
    bool deniesRead;
    bool deniesWrite;
};

SharingWish WishOf(uint16_t mode)
{
    const unsigned access = mode & 0x3;
    const unsigned sharing = (mode >> 4) & 0xF;
    const bool exclusive = sharing == 0 || sharing == 1;
    return {access != fmOpenWrite, access != fmOpenRead, exclusive || sharing == 3,
            exclusive || sharing == 2};
}

struct flock MarkerRange(Marker marker, short type)
{
    struct flock range
    {
    };
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = kMarkerBase + marker;
    range.l_len = 1;
    return range;
}

// A read lock needs a readable descriptor, so a write-only stream marks with a write lock;
// that only refuses more (a second write-only opener that would share), never less.
bool Hold(int fd, Marker marker, bool readable)
{
    struct flock range = MarkerRange(marker, readable ? F_RDLCK : F_WRLCK);
    return ::fcntl(fd, F_OFD_SETLK, &range) == 0;
}

bool IsHeldByOthers(int fd, Marker marker)
{
    struct flock range = MarkerRange(marker, F_WRLCK);
    if (::fcntl(fd, F_OFD_GETLK, &range) != 0)
        return true;
    return range.l_type != F_UNLCK;
}

bool HoldMarkers(int fd, const SharingWish& wish, bool readable)
{
    return (!wish.reads || Hold(fd, ReadAccess, readable)) &&
           (!wish.writes || Hold(fd, WriteAccess, readable)) &&
           (!wish.deniesRead || Hold(fd, DenyRead, readable)) &&
           (!wish.deniesWrite || Hold(fd, DenyWrite, readable));
}

bool ConflictsWithOthers(int fd, const SharingWish& wish)
{
    return (wish.reads && IsHeldByOthers(fd, DenyRead)) ||
           (wish.writes && IsHeldByOthers(fd, DenyWrite)) ||
           (wish.deniesRead && IsHeldByOthers(fd, ReadAccess)) ||
           (wish.deniesWrite && IsHeldByOthers(fd, WriteAccess));
}

} // namespace

bool AcquireSharing(int fd, uint16_t mode)
{
    const SharingWish wish = WishOf(mode);
    const bool exclusive = wish.deniesRead && wish.deniesWrite;
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0)
        return false;
    return HoldMarkers(fd, wish, wish.reads) && !ConflictsWithOthers(fd, wish);
}

} // namespace kt63
