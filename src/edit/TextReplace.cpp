#include "edit/TextReplace.h"

#include "platform/TextMatch.h"
#include "workarea/LineFormat.h"

#include <algorithm>

namespace {

constexpr qsizetype kHitNumberWidth = 7; // "000012:"

} // namespace

int TextReplace::ReplaceInLine(qint16 kind, qint16 method, QString &line, const QString &search, qint16 compare,
                               const QString &replacement, QString &output, qint16 &changed)
{
    if (kind != kDisplayLine && kind != kStoredLine && kind != kPlainText)
        return kBadKind;
    if (method != kOverwrite && method != kSplice)
        return kBadMethod;
    if (search.isEmpty())
        return kEmptySearch;
    if (compare != kExactCase && compare != kIgnoreCase)
        return kBadCompare;

    qsizetype prefixLength = 0;
    if (kind == kDisplayLine) {
        if (LineFormat::Is_Header(line)) {
            output = line;
            changed = 0;
            return kDone;
        }
        prefixLength = std::min(kHitNumberWidth, line.size());
    } else if (kind == kStoredLine) {
        prefixLength = LineFormat::entryTextStart(line);
    }
    const QStringView prefix = QStringView(line).left(prefixLength);
    const QStringView rest = QStringView(line).mid(prefixLength);
    const bool ignoreCase = compare == kIgnoreCase;

    qint16 replaced = 0;
    QString text;
    if (method == kSplice) {
        // Built in one pass: searching on after the replacement in the spliced
        // line is searching on after the occurrence in the original one.
        // Room for a few longer replacements, so the text grows in place.
        text.reserve(rest.size() + 4 * std::max<qsizetype>(0, replacement.size() - search.size()));
        qsizetype from = 0;
        for (qsizetype h = TextMatch::indexIn(rest, search, ignoreCase); h >= 0;
             h = TextMatch::indexIn(rest, search, ignoreCase, from)) {
            text += rest.mid(from, h - from);
            text += replacement;
            from = h + search.size();
            replaced = 1;
        }
        text += rest.mid(from);
    } else {
        text = rest.toString();
        qsizetype h = TextMatch::indexIn(text, search, ignoreCase);
        while (h >= 0) {
            const qsizetype n = std::min({replacement.size(), search.size(), text.size() - h});
            std::copy_n(replacement.constData(), n, text.data() + h);
            if (n > 0)
                replaced = 1;
            // An empty replacement overwrites nothing; stepping at least one
            // character keeps the search from finding the same place forever.
            const qsizetype next = h + std::max<qsizetype>(replacement.size(), 1);
            h = TextMatch::indexIn(text, search, ignoreCase, next);
        }
    }

    // The whole line in one allocation; line (which prefix views) is
    // overwritten only after.
    if (kind == kPlainText) {
        output = text;
    } else {
        QString whole;
        whole.reserve(prefix.size() + text.size());
        whole.append(prefix).append(text);
        output = std::move(whole);
    }
    line = std::move(text);
    changed = replaced;
    return kDone;
}
