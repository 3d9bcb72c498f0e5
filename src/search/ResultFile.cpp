#include "search/ResultFile.h"

#include "platform/FileReplacer.h"
#include "platform/NativeName.h"
#include "platform/TextFile.h"
#include "workarea/LineFormat.h"
#include "workarea/WorkArea.h"

#include <QDateTime>
#include <QFile>

#include <sys/stat.h>

const QString ResultFile::kCaption = QStringLiteral("サーチ実行");

QStringList ResultFile::resultLines(const WorkArea &work)
{
    QStringList out;
    const ItemList &display = work.Search_Hit_List();
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

QString ResultFile::targetProblem(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {}; // absent (or unreachable: the write reports that)
    return path + QStringLiteral("\r\n通常のファイルではないため、書き込みません。");
}

QByteArray ResultFile::shellText(const WorkArea &work, bool withDateSize)
{
    const QStringList lines = resultLines(work);
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QString key = work.headerFileKey(int(i));
        const int file = key.isEmpty() ? -1 : work.Search_Hit_File_List().indexOf(key);
        if (file < 0) {
            out += line.toUtf8();
        } else {
            constexpr qsizetype kPrefix = 14;
            const QString prefix = line.left(kPrefix);
            QString whole = line;
            if (!line.startsWith(prefix + key + QLatin1Char(' '))) {
                // Cut within its path: the header as it was before fitting.
                const FileOrigin &origin = work.fileOrigins().at(file);
                const QString suffix = withDateSize ? LineFormat::dateSizeSuffix(
                                           QDateTime::fromSecsSinceEpoch(origin.modifiedNsecs / 1000000000),
                                           origin.size)
                                                    : QString();
                whole = LineFormat::fileHeader(prefix, key, suffix);
                whole.replace(whole.indexOf(LineFormat::kSeparator), LineFormat::kSeparator.size(),
                              QStringLiteral("   "));
            }
            out += prefix.toUtf8();
            out += work.nativePath(file);
            out += QStringView(whole).mid(kPrefix + key.size()).toUtf8();
        }
        out += '\n';
    }
    return out;
}

WriteResult ResultFile::writeResultFile(const WorkArea &work, const QString &path)
{
    WriteResult result;
    result.path = path;
    if (path.isEmpty())
        result.reason = QStringLiteral("結果を出力するファイルの名前がありません。");
    else if (const QString problem = targetProblem(path); !problem.isEmpty())
        result.reason = problem;
    else {
        // As a save writes a file: no planted link followed, a read-only
        // file left alone, owner and hard links kept.
        const WriteResult written = FileReplacer::replaceWhole(QFile::encodeName(path),
                                                               TextFile::encodeLines(resultLines(work)));
        result.written = written.written;
        result.reason = written.error;
    }
    return result;
}

QString ResultFile::doneMessage(const QString &path, bool stopped)
{
    const QString done = path + QStringLiteral("へ結果を出力しました。");
    return stopped ? QStringLiteral("サーチ実行は中断されました。\r\n") + done : done;
}
