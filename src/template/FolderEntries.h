#pragma once

#include "platform/DirectoryListing.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// The folder and file lists of the template-read and parameter-card dialogs.
//
// A name's identifier is the whole text after its last "."; as in the search
// walk it is compared with the identifier list without regard to letter
// case, so notes.txt is offered for TXT.
class FolderEntries
{
public:
    // Both in listing order (upper case, then the exact name).
    QStringList folders; // ".." and the plain sub-folders
    QStringList files;   // names whose identifier is a non-empty entry of SIKIBETU
    // The same names as on disk, parallel to the two lists: a name that is
    // not UTF-8 is opened by these bytes, never by its shown text.
    QList<QByteArray> nativeFolders;
    QList<QByteArray> nativeFiles;

    // Sorts a folder's entries into the two lists. Only a plain directory is
    // a folder; a hidden, read-only or linked one is treated like a file. Any
    // other entry named "RECYCLED" is left out. ".." is offered everywhere
    // but at "/".
    static FolderEntries ListFolderEntries(const QString &folder, const QList<DirEntry> &entries,
                                           const std::array<QString, 20> &SIKIBETU);
    // Lists the folder given by its bytes; false with the reason when it
    // cannot be read.
    static bool ListFolderEntries(const QByteArray &nativeFolder, const std::array<QString, 20> &SIKIBETU,
                                  FolderEntries &out, QString *error = nullptr);

    // The text after the last "." of a name, upper-cased; empty when it has
    // none.
    static QString identifierOfName(QStringView name);
};
