#include "exception.h"

namespace kt63 {

std::string FormatPathMessage(const char* pattern, const std::string& path)
{
    std::string text(pattern);
    const auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

EFOpenError::EFOpenError(const std::string& path)
    : EStreamError(FormatPathMessage("ﾌｧｲﾙ %s は開けません", path))
{
}

EFTooShortError::EFTooShortError(const std::string& path)
    : EFOpenError(PresetMessage{}, FormatPathMessage("ﾌｧｲﾙ %s は短すぎます", path))
{
}

} // namespace kt63
