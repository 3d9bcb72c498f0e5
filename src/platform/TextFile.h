#pragma once

#include <QFileDevice>

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// Line-oriented text files in code page 932.
// Reading: a line ends at CR LF, LF or a lone CR; a last line without a break
// still counts; an empty file is one empty line.
// Writing: every line followed by CR LF; the file is replaced whole (written to
// a temporary file and renamed), so a failed write leaves the old file intact.
class TextFile
{
public:
    // Splits raw bytes into lines (still code page 932 bytes).
    static QList<QByteArrayView> splitLines(QByteArrayView bytes);

    // Reads the whole file; false with a Japanese reason in *error on failure.
    static bool readBytes(const QString &path, QByteArray &bytes, QString *error = nullptr);
    static bool readLines(const QString &path, QStringList &lines, QString *error = nullptr);

    static QByteArray encodeLines(const QStringList &lines);
    // Written whole or not at all. mode: the permissions the file gets
    // before anything is written into it (none: those of the file it
    // replaces, else the usual ones for a new file).
    static bool writeBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr,
                           std::optional<QFileDevice::Permissions> mode = std::nullopt);
    static bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr);
};
