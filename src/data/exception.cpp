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

EFOpenError::EFOpenError(const std::string& path, std::string reason)
    : EStreamError(FormatPathMessage("ﾌｧｲﾙ %s は開けません", path)), mReason(std::move(reason))
{
}

namespace {

struct ChangeMessages
{
    const char* before; // found before anything was read or written
    const char* during; // found after the writes; %n is the length of the file at the path now
};

ChangeMessages MessagesOf(EFChangedError::Change change)
{
    switch (change) {
    case EFChangedError::Change::Replaced:
        return {"ﾌｧｲﾙ %s は他のﾌﾟﾛｸﾞﾗﾑに置き換えられました",
                "ﾌｧｲﾙ %s は保存中に他のﾌﾟﾛｸﾞﾗﾑに置き換えられました"};
    case EFChangedError::Change::Deleted:
        return {"ﾌｧｲﾙ %s は削除されました", "ﾌｧｲﾙ %s は保存中に削除されました"};
    case EFChangedError::Change::CutShort:
        return {"ﾌｧｲﾙ %s は他のﾌﾟﾛｸﾞﾗﾑに切り詰められました",
                "ﾌｧｲﾙ %s は保存中に他のﾌﾟﾛｸﾞﾗﾑに切り詰められました (今は %n ﾊﾞｲﾄ)"};
    case EFChangedError::Change::Resized:
        break;
    }
    return {"ﾌｧｲﾙ %s は他のﾌﾟﾛｸﾞﾗﾑに変更されました",
            "ﾌｧｲﾙ %s は保存中に他のﾌﾟﾛｸﾞﾗﾑに変更されました (今は %n ﾊﾞｲﾄ)"};
}

// What a failed change left, said after the failure itself. A write error needs no word when
// nothing is left: that it could not write says already that the change is not in the file.
std::string UndoTail(Undo undo, bool sayNotSaved = true)
{
    switch (undo) {
    case Undo::NothingWritten:
        return {};
    case Undo::PutBack:
        return sayNotSaved ? ": 保存されていません" : "";
    case Undo::MaybePartlyWritten:
        break;
    }
    return ": 一部だけ書き込まれたかもしれません";
}

std::string WithReason(const char* pattern, const std::string& path, const std::string& reason)
{
    return FormatPathMessage(pattern, path) + " (" + reason + ")";
}

// A file replaced or deleted meanwhile is not the file at the path: whatever was put back or
// not went into the file that used to be there, so only "not saved" is said of the path.
std::string ChangedDuringMessage(EFChangedError::Change change, const std::string& path,
                                 int64_t size, Undo undo)
{
    std::string text = FormatPathMessage(MessagesOf(change).during, path);
    if (const auto at = text.find("%n"); at != std::string::npos)
        text.replace(at, 2, std::to_string(size));
    const bool atThePath =
        change == EFChangedError::Change::CutShort || change == EFChangedError::Change::Resized;
    return text + UndoTail(atThePath ? undo : Undo::PutBack);
}

} // namespace

EFChangedError::EFChangedError(Change change, const std::string& path)
    : EStreamError(FormatPathMessage(MessagesOf(change).before, path))
{
}

EFChangedError::EFChangedError(Change change, const std::string& path, int64_t size, Undo undo)
    : EStreamError(ChangedDuringMessage(change, path, size, undo))
{
}

EFCheckError::EFCheckError(const std::string& path, const std::string& reason, Undo undo)
    : EStreamError(WithReason("ﾌｧｲﾙ %s を確かめられません", path, reason) + UndoTail(undo))
{
}

EWriteError::EWriteError(const std::string& path, const std::string& reason, Undo undo)
    : EStreamError(WithReason("ﾌｧｲﾙ %s に書き込めません", path, reason) + UndoTail(undo, false))
{
}

EReadError::EReadError(const std::string& path, const std::string& reason, Undo undo)
    : EStreamError(WithReason("ﾌｧｲﾙ %s を読み込めません", path, reason) + UndoTail(undo))
{
}

namespace {

const char* JournalPattern(EJournalError::Step step)
{
    switch (step) {
    case EJournalError::Step::Read:
        return "ﾌｧｲﾙ %s を読み込めません";
    case EJournalError::Step::Write:
        return "ﾌｧｲﾙ %s に書き込めません";
    case EJournalError::Step::SetAside:
        return "ﾌｧｲﾙ %s の名前を変えられません";
    case EJournalError::Step::Remove:
        break;
    }
    return "ﾌｧｲﾙ %s を削除できません";
}

} // namespace

EJournalError::EJournalError(Step step, const std::string& journalPath, const std::string& reason,
                             Undo undo)
    : EStreamError(WithReason(JournalPattern(step), journalPath, reason) + UndoTail(undo)),
      mStep(step)
{
}

// Stopped before its first write, the change still did not happen: that is said too.
EInterruptedError::EInterruptedError(const std::string& path, Undo undo)
    : EStreamError(FormatPathMessage("ﾌｧｲﾙ %s への書き込みは中断されました", path) +
                   UndoTail(undo == Undo::NothingWritten ? Undo::PutBack : undo))
{
}

EFTooShortError::EFTooShortError(const std::string& path)
    : EFOpenError(PresetMessage{}, FormatPathMessage("ﾌｧｲﾙ %s は短すぎます", path))
{
}

std::string SeekFailure(int64_t offset, const std::string& systemReason)
{
    return "位置 " + std::to_string(offset) + " に移れません" +
           (systemReason.empty() ? "" : ": " + systemReason);
}

std::string ShortRead(int32_t got, int32_t wanted)
{
    return std::to_string(wanted) + " ﾊﾞｲﾄ中 " + std::to_string(got) + " ﾊﾞｲﾄしか読めません";
}

} // namespace kt63
