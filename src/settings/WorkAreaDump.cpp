#include "settings/WorkAreaDump.h"

#include "platform/PrivateFolder.h"
#include "platform/TextFile.h"
#include "workarea/WorkArea.h"

#include <QDir>
#include <QFileInfo>

const QString WorkAreaDump::kCaption = QStringLiteral("作業エリアのダンプ");

QString WorkAreaDump::File_Name(const QDateTime &now)
{
    return QStringLiteral("ListData_Output_") + now.toString(QStringLiteral("MMddHHmmss")) + QStringLiteral(".txt");
}

QStringList WorkAreaDump::dumpLines(const WorkArea &work)
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
    const ItemList &files = work.Search_Hit_File_List();
    for (int i = 0; i < files.count(); ++i) {
        out.append(files.text(i));
        out.append(QString::number(files.data(i)));
    }
    indexed("KIHON.mojisuu_count_list", work.Mojisuu_Count_List());
    indexed("KIHON.Search_Hit_File_Change.List", work.Search_Hit_File_Change());
    plain("KIHON.SEARCH_HIT_LIST.List", work.Search_Hit_List());
    plain("KIHON.Search_Hit_ALL_LINE_LIST", work.Search_Hit_All_Line_List());
    return out;
}

QString WorkAreaDump::dumpFolder()
{
    const QString tmp = qEnvironmentVariable("TMPDIR");
    return tmp.isEmpty() ? QStringLiteral("/tmp") : QDir::cleanPath(tmp);
}

WriteResult WorkAreaDump::writeDump(const WorkArea &work, const QString &folder, const QDateTime &now)
{
    WriteResult result;
    const QString name = File_Name(now);
    result.path = QDir(folder).filePath(name);
    if (!QFileInfo(folder).isDir()) {
        result.reason = QStringLiteral("フォルダー ") + folder + QStringLiteral(" がありません。");
        result.error = result.path + QStringLiteral("\r\n") + result.reason;
        return result;
    }
    // The folder is shared with every user and the name is predictable: the
    // dump must replace whatever stands at its name (a planted link
    // included) and never write through it.
    result.written = PrivateFolder::writeFile(folder, name, TextFile::encodeLines(dumpLines(work)), &result.error);
    if (!result.written)
        result.reason = result.error;
    return result;
}
