#include "journalnotice.h"

#include <QApplication>
#include <QMessageBox>

namespace kt63 {

QString JournalSettledText(const JournalOutcome& outcome, const std::string& data)
{
    if (!outcome.settled)
        return {};
    const QString count = QString::number(outcome.found.journal.entries.size());
    const QString file = QString::fromStdString(data);
    const QString journal = QString::fromStdString(outcome.journal);
    switch (outcome.found.verdict) {
    case JournalVerdict::Unfinished:
        return "ﾌｧｲﾙ " + file + " への書き込みは途中で止まっていました: " + journal + " で " +
               count + " 個の値を元に戻しました.";
    case JournalVerdict::Finished:
        return "ﾌｧｲﾙ " + file + " への書き込みは " + count +
               " 個の値を全て書き終えていました: そのまま残し, " + journal + " を削除しました.";
    default:
        return {};
    }
}

std::string JournalRefusalText(const JournalOutcome& outcome, const std::string& data)
{
    if (outcome.found.verdict == JournalVerdict::Damaged)
        return "ﾌｧｲﾙ " + outcome.journal + " は壊れています: ﾌｧｲﾙ " + data +
               " は途中まで書き換えられているかもしれません. 壊れたｼﾞｬｰﾅﾙは " + outcome.aside +
               " として残しました";
    return "ﾌｧｲﾙ " + outcome.journal + " は今のﾌｧｲﾙ " + data +
           " のｼﾞｬｰﾅﾙではありません: 開きません. " + data + " が正しいことを確かめてから " +
           outcome.journal + " を削除してください";
}

void ShowJournalNotice(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    // Shown as it stands: a message that names a path is no markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace kt63
