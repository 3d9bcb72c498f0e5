#include "platform/Cp932Codec.h"

#include "platform/Cp932.h"

const Cp932Codec &Cp932Codec::instance()
{
    static const Cp932Codec codec;
    return codec;
}

qsizetype Cp932Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const
{
    makeRoom(text, bytes.size());
    makeRoom(starts, bytes.size() + 1);
    return Cp932::decodeTo(bytes, text.data(), starts.data());
}

qsizetype Cp932Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text) const
{
    makeRoom(text, bytes.size());
    return Cp932::decodeTo(bytes, text.data());
}

void Cp932Codec::encodeAppend(QStringView text, QByteArray &out) const
{
    Cp932::encodeAppend(text, out);
}
