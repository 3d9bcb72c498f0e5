#include "platform/Utf8Codec.h"

#include "platform/TextEncoding.h"

const Utf8Codec &Utf8Codec::instance()
{
    static const Utf8Codec codec;
    return codec;
}

qsizetype Utf8Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const
{
    makeRoom(text, bytes.size());
    makeRoom(starts, bytes.size() + 1);
    return TextEncodings::decodeUtf8To(bytes, text.data(), starts.data());
}

qsizetype Utf8Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text) const
{
    makeRoom(text, bytes.size());
    return TextEncodings::decodeUtf8To(bytes, text.data());
}

void Utf8Codec::encodeAppend(QStringView text, QByteArray &out) const
{
    out.append(text.toUtf8());
}
