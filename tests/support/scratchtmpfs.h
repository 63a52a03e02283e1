#pragma once

#include <cstdint>
#include <string>

namespace kt63::test {

// A small tmpfs mounted for one test, so that a save can meet a real file system that has run
// out of space. Mounting needs root with CAP_SYS_ADMIN; where the machine refuses, mounted() is
// false and reason() says why, so the test can skip and say so. Unmounted when it goes.
class ScratchTmpfs
{
public:
    explicit ScratchTmpfs(int64_t bytes);
    ~ScratchTmpfs();
    ScratchTmpfs(const ScratchTmpfs&) = delete;
    ScratchTmpfs& operator=(const ScratchTmpfs&) = delete;

    bool mounted() const { return mMounted; }
    const std::string& reason() const { return mReason; }
    const std::string& root() const { return mRoot; }
    std::string path(const std::string& name) const { return mRoot + "/" + name; }

    // Gives the pages of `path` that hold the bytes from `offset` to `offset + length` back to
    // the file system, so that writing there needs new space.
    static void PunchHole(const std::string& path, int64_t offset, int64_t length);

    // Takes every free byte with a file of its own.
    void FillUp();

private:
    std::string mRoot;
    std::string mReason;
    bool mMounted = false;
};

} // namespace kt63::test
