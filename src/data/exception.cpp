#include "exception.h"

#include <system_error>

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

namespace {

const char* ChangePattern(EFChangedError::Change change)
{
    switch (change) {
    case EFChangedError::Change::Replaced:
        return "ﾌｧｲﾙ %s は他のﾌﾟﾛｸﾞﾗﾑに置き換えられました";
    case EFChangedError::Change::Deleted:
        return "ﾌｧｲﾙ %s は削除されました";
    case EFChangedError::Change::CutShort:
        break;
    }
    return "ﾌｧｲﾙ %s は他のﾌﾟﾛｸﾞﾗﾑに切り詰められました";
}

// The system's own words for an error number, in the user's language where the system has it.
std::string Reason(int error)
{
    return " (" + std::generic_category().message(error) + ")";
}

} // namespace

EFChangedError::EFChangedError(Change change, const std::string& path)
    : EStreamError(FormatPathMessage(ChangePattern(change), path))
{
}

EWriteError::EWriteError(const std::string& path, int error, bool restored)
    : EStreamError(FormatPathMessage("ﾌｧｲﾙ %s に書き込めません", path) + Reason(error) +
                   (restored ? "" : ": 一部だけ書き込まれたかもしれません"))
{
}

EReadError::EReadError(const std::string& path, int error)
    : EStreamError(FormatPathMessage("ﾌｧｲﾙ %s を読み込めません", path) + Reason(error))
{
}

EFTooShortError::EFTooShortError(const std::string& path)
    : EFOpenError(PresetMessage{}, FormatPathMessage("ﾌｧｲﾙ %s は短すぎます", path))
{
}

} // namespace kt63
