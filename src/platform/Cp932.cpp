#include "platform/Cp932.h"

#include <array>
#include <memory>

namespace {

#include "platform/Cp932Table.inc"

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFC;

int leadRow(uchar lead)
{
    if (lead >= 0x81 && lead <= 0x9F)
        return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC)
        return lead - 0xE0 + 31;
    return -1;
}

char16_t decodePair(uchar lead, uchar trail)
{
    const int row = leadRow(lead);
    if (row < 0 || trail < kTrailFirst || trail > kTrailLast)
        return 0;
    return kDoubleByteTable[row][trail - kTrailFirst];
}

// Unicode -> code page 932 code; 0 = unmapped. Where several codes decode to
// one character, the encoder takes the JIS X 0208 or NEC row 13 code first,
// then the IBM extension (0xFA-0xFC) before the NEC-selected copy (0xED-0xEE),
// as the Windows-31J table does.
struct EncodeTable
{
    std::array<quint16, 0x10000> code{};
    EncodeTable()
    {
        for (int c = 0; c < 0x80; ++c)
            code[c] = quint16(c);
        for (int c = 0xA1; c <= 0xDF; ++c)
            code[0xFF61 + (c - 0xA1)] = quint16(c);
        auto fill = [this](int firstLead, int lastLead) {
            for (int lead = firstLead; lead <= lastLead; ++lead)
                for (int trail = kTrailFirst; trail <= kTrailLast; ++trail) {
                    const char16_t u = decodePair(uchar(lead), uchar(trail));
                    if (u && !code[u])
                        code[u] = quint16(lead << 8 | trail);
                }
        };
        fill(0x81, 0x9F);
        fill(0xE0, 0xEC);
        fill(0xFA, 0xFC);
        fill(0xED, 0xEE);
        fill(0xEF, 0xF9);
        for (int b = 0x80; b <= 0xFF; ++b)
            code[Cp932::kRawByteBase + b] = quint16(b);
    }
};

const EncodeTable &encodeTable()
{
    static const auto table = std::make_unique<EncodeTable>();
    return *table;
}

} // namespace

quint16 Cp932::code(char16_t c)
{
    const quint16 v = encodeTable().code[c];
    return (v || c == 0) ? v : quint16('?');
}

bool Cp932::isMapped(char16_t c)
{
    return c == 0 || encodeTable().code[c] != 0;
}

QString Cp932::unmappedCharacters(QStringView text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isMapped(c.unicode()) && !c.isSurrogate())
            continue;
        QString one(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            one.append(text.at(++i));
        if (!out.contains(one))
            out.append(one);
    }
    return out;
}

int Cp932::byteWidth(char16_t c)
{
    return code(c) > 0xFF ? 2 : 1;
}

void Cp932::encodeAppend(QStringView text, QByteArray &out)
{
    const auto &table = encodeTable().code;
    out.reserve(out.size() + text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        quint16 v = table[c];
        if (!v && c) {
            v = '?';
            // A character beyond U+FFFF is one character: one '?'.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        }
        if (v > 0xFF) {
            out.append(char(v >> 8));
            out.append(char(v & 0xFF));
        } else {
            out.append(char(v));
        }
    }
}

QByteArray Cp932::encode(QStringView text)
{
    QByteArray out;
    encodeAppend(text, out);
    return out;
}

QString Cp932::decode(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    out.truncate(decodeTo(bytes, reinterpret_cast<char16_t *>(out.data())));
    return out;
}

namespace {

// One loop for both decoders; the search's decoder keeps no starts.
template<bool kStarts>
qsizetype decodeLoop(QByteArrayView bytes, char16_t *dst, int *starts)
{
    qsizetype n = 0;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        if constexpr (kStarts)
            starts[n] = int(i);
        const uchar b = p[i];
        if (b < 0x80) {
            dst[n++] = b;
        } else if (b >= 0xA1 && b <= 0xDF) {
            dst[n++] = char16_t(0xFF61 + (b - 0xA1));
        } else if (Cp932::isLeadByte(b) && i + 1 < size) {
            const char16_t u = decodePair(b, p[i + 1]);
            if (u) {
                dst[n++] = u;
                ++i;
            } else {
                dst[n++] = char16_t(Cp932::kRawByteBase + b);
            }
        } else {
            dst[n++] = char16_t(Cp932::kRawByteBase + b);
        }
    }
    if constexpr (kStarts)
        starts[n] = int(size);
    return n;
}

} // namespace

qsizetype Cp932::decodeTo(QByteArrayView bytes, char16_t *dst)
{
    return decodeLoop<false>(bytes, dst, nullptr);
}

qsizetype Cp932::decodeTo(QByteArrayView bytes, char16_t *dst, int *starts)
{
    return decodeLoop<true>(bytes, dst, starts);
}
