#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File and folder names as Linux holds them: bytes, with no encoding of
// their own. A name that is valid UTF-8 is shown as UTF-8; any other (a raw
// Shift-JIS name unpacked from an archive) is
// shown decoded as code page 932, which keeps every byte (see Cp932). The
// shown text is for people and for the work area's keys; a file is opened
// again only by the bytes it was found under, never by its shown text turned
// back into bytes.
class NativeName
{
public:
    static bool isUtf8(QByteArrayView bytes);
    // One name (no "/"): UTF-8 when valid, else code page 932.
    static QString decode(QByteArrayView bytes);
    // A path: each "/"-separated part decoded on its own, so that one
    // Shift-JIS folder does not turn its UTF-8 neighbours into mojibake.
    static QString decodePath(QByteArrayView path);
    // The bytes of a path that was typed or stored as text.
    static QByteArray encode(QStringView text);
    // The bytes that decodePath shows as its first `chars` characters (a
    // path cut short on screen, given back in the bytes a shell can use).
    static QByteArray prefixBytes(QByteArrayView path, qsizetype chars);
    // The current folder's bytes, whatever its name (empty when it has
    // none, as when it was removed).
    static QByteArray currentFolder();
    // path made absolute against the current folder, without ".", ".." or
    // doubled "/" (links are not followed), by its bytes.
    static QByteArray absolutePath(QByteArrayView path);
    // The file a path leads to, links followed, so that a file reached by
    // two names is known as one; the path itself when it cannot be resolved.
    static QByteArray realFile(const QByteArray &path);
};
