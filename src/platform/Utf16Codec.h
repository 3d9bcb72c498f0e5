#pragma once

#include "platform/TextCodec.h"

// UTF-16 in one byte order as a TextCodec: each unit is two bytes, a
// surrogate pair one character of four. An odd last byte decodes to its
// raw-byte character (U+F700 + byte), which the line keeps while it is not
// changed.
class Utf16Codec : public TextCodec
{
public:
    static const Utf16Codec &littleEndian();
    static const Utf16Codec &bigEndian();

    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const override;
    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text) const override;
    void encodeAppend(QStringView text, QByteArray &out) const override;

private:
    explicit Utf16Codec(bool bigEndian) : m_bigEndian(bigEndian) {}

    bool m_bigEndian;
};
