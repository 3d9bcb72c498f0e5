#include "platform/TextEncoding.h"

#include "platform/Cp932.h"

#include <cstring>

namespace {

constexpr qsizetype kIncomplete = -1;

// The length of the valid UTF-8 sequence at p[i], 0 when the byte there
// begins none, kIncomplete when the bytes end inside what may still become
// one. Overlong forms, surrogates and code points above U+10FFFF are invalid.
inline qsizetype sequenceAt(const uchar *p, qsizetype i, qsizetype size)
{
    const uchar b = p[i];
    if (b < 0x80)
        return 1;
    qsizetype n;
    uchar lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0)
            lo = 0xA0;
        else if (b == 0xED)
            hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0)
            lo = 0x90;
        else if (b == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    for (qsizetype k = 1; k < n; ++k) {
        if (i + k >= size)
            return kIncomplete;
        const uchar c = p[i + k];
        if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF))
            return 0;
    }
    return n;
}

bool allAscii8(const uchar *p)
{
    quint64 v;
    std::memcpy(&v, p, 8);
    return (v & 0x8080808080808080ULL) == 0;
}

// 32 bytes at a time: a file of ASCII is looked through to its end.
bool allAscii32(const uchar *p)
{
    quint64 v[4];
    std::memcpy(v, p, 32);
    return ((v[0] | v[1] | v[2] | v[3]) & 0x8080808080808080ULL) == 0;
}

} // namespace

TextEncoding TextEncodings::fromMark(QByteArrayView bytes, bool *markFound)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    TextEncoding e = TextEncoding::Cp932;
    bool found = true;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        e = TextEncoding::Utf8Bom;
    else if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE)
        e = TextEncoding::Utf16LE;
    else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF)
        e = TextEncoding::Utf16BE;
    else
        found = false;
    if (markFound)
        *markFound = found;
    return e;
}

TextEncoding TextEncodings::detect(QByteArrayView bytes)
{
    bool marked = false;
    const TextEncoding e = fromMark(bytes, &marked);
    if (marked)
        return e;
    Utf8Check check;
    check.feed(bytes, true);
    return check.isUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

qsizetype TextEncodings::markSize(TextEncoding e)
{
    switch (e) {
    case TextEncoding::Utf8Bom:
        return 3;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return 2;
    case TextEncoding::Cp932:
    case TextEncoding::Utf8:
        break;
    }
    return 0;
}

QString TextEncodings::name(TextEncoding e)
{
    switch (e) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 (BOM)");
    case TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16LE (BOM)");
    case TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16BE (BOM)");
    case TextEncoding::Cp932:
        break;
    }
    return QStringLiteral("Shift-JIS");
}

bool TextEncodings::parseChoice(QStringView text, EncodingChoice *choice)
{
    if (text.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0)
        *choice = EncodingChoice::Detect;
    else if (text.compare(QLatin1String("cp932"), Qt::CaseInsensitive) == 0)
        *choice = EncodingChoice::Cp932;
    else
        return false;
    return true;
}

QString TextEncodings::choiceName(EncodingChoice choice)
{
    return choice == EncodingChoice::Cp932 ? QStringLiteral("cp932") : QStringLiteral("auto");
}

namespace {

// One loop for both decoders; the search's decoder keeps no starts.
template<bool kStarts>
qsizetype decodeUtf8Loop(QByteArrayView bytes, char16_t *out, int *starts)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype n = 0;
    for (qsizetype i = 0; i < size;) {
        const uchar b = p[i];
        if constexpr (kStarts)
            starts[n] = int(i);
        if (b < 0x80) {
            out[n++] = b;
            ++i;
            continue;
        }
        const qsizetype len = sequenceAt(p, i, size);
        if (len <= 0) {
            out[n++] = char16_t(Cp932::kRawByteBase + b);
            ++i;
            continue;
        }
        char32_t u = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (qsizetype k = 1; k < len; ++k)
            u = (u << 6) | (p[i + k] & 0x3F);
        if (u >= 0x10000) {
            out[n++] = QChar::highSurrogate(u);
            if constexpr (kStarts)
                starts[n] = int(i);
            out[n++] = QChar::lowSurrogate(u);
        } else {
            out[n++] = char16_t(u);
        }
        i += len;
    }
    if constexpr (kStarts)
        starts[n] = int(size);
    return n;
}

} // namespace

qsizetype TextEncodings::decodeUtf8To(QByteArrayView bytes, char16_t *out)
{
    return decodeUtf8Loop<false>(bytes, out, nullptr);
}

qsizetype TextEncodings::decodeUtf8To(QByteArrayView bytes, char16_t *out, int *starts)
{
    return decodeUtf8Loop<true>(bytes, out, starts);
}

QString TextEncodings::decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString out(utf16Units(bytes), Qt::Uninitialized);
    decodeUtf16To(bytes, bigEndian, reinterpret_cast<char16_t *>(out.data()));
    return out;
}

qsizetype TextEncodings::decodeUtf16To(QByteArrayView bytes, bool bigEndian, char16_t *out)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype units = bytes.size() / 2;
    for (qsizetype i = 0; i < units; ++i) {
        const uchar a = p[2 * i], b = p[2 * i + 1];
        out[i] = bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    if (bytes.size() % 2)
        out[units] = char16_t(Cp932::kRawByteBase + p[bytes.size() - 1]);
    return utf16Units(bytes);
}

void Utf8Check::feed(QByteArrayView bytes, bool last)
{
    if (!m_valid)
        return;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = m_checked;
    while (i < size) {
        const uchar b = p[i];
        if (b < 0x80) {
            ++i;
            while (i + 32 <= size && allAscii32(p + i))
                i += 32;
            while (i + 8 <= size && allAscii8(p + i))
                i += 8;
            continue;
        }
        // Japanese text in UTF-8 is mostly three-byte sequences led by E1-EC
        // or EE-EF, whose second byte has no further limit: checked here
        // without the general rule.
        if (b >= 0xE1 && b != 0xED && b <= 0xEF && i + 2 < size && (p[i + 1] & 0xC0) == 0x80
            && (p[i + 2] & 0xC0) == 0x80) {
            i += 3;
            m_multiByte = true;
            continue;
        }
        const qsizetype len = sequenceAt(p, i, size);
        if (len == kIncomplete) {
            if (last)
                m_valid = false;
            break; // waits for the rest of the sequence
        }
        if (len == 0) {
            m_valid = false;
            break;
        }
        if (len > 1)
            m_multiByte = true;
        i += len;
    }
    m_checked = i;
}
