#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Code page 932 (Windows-31J), the encoding of every text file the program
// reads or writes. Tables are built once; no conversion per call goes through
// a general-purpose codec.
//
// Bytes that are not valid code page 932 (a lone 0x80, 0xA0, 0xFD-0xFF, a lead
// byte without a valid trail) decode to U+F700 + byte, a private-use character
// that encodes back to the same byte: a file read and written unchanged keeps
// its bytes, even where they are not valid text.
class Cp932
{
public:
    static constexpr char16_t kRawByteBase = 0xF700;

    // One character: 1 or 2 bytes; characters without a mapping count as the
    // single substitute byte '?'.
    static int byteWidth(QChar c) { return byteWidth(c.unicode()); }
    static int byteWidth(char16_t c);

    // Code page 932 code of a character: < 0x100 single byte, else lead << 8 | trail.
    // Unmapped characters give '?'.
    static quint16 code(char16_t c);
    static bool isMapped(char16_t c);
    // The characters of a text that have no code page 932 form, each once, in
    // order of appearance (a surrogate pair counts as one character, a lone
    // surrogate as unmapped). Empty when the whole text can be encoded.
    static QString unmappedCharacters(QStringView text);

    // A character with no code page 932 form (a surrogate pair counts as
    // one) becomes the single byte '?'.
    static QByteArray encode(QStringView text);
    static void encodeAppend(QStringView text, QByteArray &out);
    static QString decode(QByteArrayView bytes);
    // Decodes into out, which has room for bytes.size() characters (never
    // more are written); the number of characters written.
    static qsizetype decodeTo(QByteArrayView bytes, char16_t *out);
    // The same, and where each character's bytes begin: starts has room for
    // bytes.size() + 1 entries; starts[i] is the offset of character i's
    // first byte, and starts[count] is bytes.size().
    static qsizetype decodeTo(QByteArrayView bytes, char16_t *out, int *starts);

    static bool isLeadByte(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
};
