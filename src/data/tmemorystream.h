#pragma once

#include "tstream.h"

#include <vector>

namespace kt63 {

// A stream over bytes in memory with the same rules as a file: seeking past the end is allowed,
// reading there gives nothing, writing there lengthens the stream (the gap reads as zero).
class TMemoryStream final : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

    int32_t Seek(int32_t offset, uint16_t origin) override;
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;

    const std::vector<uint8_t>& bytes() const { return mBytes; }

private:
    int32_t Refuse();

    std::vector<uint8_t> mBytes;
    int64_t mPosition = 0;
};

} // namespace kt63
