#include "platform/Utf16Codec.h"


const Utf16Codec &Utf16Codec::littleEndian()
{
    static const Utf16Codec codec(false);
    return codec;
}

const Utf16Codec &Utf16Codec::bigEndian()
{
    static const Utf16Codec codec(true);
    return codec;
}

qsizetype Utf16Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text, std::vector<int> &starts) const
{
    const qsizetype count = decode(bytes, text);
    makeRoom(starts, count + 1);
    for (qsizetype i = 0; i < count; ++i) {
        // The low half of a pair starts where its high half does.
        const bool continues = i > 0 && QChar::isLowSurrogate(text[size_t(i)])
            && QChar::isHighSurrogate(text[size_t(i) - 1]) && starts[size_t(i) - 1] == int(2 * (i - 1));
        starts[size_t(i)] = continues ? starts[size_t(i) - 1] : int(2 * i);
    }
    starts[size_t(count)] = int(bytes.size());
    return count;
}

qsizetype Utf16Codec::decode(QByteArrayView bytes, std::vector<char16_t> &text) const
{
    makeRoom(text, TextEncodings::utf16Units(bytes));
    return TextEncodings::decodeUtf16To(bytes, m_bigEndian, text.data());
}

void Utf16Codec::encodeAppend(QStringView text, QByteArray &out) const
{
    out.reserve(out.size() + 2 * text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        out.append(m_bigEndian ? hi : lo);
        out.append(m_bigEndian ? lo : hi);
    }
}
