#pragma once

#include "platform/TextCodec.h"

// UTF-8 as a TextCodec (the mark, if any, is not part of a line). A byte
// that is not part of a valid sequence decodes to one raw-byte character
// (U+F700 + byte) whose bytes are that byte alone, so that it is kept
// wherever a change leaves it; text written fresh is always valid UTF-8.
class Utf8Codec : public TextCodec
{
public:
    static const Utf8Codec &instance();

    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const override;
    qsizetype decode(QByteArrayView bytes, std::vector<char16_t> &text) const override;
    void encodeAppend(QStringView text, QByteArray &out) const override;
};
