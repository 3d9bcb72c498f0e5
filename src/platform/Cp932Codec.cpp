#include "platform/Cp932Codec.h"

#include "platform/Cp932.h"

const Cp932Codec &Cp932Codec::instance()
{
    static const Cp932Codec codec;
    return codec;
}

void Cp932Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const
{
    // Never more characters than bytes.
    text.resize(size_t(bytes.size()));
    starts.resize(size_t(bytes.size()) + 1);
    const qsizetype n = Cp932::decodeTo(bytes, text.data(), starts.data());
    text.resize(size_t(n));
    starts.resize(size_t(n) + 1);
}

void Cp932Codec::encodeAppend(QStringView text, QByteArray &out) const
{
    Cp932::encodeAppend(text, out);
}
