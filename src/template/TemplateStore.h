#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One file ready to join the work area whole: a template read from disk or a
// file made by duplication. Built completely before anything is added, so the
// work area holds all of a file or none of it.
struct AddedFile
{
    QString path;        // as shown; file list, change list and key of every entry
    QString header;      // its file header, before fitting to 83 columns
    QStringList entries; // "path:@:000001.000:@:text", in line order
    bool changed = false; // the change flag it starts with (1 for a made file)

    // A file read from disk, as it was read: what a save needs to keep the
    // bytes of unchanged lines and to notice a change on disk meanwhile.
    // Empty and unset for a made file, which has never been on disk.
    QByteArray bytes;
    qint64 size = -1;
    qint64 modifiedNsecs = -1; // since 1970, as the file system keeps it
    // The path's bytes on disk; empty: the path's UTF-8 form.
    QByteArray nativePath;
};

// What template read and duplication need of the work area. Paths compare
// exactly (a file's key is its path as on disk).
class TemplateStore
{
public:
    virtual ~TemplateStore() = default;

    // Is_File_Open.
    virtual bool isOpen(const QString &path) const = 0;
    // Entries now held in the all-lines store.
    virtual qint64 storedLines() const = 0;
    // The all-lines entries of one file of the work area, in order; empty
    // when the file is not there.
    virtual QStringList storedEntries(const QString &path) const = 0;
    // Adds the file to the file and change lists, its header to the display
    // lines and its entries to the all-lines store, then rebuilds the line
    // index, so that the next storedEntries sees the file. false, with
    // nothing added, when a list has no room left for it.
    virtual bool addFile(AddedFile &&file) = 0;
    // The bytes on disk of a file held; empty when they are its path's UTF-8
    // form.
    virtual QByteArray nativePathOf(const QString &path) const
    {
        Q_UNUSED(path);
        return {};
    }
};
