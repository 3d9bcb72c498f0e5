#include "platform/TextCodec.h"

#include "platform/Cp932Codec.h"
#include "platform/Utf16Codec.h"
#include "platform/Utf8Codec.h"

const TextCodec &TextCodec::forEncoding(TextEncoding e)
{
    switch (e) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        return Utf8Codec::instance();
    case TextEncoding::Utf16LE:
        return Utf16Codec::littleEndian();
    case TextEncoding::Utf16BE:
        return Utf16Codec::bigEndian();
    case TextEncoding::Cp932:
        break;
    }
    return Cp932Codec::instance();
}
