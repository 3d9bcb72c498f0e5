#include "edit/KeptBytes.h"

#include "edit/TextDiff.h"
#include "platform/TextCodec.h"

namespace {

// Whether unit i of a decoded line begins a character (or is its end).
bool beginsCharacter(const std::vector<int> &starts, int i)
{
    return i == 0 || size_t(i) + 1 == starts.size() || starts[size_t(i)] != starts[size_t(i) - 1];
}

} // namespace

void KeptBytes::appendLine(QByteArrayView original, QStringView newText, QByteArray &out)
{
    m_codec.decode(original, m_text, m_starts);
    const QStringView oldText(m_text.data(), qsizetype(m_text.size()));
    if (oldText == newText) {
        out.append(original);
        return;
    }
    int written = 0; // units of newText written so far
    for (TextDiff::Run run : TextDiff::commonRuns(oldText, newText)) {
        // Only whole characters keep their bytes: a run that starts or ends
        // inside one gives up the part of it that it holds.
        while (run.length > 0 && !beginsCharacter(m_starts, run.oldPos)) {
            ++run.oldPos;
            ++run.newPos;
            --run.length;
        }
        while (run.length > 0 && !beginsCharacter(m_starts, run.oldPos + run.length))
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
