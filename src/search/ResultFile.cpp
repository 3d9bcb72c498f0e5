#include "search/ResultFile.h"

#include "platform/TextFile.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

const QString ResultFile::kCaption = QStringLiteral("サーチ実行");

QStringList ResultFile::Result_Lines(const WorkArea &work)
{
    QStringList out;
    const ItemList &display = work.Search_Hit_List;
    out.reserve(display.count());
    for (int i = 0; i < display.count(); ++i) {
        QString line = display.text(i);
        const qsizetype p = line.indexOf(LineFormat::kSeparator);
        if (p >= 0)
            line.replace(p, LineFormat::kSeparator.size(), QStringLiteral("   "));
        out.append(line);
    }
    return out;
}

WriteResult ResultFile::Write_Result_File(const WorkArea &work, const QString &path)
{
    WriteResult result;
    result.path = path;
    if (path.isEmpty())
        result.reason = QStringLiteral("結果を出力するファイルの名前がありません。");
    else
        result.written = TextFile::writeLines(path, Result_Lines(work), &result.reason);
    return result;
}

QString ResultFile::Done_Message(const QString &path, bool stopped)
{
    const QString done = path + QStringLiteral("へ結果を出力しました。");
    return stopped ? QStringLiteral("サーチ実行は中断されました。\r\n") + done : done;
}
