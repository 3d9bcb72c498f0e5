#include "search/ResultFile.h"

#include "platform/TextFile.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <QFile>

#include <sys/stat.h>

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

QString ResultFile::Target_Problem(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {}; // absent (or unreachable: the write reports that)
    return path + QStringLiteral("\r\n通常のファイルではないため、書き込みません。");
}

bool ResultFile::Write_Result_File(const WorkArea &work, const QString &path, QString *error)
{
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("結果を出力するファイルの名前がありません。");
        return false;
    }
    if (const QString problem = Target_Problem(path); !problem.isEmpty()) {
        if (error)
            *error = problem;
        return false;
    }
    return TextFile::writeLines(path, Result_Lines(work), error);
}

QString ResultFile::Done_Message(const QString &path, bool stopped)
{
    const QString done = path + QStringLiteral("へ結果を出力しました。");
    return stopped ? QStringLiteral("サーチ実行は中断されました。\r\n") + done : done;
}
