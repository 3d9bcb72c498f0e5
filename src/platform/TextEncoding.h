#pragma once

#include <QByteArrayView>
#include <QString>

// The encoding of one text file, decided once from its bytes when it is first
// read and kept with the file's origin, so that every later read and write of
// it uses the same one.
enum class TextEncoding : quint8 {
    Cp932,   // code page 932 (also every pure ASCII file)
    Utf8,    // valid UTF-8 holding a multi-byte sequence, no mark
    Utf8Bom, // starts with EF BB BF
    Utf16LE, // starts with FF FE
    Utf16BE, // starts with FE FF
};

// How files are read: `Detect` applies the rule below, `Cp932` reads every
// file as code page 932.
enum class EncodingChoice : quint8 { Detect, Cp932 };

class TextEncodings
{
public:
    // The rule: a byte-order mark decides; otherwise a file that is valid
    // UTF-8 throughout and holds at least one multi-byte sequence is UTF-8;
    // otherwise code page 932.
    static TextEncoding detect(QByteArrayView bytes);
    // The encoding a byte-order mark at the start of bytes gives; nothing
    // (Cp932) when there is none. markFound: whether there was one.
    static TextEncoding fromMark(QByteArrayView bytes, bool *markFound);
    // Bytes of the mark at the start of a file of this encoding.
    static qsizetype markSize(TextEncoding e);
    static bool isUtf16(TextEncoding e) { return e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE; }
    static bool isUtf8(TextEncoding e) { return e == TextEncoding::Utf8 || e == TextEncoding::Utf8Bom; }

    // How the user sees it: "Shift-JIS", "UTF-8", "UTF-8 (BOM)", …
    static QString name(TextEncoding e);

    // "auto" / "cp932", as the setting and the command line spell them;
    // anything else is no choice.
    static bool parseChoice(QStringView text, EncodingChoice *choice);
    static QString choiceName(EncodingChoice choice);

    // UTF-8 bytes (no mark) into out, which has room for bytes.size()
    // characters (never more are written: a sequence gives at most as many
    // UTF-16 units as it has bytes); the number written. A byte that is not
    // part of a valid sequence becomes the raw-byte character U+F700 + byte,
    // as code page 932 decoding does, so that it can be written back as it was.
    static qsizetype decodeUtf8To(QByteArrayView bytes, char16_t *out);
    // The same, with where each unit's character begins, as
    // TextCodec::decode tells it (starts has room for bytes.size() + 1).
    static qsizetype decodeUtf8To(QByteArrayView bytes, char16_t *out, int *starts);
    // A UTF-16 file's bytes after its mark, whole. A last odd byte becomes
    // its raw-byte character; lone surrogates are kept as they are.
    static QString decodeUtf16(QByteArrayView bytes, bool bigEndian);
    // The same into out, which has room for utf16Units(bytes) characters;
    // the number written (always that many).
    static qsizetype decodeUtf16To(QByteArrayView bytes, bool bigEndian, char16_t *out);
    static qsizetype utf16Units(QByteArrayView bytes) { return bytes.size() / 2 + bytes.size() % 2; }
};

// Whether bytes arriving piece by piece are valid UTF-8, each byte looked at
// once; it stops looking at the first invalid byte, which in a code page 932
// file with Japanese text is nearly always within its first few characters.
class Utf8Check
{
public:
    // Takes in bytes from checked() on; `bytes` is everything so far. last:
    // no more bytes will come (a sequence cut by the end is then invalid).
    void feed(QByteArrayView bytes, bool last);
    bool valid() const { return m_valid; }
    bool sawMultiByte() const { return m_multiByte; }
    qsizetype checked() const { return m_checked; }
    // The first n bytes were taken away from the front of what is fed.
    void dropped(qsizetype n) { m_checked = m_checked > n ? m_checked - n : 0; }
    // Valid throughout and holding a multi-byte sequence: only meaningful
    // once the last bytes were fed.
    bool isUtf8() const { return m_valid && m_multiByte; }

private:
    qsizetype m_checked = 0;
    bool m_valid = true;
    bool m_multiByte = false;
};
