#include "workarea/WorkArea.h"

#include "workarea/LineFormat.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

// Which file a file header stands for, by the file keys of the work area.
class HeaderFiles
{
public:
    explicit HeaderFiles(const WorkArea &work) : m_work(work)
    {
        for (int i = 0; i < work.Search_Hit_File_List().count(); ++i)
            m_byKey.insert(work.File_Key(i), i);
    }

    int fileOf(int k) const
    {
        const ItemList &display = m_work.Search_Hit_List();
        if (k < 0 || k >= display.count() || !LineFormat::Is_Header(display.text(k)))
            return -1;
        const QString &kept = m_work.headerFileKey(k);
        if (!kept.isEmpty()) {
            if (const int i = byKey(kept); i >= 0)
                return i;
        }
        const QString &text = display.text(k);
        if (text.contains(LineFormat::kSeparator))
            return byKey(LineFormat::headerKey(text));
        // The header was cut before its separator: what is left of the path
        // is a prefix of the key (perhaps ending in part of ":@:"). Only a
        // single file with that prefix is taken.
        QString prefix = QStringView(text).mid(std::min<qsizetype>(14, text.size())).toString();
        if (prefix.endsWith(QLatin1String(":@")))
            prefix.chop(2);
        else if (prefix.endsWith(QLatin1Char(':')))
            prefix.chop(1);
        prefix = prefix.trimmed();
        if (prefix.isEmpty())
            return -1;
        int found = -1;
        for (int i = 0; i < m_work.Search_Hit_File_List().count(); ++i) {
            if (m_work.File_Key(i).startsWith(prefix)) {
                if (found >= 0)
                    return -1;
                found = i;
            }
        }
        return found;
    }

private:
    int byKey(const QString &key) const
    {
        const auto it = m_byKey.constFind(key);
        return it == m_byKey.cend() ? -1 : *it;
    }

    const WorkArea &m_work;
    QHash<QString, int> m_byKey;
};

} // namespace

WorkArea::Range WorkArea::fileLineRange(int file) const
{
    const ItemList &files = m_fileList;
    if (file < 0 || file >= files.count())
        return {};
    const int last = file + 1 < files.count() ? files.data(file + 1) - 1 : m_allLines.count() - 1;
    return {files.data(file), std::min(last, m_allLines.count() - 1)};
}

QString WorkArea::storedKey(int file) const
{
    const Range range = fileLineRange(file);
    if (range.isEmpty())
        return file >= 0 && file < m_fileList.count() ? File_Key(file) : QString();
    return LineFormat::Entry_Key(m_allLines.text(range.first)).toString();
}

int WorkArea::headerFileIndex(int k) const
{
    return HeaderFiles(*this).fileOf(k);
}

QList<WorkArea::Range> WorkArea::fileDisplayBlocks() const
{
    QList<Range> blocks(m_fileList.count());
    const HeaderFiles headers(*this);
    const ItemList &display = m_hitList;
    int current = -1;
    for (int k = 0; k < display.count(); ++k) {
        if (!LineFormat::Is_Header(display.text(k)))
            continue;
        if (current >= 0)
            blocks[current].last = k - 1;
        current = headers.fileOf(k);
        // A second header of one file is no block of it.
        if (current >= 0 && !blocks[current].isEmpty())
            current = -1;
        if (current >= 0)
            blocks[current] = {k, k};
    }
    if (current >= 0)
        blocks[current].last = display.count() - 1;
    return blocks;
}

bool WorkArea::replaceStoredLine(int index, const QString &entry)
{
    ItemList &store = m_allLines;
    if (index < 0 || index >= store.count())
        return false;
    const QString &old = store.text(index);
    const qsizetype kept = LineFormat::entryTextStart(old);
    // Beginning with the old key, line number and both separators, the new
    // entry has them where the old one had them. An entry without a text
    // field has nothing that may change.
    if (kept == old.size() ? entry != old : !entry.startsWith(QStringView(old).left(kept)))
        return false;
    store.setText(index, entry);
    return true;
}

bool WorkArea::replaceDisplayLines(const QList<DisplayText> &lines)
{
    ItemList &display = m_hitList;
    for (const DisplayText &line : lines) {
        if (line.index < 0 || line.index >= display.count() || line.index >= m_countList.count())
            return false;
        if (LineFormat::Is_Header(display.text(line.index)) != LineFormat::Is_Header(line.text))
            return false;
    }
    int from = display.count();
    for (const DisplayText &line : lines) {
        const FittedLine fitted = LineFormat::Fit_Display_Line(line.text);
        display.setText(line.index, fitted.text);
        display.setData(line.index, fitted.byteLength);
        m_countList.setText(line.index, QString::number(fitted.charCount));
        from = std::min(from, line.index);
    }
    refreshTotals(from);
    return true;
}

bool WorkArea::replaceFileLines(int file, QStringList entries)
{
    const Range range = fileLineRange(file);
    if (range.isEmpty() || !isRunOf(storedKey(file), entries))
        return false;
    const int delta = int(entries.size()) - range.size();
    if (delta > 0 && m_allLines.count() + delta > kAdmissionLimit)
        return false;
    if (!m_allLines.replaceRange(range.first, range.size(), std::move(entries)))
        return false;
    shiftFileStarts(file, delta);
    return true;
}

bool WorkArea::dropFile(int file)
{
    if (file < 0 || file >= m_fileList.count() || file >= m_changeList.count())
        return false;
    const Range lines = fileLineRange(file);
    const Range block = fileDisplayBlocks().value(file);

    m_allLines.removeRange(lines.first, lines.size());
    shiftFileStarts(file, -lines.size());
    if (!block.isEmpty()) {
        m_hitList.removeRange(block.first, block.size());
        m_countList.removeRange(block.first, block.size());
        refreshTotals(block.first);
    }
    // The file's own items, and with them every item kept parallel to them.
    removeFile(file);
    recomputeHozonFlag();
    return true;
}

void WorkArea::setFileChanged(int file, bool changed)
{
    if (file < 0 || file >= m_changeList.count())
        return;
    m_changeList.setData(file, changed ? 1 : 0);
    // A replace marks file after file: setting a flag needs no scan.
    if (changed)
        Hozon_Flag = 1;
    else
        recomputeHozonFlag();
}

void WorkArea::recomputeHozonFlag()
{
    Hozon_Flag = 0;
    for (int i = 0; i < m_changeList.count(); ++i)
        if (m_changeList.data(i) != 0)
            Hozon_Flag = 1;
}

void WorkArea::refreshTotals(int from)
{
    ItemList &counts = m_countList;
    qint32 total = from > 0 && from <= counts.count() ? counts.data(from - 1) : 0;
    for (int k = std::max(from, 0); k < counts.count(); ++k) {
        total += counts.text(k).toInt();
        counts.setData(k, total);
    }
}

void WorkArea::shiftFileStarts(int file, int delta)
{
    if (delta == 0)
        return;
    ItemList &files = m_fileList;
    for (int i = file + 1; i < files.count(); ++i)
        files.setData(i, files.data(i) + delta);
}

QStringList WorkArea::invariantErrors() const
{
    QStringList errors;
    const ItemList &files = m_fileList;
    const ItemList &changes = m_changeList;
    const ItemList &store = m_allLines;
    const ItemList &display = m_hitList;
    const ItemList &counts = m_countList;

    if (files.count() != changes.count())
        errors << QStringLiteral("file list holds %1 items, change list %2").arg(files.count()).arg(changes.count());
    for (int i = 0; i < std::min(files.count(), changes.count()); ++i)
        if (files.text(i) != changes.text(i))
            errors << QStringLiteral("file %1: change list holds %2").arg(files.text(i), changes.text(i));

    if (m_origins.size() != files.count())
        errors << QStringLiteral("file list holds %1 items, origin list %2").arg(files.count()).arg(m_origins.size());

    QSet<QString> seen;
    for (int i = 0; i < files.count(); ++i) {
        if (seen.contains(File_Key(i)))
            errors << QStringLiteral("file %1 is in the file list twice").arg(files.text(i));
        seen.insert(File_Key(i));
    }

    // The stored lines: one run per file, in file-list order, each of one
    // key and in the store's order, and the line index pointing at each.
    int k = 0;
    for (int i = 0; i < files.count(); ++i) {
        if (k >= store.count()) {
            errors << QStringLiteral("file %1 has no stored lines").arg(files.text(i));
            continue;
        }
        const QStringView key = LineFormat::Entry_Key(store.text(k));
        if (key != File_Key(i))
            errors << QStringLiteral("file %1: stored lines from %2 are of %3").arg(files.text(i)).arg(k).arg(key.toString());
        const int start = k;
        for (; k < store.count() && LineFormat::Entry_Key(store.text(k)) == key; ++k) {
            if (k > start && ItemList::compare(store.text(k - 1), store.text(k)) > 0)
                errors << QStringLiteral("file %1: stored line %2 out of order").arg(files.text(i)).arg(k);
        }
        if (files.data(i) != start)
            errors << QStringLiteral("file %1: the line index says %2, its lines start at %3")
                          .arg(files.text(i)).arg(files.data(i)).arg(start);
    }
    if (k != store.count())
        errors << QStringLiteral("stored lines %1 to %2 belong to no file").arg(k).arg(store.count() - 1);

    // The display lines.
    if (display.count() != counts.count())
        errors << QStringLiteral("display list holds %1 items, count list %2").arg(display.count()).arg(counts.count());
    if (!display.isEmpty() && display.text(0) != LineFormat::Fit_Display_Line(LineFormat::kColumnHeader).text)
        errors << QStringLiteral("display line 0 is not the column heading");
    qint32 total = 0;
    for (int k = 0; k < std::min(display.count(), counts.count()); ++k) {
        // Fitting a fitted line gives it back; its byte length may count the
        // cut's extra space or not: any length covering the line means all of it.
        const FittedLine fitted = LineFormat::Fit_Display_Line(display.text(k));
        if (fitted.text != display.text(k) || display.data(k) < 2 * display.text(k).size())
            errors << QStringLiteral("display line %1 is not fitted: %2").arg(k).arg(display.text(k));
        if (counts.text(k) != QString::number(fitted.charCount))
            errors << QStringLiteral("display line %1 counts %2, not %3").arg(k).arg(counts.text(k)).arg(fitted.charCount);
        total += counts.text(k).toInt();
        if (counts.data(k) != total) {
            errors << QStringLiteral("running total of display line %1 is %2, not %3").arg(k).arg(counts.data(k)).arg(total);
            break;
        }
    }
    const HeaderFiles headers(*this);
    QList<int> headerCount(files.count(), 0);
    for (int k = 0; k < display.count(); ++k) {
        if (!LineFormat::Is_Header(display.text(k)))
            continue;
        const int file = headers.fileOf(k);
        if (file < 0)
            errors << QStringLiteral("header %1 stands for no file: %2").arg(k).arg(display.text(k));
        else
            ++headerCount[file];
    }
    for (int i = 0; i < files.count(); ++i)
        if (headerCount[i] != 1)
            errors << QStringLiteral("file %1 has %2 headers").arg(files.text(i)).arg(headerCount[i]);
    return errors;
}
