#include "search/BatchCommandLine.h"

#include "base/Settings.h"
#include "search/SearchWord.h"

#include "platform/NativeName.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

BatchArguments::BatchArguments(const QList<QByteArray> &argv) : m_raw(argv)
{
    for (const QByteArray &a : argv)
        m_args.append(QString::fromLocal8Bit(a));
}

QList<QByteArray> BatchArguments::bytesOf(const QStringList &args)
{
    QList<QByteArray> out;
    for (const QString &a : args)
        out.append(a.toLocal8Bit());
    return out;
}

bool BatchArguments::next()
{
    bool wordsOnly = false;
    while (++m_at < m_args.size()) {
        const QString &a = m_args.at(m_at);
        if (wordsOnly || !a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            m_words.append(a);
            m_wordBytes.append(m_raw.at(m_at));
        } else if (a == QLatin1String("--")) {
            wordsOnly = true;
        } else {
            const qsizetype eq = a.indexOf(QLatin1Char('='));
            const bool split = a.startsWith(QLatin1String("--")) && eq > 0;
            m_name = split ? a.left(eq) : a;
            m_inline = split ? std::optional<QString>(a.mid(eq + 1)) : std::nullopt;
            return true;
        }
    }
    return false;
}

std::optional<QString> BatchArguments::value()
{
    if (m_inline) {
        // The name before "=" is ASCII: the same place in the bytes.
        const QByteArray &raw = m_raw.at(m_at);
        m_valueBytes = raw.mid(raw.indexOf('=') + 1);
        return m_inline;
    }
    if (m_at + 1 < m_args.size()) {
        m_valueBytes = m_raw.at(++m_at);
        return m_args.at(m_at);
    }
    return std::nullopt;
}

std::optional<QString> BatchSearchOptions::takeWord(const QStringList &words, QString *word) const
{
    if (words.size() != 1)
        return words.isEmpty() ? QStringLiteral("検索文字列がありません。（--help で使い方を表示します）")
                               : QStringLiteral("検索文字列は1つだけ指定してください。");
    // Without --encoding the stored setting decides, which is read later:
    // a word is refused here only when cp932 was asked for, and the search
    // run finds nothing for it otherwise.
    const SearchWord::Prepared prepared
        = SearchWord::Prepare(words.front(), encoding.value_or(EncodingChoice::Detect));
    if (prepared.problem != SearchWord::Problem::None)
        return prepared.message;
    *word = prepared.word;
    return std::nullopt;
}

std::optional<BatchSearchOptions::Root> BatchSearchOptions::root(QString *error) const
{
    const QByteArray native = NativeName::absolutePath(dir.isEmpty() ? QByteArray(".") : dir);
    const QString shown = NativeName::decodePath(native);
    struct stat st;
    if (::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return Root{shown, native};
    *error = shown + QStringLiteral(": フォルダが見つかりません。");
    return std::nullopt;
}

SearchRequest BatchSearchOptions::request(const QString &word, const Root &root, const Settings &stored) const
{
    SearchRequest r;
    r.word = word;
    r.ignoreCase = !caseSensitive;
    r.root = root.shown;
    r.nativeRoot = root.native;
    r.identifiers = ext ? *ext : SearchRequest::listed(stored.SIKIBETU);
    r.subDirs = subDirs.value_or(stored.SUB_DIR_FLG == 1);
    r.timestamps = stored.FILE_NAME_DISP == 1;
    r.encoding = encoding.value_or(stored.encodingChoice());
    return r;
}

bool BatchOutput::write(std::FILE *out, const QByteArray &bytes)
{
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size());
    return std::fflush(out) == 0 && written && !std::ferror(out);
}

bool BatchOutput::write(std::FILE *out, const QString &text)
{
    return write(out, text.toUtf8());
}

QString BatchOutput::standardOutputError()
{
    const int err = errno;
    return QStringLiteral("標準出力に書き込めません。（") + QString::fromLocal8Bit(std::strerror(err))
        + QStringLiteral("）");
}

int BatchOutput::fail(const char *program, QString text, std::FILE *err)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    write(err, QString::fromUtf8(program) + QStringLiteral(": ") + text + QLatin1Char('\n'));
    return 2;
}

int BatchOutput::print(const char *program, const QString &text, std::FILE *out, std::FILE *err)
{
    return write(out, text) ? 0 : fail(program, standardOutputError(), err);
}
