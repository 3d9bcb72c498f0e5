#pragma once

#include "platform/TextEncoding.h"
#include "search/SearchRequest.h"

#include <QString>
#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cstdio>
#include <optional>

struct Settings;

// The command line of a batch command, option by option: "--name VALUE",
// "--name=VALUE" and flags; other arguments are words, and a bare "--" makes
// every later argument a word. Each command says which options it knows and
// words its own messages. Arguments come as the bytes the process was given
// (file names need not be UTF-8); they are read as text in the locale's
// encoding, and a path is taken by its bytes.
class BatchArguments
{
public:
    explicit BatchArguments(const QList<QByteArray> &argv);
    // Text given as such (tests): its bytes are its local encoding.
    static QList<QByteArray> bytesOf(const QStringList &args);

    // Moves to the next option, collecting the words met on the way; false
    // when no option is left.
    bool next();
    // The option as written, "=VALUE" included.
    const QString &written() const { return m_args.at(m_at); }
    // The option's name, without "=VALUE".
    const QString &name() const { return m_name; }
    // The option is `name`, with or without "=VALUE".
    bool is(QLatin1StringView name) const { return m_name == name; }
    // Its value: what follows "=", else the next argument, which is taken;
    // none at the end of the command line.
    std::optional<QString> value();
    // The bytes of the value value() took last.
    const QByteArray &valueBytes() const { return m_valueBytes; }
    const QStringList &words() const { return m_words; }
    const QList<QByteArray> &wordBytes() const { return m_wordBytes; }

private:
    QList<QByteArray> m_raw;
    QStringList m_args;
    qsizetype m_at = -1;
    QString m_name;
    std::optional<QString> m_inline;
    QByteArray m_valueBytes;
    QStringList m_words;
    QList<QByteArray> m_wordBytes;
};

// The options of a batch command that searches (BatchOption reads them).
struct BatchSearchOptions
{
    QByteArray dir; // as given, bytes
    std::optional<QStringList> ext; // upper case, each once
    bool caseSensitive = false;
    std::optional<bool> subDirs;
    std::optional<EncodingChoice> encoding; // --encoding auto|cp932; none: the stored setting

    // The one search word among the words, prepared as the window prepares
    // it for the encoding choice (given, else the stored one), into *word;
    // otherwise why there is none to search.
    std::optional<QString> takeWord(const QStringList &words, QString *word) const;
    // The folder to search, absolute (the current folder when none was
    // given), shown and as bytes; none, with *error, when it is not a folder.
    struct Root
    {
        QString shown;
        QByteArray native;
    };
    std::optional<Root> root(QString *error) const;
    // The search these options ask for over the stored settings, which are
    // only read: the given identifiers, else every stored one; the given
    // subfolder and encoding choices, else the stored ones; the stored
    // time-stamp switch; no result file.
    SearchRequest request(const QString &word, const Root &root, const Settings &stored) const;
};

// Writing a batch command's output and messages.
namespace BatchOutput {
// false when the stream did not take all of it (a full disk, a closed
// descriptor); errno then tells why.
bool write(std::FILE *out, const QByteArray &bytes);
bool write(std::FILE *out, const QString &text); // as UTF-8
// "program: text" on `err`, line breaks as LF; the exit status 2.
int fail(const char *program, QString text, std::FILE *err = stderr);
// `text` (a help, a page) on `out`: the exit status 0, else why `out` did
// not take it on `err` and 2.
int print(const char *program, const QString &text, std::FILE *out = stdout, std::FILE *err = stderr);
// Why standard output did not take a write, from errno: read it before
// anything else can change errno.
QString standardOutputError();
} // namespace BatchOutput
