#include "edit/KeptBytes.h"

#include "edit/TextDiff.h"
#include "platform/TextCodec.h"

namespace {

// Whether unit i of a decoded line of `count` units begins a character (or
// is its end).
bool beginsCharacter(const std::vector<int> &starts, qsizetype count, int i)
{
    return i == 0 || i == count || starts[size_t(i)] != starts[size_t(i) - 1];
}

} // namespace

void KeptBytes::appendLine(QByteArrayView original, QStringView newText, QByteArray &out)
{
    // Most lines of a file saved are unchanged: they need no starts.
    if (QStringView(m_text.data(), m_codec.decode(original, m_text)) == newText) {
        out.append(original);
        return;
    }
    const qsizetype count = m_codec.decode(original, m_text, m_starts);
    int written = 0; // units of newText written so far
    for (TextDiff::Run run : TextDiff::commonRuns(QStringView(m_text.data(), count), newText)) {
        // Only whole characters keep their bytes: a run that starts or ends
        // inside one gives up the part of it that it holds.
        while (run.length > 0 && !beginsCharacter(m_starts, count, run.oldPos)) {
            ++run.oldPos;
            ++run.newPos;
            --run.length;
        }
        while (run.length > 0 && !beginsCharacter(m_starts, count, run.oldPos + run.length))
            --run.length;
        if (run.length == 0)
            continue;
        m_codec.encodeAppend(newText.sliced(written, run.newPos - written), out);
        const int from = m_starts[size_t(run.oldPos)];
        out.append(original.sliced(from, m_starts[size_t(run.oldPos + run.length)] - from));
        written = run.newPos + run.length;
    }
    m_codec.encodeAppend(newText.sliced(written), out);
}
