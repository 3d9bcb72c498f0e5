#include "settings/WorkAreaDump.h"

#include "platform/TextFile.h"
#include "workarea/WorkArea.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

const QString WorkAreaDump::kCaption = QStringLiteral("作業エリアのダンプ");

QString WorkAreaDump::File_Name(const QDateTime &now)
{
    return QStringLiteral("ListData_Output_") + now.toString(QStringLiteral("MMddHHmmss")) + QStringLiteral(".txt");
}

QStringList WorkAreaDump::Dump_Lines(const WorkArea &work)
{
    const QString separator(54, QLatin1Char('-'));
    QStringList out;
    auto indexed = [&](const char *title, const ItemList &list) {
        out.append(separator);
        out.append(QString::fromLatin1(title));
        for (int i = 0; i < list.count(); ++i)
            out.append(QString::number(i) + QLatin1Char(' ') + list.text(i) + QLatin1Char(' ')
                       + QString::number(list.data(i)));
    };
    auto plain = [&](const char *title, const ItemList &list) {
        out.append(separator);
        out.append(QString::fromLatin1(title));
        for (int i = 0; i < list.count(); ++i)
            out.append(list.text(i));
    };

    out.append(QStringLiteral("KIHON.Search_Hit_File_List"));
    const ItemList &files = work.Search_Hit_File_List;
    for (int i = 0; i < files.count(); ++i) {
        out.append(files.text(i));
        out.append(QString::number(files.data(i)));
    }
    indexed("KIHON.mojisuu_count_list", work.Mojisuu_Count_List);
    indexed("KIHON.Search_Hit_File_Change.List", work.Search_Hit_File_Change);
    plain("KIHON.SEARCH_HIT_LIST.List", work.Search_Hit_List);
    plain("KIHON.Search_Hit_ALL_LINE_LIST", work.Search_Hit_All_Line_List);
    return out;
}

QString WorkAreaDump::Dump_Folder()
{
    const QString tmp = qEnvironmentVariable("TMPDIR");
    return tmp.isEmpty() ? QStringLiteral("/tmp") : QDir::cleanPath(tmp);
}

WriteResult WorkAreaDump::Write_Dump(const WorkArea &work, const QString &folder, const QDateTime &now)
{
    WriteResult result;
    result.path = QDir(folder).filePath(File_Name(now));
    if (!QFileInfo(folder).isDir()) {
        result.reason = QStringLiteral("フォルダー ") + folder + QStringLiteral(" がありません。");
        result.error = result.path + QStringLiteral("\r\n") + result.reason;
        return result;
    }
    // The folder is shared with every user and the name is predictable: the
    // dump is written to a new private file (mode 0600, created exclusively)
    // and renamed onto its name, which replaces whatever stands there (a
    // planted link included) and never writes through it.
    auto fail = [&](const QString &reason) {
        result.reason = QStringLiteral("ファイルに書き込めません。（") + reason + QStringLiteral("）");
        result.error = result.path + QStringLiteral("\r\n") + result.reason;
        return result;
    };
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("ListData_Output_XXXXXX.tmp")));
    if (!file.open())
        return fail(file.errorString());
    const QByteArray bytes = TextFile::encodeLines(Dump_Lines(work));
    if (file.write(bytes) != bytes.size() || !file.flush())
        return fail(file.errorString());
    if (::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(result.path).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    file.setAutoRemove(false);
    result.written = true;
    return result;
}
