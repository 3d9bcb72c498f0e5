#pragma once

#include "platform/TextEncoding.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <vector>

// The encoding of a text file, one line at a time, as a save needs it: the
// text of a line's bytes together with where each character's bytes lie,
// and the bytes of new text. A file is written back in the encoding it was
// read with.
class TextCodec
{
public:
    virtual ~TextCodec() = default;

    // The codec of a file of that encoding (one for both UTF-8 forms: the
    // mark is not part of any line).
    static const TextCodec &forEncoding(TextEncoding e);

    // Decodes a line into text; the number of UTF-16 units written. The
    // vectors are grown as needed and never shrunk, so that the lines of a
    // file reuse them. starts gets one entry per unit plus one for the end:
    // unit i's character begins at byte starts[i], and starts[count] is
    // bytes.size(). A unit that continues a character (the second half of a
    // surrogate pair) repeats the start of the unit before it, so that
    // [starts[a], starts[b]) are the bytes of units [a, b) whenever a and b
    // begin characters.
    virtual qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const = 0;
    // The text alone, for the common case of a line saved unchanged.
    virtual qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text) const = 0;
    // The bytes of text written fresh.
    virtual void encodeAppend(QStringView text, QByteArray &out) const = 0;

protected:
    // Room for the units of size bytes: neither code page 932 nor UTF-8
    // gives more UTF-16 units than it has bytes.
    template <typename T>
    static void makeRoom(std::vector<T> &v, qsizetype size)
    {
        if (v.size() < size_t(size))
            v.resize(size_t(size));
    }
};
