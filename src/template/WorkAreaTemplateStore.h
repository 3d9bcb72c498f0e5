#pragma once

#include "template/TemplateStore.h"

#include <QByteArray>
#include <QString>

struct Workbench;
class WorkArea;

// The work area itself as template read and duplication see it. Each added
// file joins the file, change and origin lists, the display list (its header,
// below the column header, which the first file brings) and the all-lines
// store, and the line index is rebuilt before addFile returns; a file the
// lists have no room for leaves the lists as they were.
class WorkAreaTemplateStore : public TemplateStore
{
public:
    explicit WorkAreaTemplateStore(WorkArea &work) : m_work(work) {}

    bool isOpen(const QString &path) const override;
    qint64 storedLines() const override;
    QStringList storedEntries(const QString &path) const override;
    // A file found by a search keeps no bytes: they are read again, if the
    // file on disk is still as it was read.
    QByteArray sourceBytes(const QString &path) const override;
    TextEncoding encodingOf(const QString &path) const override;
    QByteArray nativePath(const QString &path) const override;
    bool addFile(AddedFile &&file) override;

    // What a run that added files leaves behind, as the end of a search does:
    // the column header above the first header, the result flag,
    // the list view and the status panels. Files were added when `added`.
    static void finishRun(Workbench &wb, bool added);

private:
    WorkArea &m_work;
    // The last file read again, with the stamp it matched: a source made
    // into a hundred files is read once, and its made files share one copy.
    mutable QString m_readPath;
    mutable qint64 m_readStamp = -1;
    mutable QByteArray m_read;
};
