#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// One entry of a directory as the program sees it, with the attribute bits
// that the program's commands test, taken from Linux:
//   hidden    - the name begins with "."
//   system    - a symbolic link, or neither a regular file nor a directory
//   read-only - the owner's write bit is clear, whoever runs the program
//   archive   - never set
struct DirEntry
{
    QString name;      // as shown: NativeName::decode of nativeName
    QByteArray nativeName; // as on disk; what the entry is opened by
    QString upperName; // name with each code unit upper-cased, as the listing order compares it
    bool directory = false;
    bool regularFile = false;
    bool hidden = false;
    bool system = false;
    bool readOnly = false;
    qint64 size = 0;
    QDateTime modified;

    // "Exactly the directory attribute": a real directory, not a link, neither
    // hidden nor read-only.
    bool plainDirectory() const { return directory && !hidden && !system && !readOnly; }
};

class DirectoryListing
{
public:
    // Entries of a folder, "." and ".." excluded, in the program's listing
    // order: names compared in upper case code unit by code unit, ties broken
    // by the exact name. false when the folder cannot be read.
    // fileDetails false: plain regular files are taken from the listing's own
    // entry type without a status call, so their size, modified time and
    // read-only bit are left unset (for the search's walk, which needs them
    // only for the few files it opens, and has them from the open file).
    static bool list(const QString &folder, QList<DirEntry> &entries, QString *error = nullptr,
                     bool fileDetails = true);
    // The same for a folder given by its bytes as on disk.
    static bool listNative(const QByteArray &folder, QList<DirEntry> &entries, QString *error = nullptr,
                           bool fileDetails = true);

    static bool lessByListingOrder(const QString &a, const QString &b);

    // A folder path ending in "/" (the root "/" already does).
    static QString withSeparator(const QString &folder);
};
