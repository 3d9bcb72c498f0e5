#pragma once

#include <QByteArray>
#include <QString>

// A folder that only the user can enter, for files the program writes for
// itself (the result documents the views load). Whoever else can write into
// the folder, or owns it, or owns a link on the way to it, could have the
// program write through a link of theirs into a file it must not touch; such
// a folder is refused, never repaired.
class PrivateFolder
{
public:
    // $XDG_CACHE_HOME/quav (an absolute XDG_CACHE_HOME only), else
    // ~/.cache/quav.
    static QString cachePath();

    // Makes sure `folder` can be used: creates it (and missing parents) with
    // mode 0700. The folder must be a directory owned by the user, reached
    // either directly or through a link the user owns; a folder of the user
    // that others may enter is closed to them (0700). false with a Japanese
    // reason otherwise.
    static bool prepare(const QString &folder, QString *error = nullptr);

    // Writes `bytes` as folder/name: a new file created beside it and renamed
    // over the name, so a link planted at the name is replaced, never
    // followed, and a failed write leaves the old file as it was. false with
    // a Japanese reason.
    static bool writeFile(const QString &folder, const QString &name, const QByteArray &bytes,
                          QString *error = nullptr);
};
