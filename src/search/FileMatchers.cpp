#include "search/FileMatchers.h"

#include "search/FileScan.h"
#include "search/SearchRequest.h"

FileMatchers::FileMatchers(const QString &word, bool ignoreCase, EncodingChoice choice)
    : m_ignoreCase(ignoreCase), m_choice(choice), m_cp932(word, ignoreCase, TextEncoding::Cp932),
      m_utf8(choice == EncodingChoice::Detect ? word : QString(), ignoreCase, TextEncoding::Utf8)
{
}

FileMatchers::FileMatchers(const SearchRequest &request)
    : FileMatchers(request.word, request.ignoreCase, request.encoding)
{
}

QString FileMatchers::utf16Text(TextEncoding e, QByteArrayView bytes)
{
    return TextEncodings::decodeUtf16(bytes.sliced(TextEncodings::markSize(e)), e == TextEncoding::Utf16BE);
}

void FileMatchers::collect(TextEncoding e, QByteArrayView bytes, const QString &key, ScannedFile &out,
                           EventPump *pump, qint64 lineCount) const
{
    if (TextEncodings::isUtf16(e)) {
        FileScan::collectText(utf16Text(e, bytes), word(), m_ignoreCase, key, out);
        return;
    }
    FileScan::collect(forEncoding(e), bytes.sliced(TextEncodings::markSize(e)), key, out, pump, lineCount);
}
