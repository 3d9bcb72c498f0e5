#pragma once

#include "platform/TextCodec.h"

// Code page 932 as a TextCodec: each UTF-16 unit is one character of one
// or two bytes (bytes that are not valid code page 932 decode to one
// character each, which encodes back to them).
class Cp932Codec : public TextCodec
{
public:
    static const Cp932Codec &instance();

    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const override;
    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text) const override;
    void encodeAppend(QStringView text, QByteArray &out) const override;
};
