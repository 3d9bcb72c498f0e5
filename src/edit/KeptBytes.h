#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <vector>

class TextCodec;

// The bytes of a changed line that keep what the change kept: the old and
// the new text are aligned character by character (TextDiff), each kept
// character is written with its own bytes from the line as it was, and only
// the characters the change put in are encoded. A character can have more
// than one code (∵ is 87 9A and 81 E6 in code page 932) and a line may hold
// bytes that are not valid text; both survive wherever the change did not
// touch them.
class KeptBytes
{
public:
    explicit KeptBytes(const TextCodec &codec) : m_codec(codec) {}

    // Appends newText's bytes; original is the line's bytes as they were
    // (its break not included).
    void appendLine(QByteArrayView original, QStringView newText, QByteArray &out);

private:
    const TextCodec &m_codec;
    // Kept from line to line: a file of many lines decodes without
    // allocating once per line.
    std::vector<char16_t> m_text;
    std::vector<int> m_starts;
};
