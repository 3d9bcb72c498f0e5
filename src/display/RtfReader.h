#pragma once

#include "display/RtfDocument.h"

#include <QByteArrayView>
#include <QString>

// Reads the RTF that the program writes: font and colour tables, \pard,
// \plain, \f, \fs, \cf, \par, \tab, "\'hh" bytes (decoded through code page
// 932, so a double-byte character written as two escapes is one character),
// \\ \{ \}, \uN. Unknown control words are skipped, destinations such as
// {\*...} and {\info...} are skipped whole. Malformed input (unbalanced
// braces, a cut escape, stray bytes) gives what could be read, never a crash.
class RtfReader
{
public:
    static RtfDocument parse(QByteArrayView rtf);
    // false when the file cannot be read.
    static bool readFile(const QString &path, RtfDocument &document, QString *error = nullptr);
};
