#pragma once

#include "platform/NativeName.h"
#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One file ready to join the work area whole: a template read from disk or a
// file made by duplication. Built completely before anything is added, so the
// work area holds all of a file or none of it.
struct AddedFile
{
    QString path;        // as on disk; file list, change list and key of every entry
    QString header;      // its file header, before fitting to 83 columns
    QStringList entries; // "path:@:000001.000:@:text", in line order
    bool changed = false; // the change flag it starts with (1 for a made file)

    // The bytes the lines were read from: a template's as read, a made
    // file's template's (whose bytes and breaks it keeps when saved); empty
    // when there are none.
    QByteArray bytes;
    // A file read from disk, as it was read: what a save needs to notice a
    // change on disk meanwhile. Unset for a made file, never on disk.
    qint64 size = -1;
    qint64 modifiedNsecs = -1; // since 1970, as the file system keeps it
    // What its lines were read in (a made file: its template's), and what
    // it is written in.
    TextEncoding encoding = TextEncoding::Cp932;
    QByteArray nativePath;     // the bytes it was read by; empty: the path's UTF-8 form
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
    // The bytes that file's lines were read from, as they were then (see
    // AddedFile::bytes); empty when they are not to be had, as for a file
    // changed on disk since.
    virtual QByteArray sourceBytes(const QString &path) const = 0;
    // The encoding that file's lines were read in.
    virtual TextEncoding encodingOf(const QString &path) const = 0;
    // The bytes a file of the work area is on disk by.
    virtual QByteArray nativePath(const QString &path) const { return NativeName::encode(path); }
    // Adds the file to the file and change lists, its header to the display
    // lines and its entries to the all-lines store, then rebuilds the line
    // index, so that the next storedEntries sees the file. false, with
    // nothing added, when a list has no room left for it.
    virtual bool addFile(AddedFile &&file) = 0;
};
