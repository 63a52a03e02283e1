#include "shiftjislimit.h"

#include "cp932.h"

#include <algorithm>

namespace kt63 {

namespace {

// Where an insertion lies in the edited text: [start, end) was inserted, end is the cursor.
struct Insertion
{
    qsizetype start = 0;
    qsizetype end = 0;
};

bool FindInsertion(const QString& previous, const QString& text, qsizetype cursor,
                   Insertion& insertion)
{
    const qsizetype tail = text.size() - cursor;
    if (cursor < 0 || tail < 0 || tail > previous.size())
        return false;
    if (QStringView(text).right(tail) != QStringView(previous).right(tail))
        return false;
    const qsizetype headLimit = std::min(cursor, previous.size() - tail);
    qsizetype head = 0;
    while (head < headLimit && text.at(head) == previous.at(head))
        ++head;
    // Two characters that share a high surrogate differ only in the low one.
    if (head > 0 && text.at(head - 1).isHighSurrogate())
        --head;
    insertion = {head, cursor};
    return true;
}

qsizetype CodePointSize(QStringView text, qsizetype at)
{
    const bool pair =
        text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
    return pair ? 2 : 1;
}

} // namespace

int ShiftJisLength(QStringView text)
{
    return static_cast<int>(EncodeCp932(text.toUtf8().toStdString()).size());
}

bool FitTypedText(const QString& previous, QString& text, int& cursor, int limit)
{
    Insertion insertion;
    if (!FindInsertion(previous, text, cursor, insertion))
        return false;
    const QStringView view(text);
    int room = limit - ShiftJisLength(view.left(insertion.start)) -
               ShiftJisLength(view.mid(insertion.end));
    qsizetype kept = insertion.start;
    while (kept < insertion.end) {
        const qsizetype size = CodePointSize(view, kept);
        const int bytes = ShiftJisLength(view.mid(kept, size));
        if (bytes > room)
            break;
        room -= bytes;
        kept += size;
    }
    if (kept == insertion.start)
        return false;
    text.remove(kept, insertion.end - kept);
    cursor = static_cast<int>(kept);
    return true;
}

} // namespace kt63
