#include "search/BatchCommandText.h"

#include <algorithm>

namespace {

// Columns a terminal gives a text: Japanese characters take two.
qsizetype columns(const QString &text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        n += c.unicode() < 0x1100 ? 1 : 2;
    return n;
}

QList<const BatchOption *> optionsOf(BatchCommand command)
{
    QList<const BatchOption *> out;
    for (const BatchOption &o : BatchOption::all())
        if (o.serves(command))
            out.append(&o);
    return out;
}

QString written(const BatchOption &o)
{
    return o.isFlag() ? o.name : o.name + QLatin1Char(' ') + o.value;
}

// Text for roff: backslashes kept, hyphens as minus signs (options are typed
// with them), a line allowed to break after Japanese punctuation (roff
// breaks only at spaces), and no line starting with a control character.
QString roff(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\e")).replace(QLatin1Char('-'), QStringLiteral("\\-"));
    for (const QChar mark : {QChar(0x3001), QChar(0x3002), QChar(0xFF09)}) // 、。）
        out.replace(mark, QString(mark) + QStringLiteral("\\:"));
    QStringList lines = out.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.startsWith(QLatin1Char('.')) || line.startsWith(QLatin1Char('\'')))
            line.prepend(QStringLiteral("\\&"));
    return lines.join(QLatin1Char('\n'));
}

// Prose: a blank line starts a paragraph; a paragraph with indented lines
// (a table) is kept line by line, any other is filled, its lines joined
// without a space, as Japanese text is.
QString roffLines(const QString &text)
{
    QString out;
    for (const QString &paragraph : text.trimmed().split(QStringLiteral("\n\n"))) {
        const QStringList lines = paragraph.split(QLatin1Char('\n'));
        const bool table = std::any_of(lines.begin(), lines.end(),
                                       [](const QString &l) { return l.startsWith(QLatin1Char(' ')); });
        out += QStringLiteral(".PP\n");
        if (table)
            out += QStringLiteral(".nf\n") + roff(paragraph) + QStringLiteral("\n.fi\n");
        else
            out += roff(paragraph).replace(QLatin1Char('\n'), QStringLiteral("\\c\n")) + QLatin1Char('\n');
    }
    return out;
}

} // namespace

QString BatchCommandText::helpText() const
{
    const qsizetype width = 21;
    QString out = QStringLiteral("使い方: ") + usage.join(QStringLiteral("\n        ")) + QStringLiteral("\n\n") + body
        + QLatin1Char('\n');
    for (const BatchOption *o : optionsOf(command)) {
        const QString left = written(*o);
        const QStringList lines = o->help.split(QLatin1Char('\n'));
        out += QStringLiteral("  ") + left + QString(qMax<qsizetype>(1, width + 1 - columns(left)), QLatin1Char(' '))
            + lines.front() + QLatin1Char('\n');
        for (qsizetype i = 1; i < lines.size(); ++i)
            out += QString(width + 3, QLatin1Char(' ')) + lines.at(i) + QLatin1Char('\n');
    }
    if (!notes.isEmpty())
        out += QLatin1Char('\n') + notes;
    return out;
}

QString BatchCommandText::manPage(const QString &version, const QStringList &seeAlso) const
{
    QString out = QStringLiteral("'\\\" -*- coding: utf-8 -*-\n.TH %1 1 \"\" \"QUAV %2\" \"QUAV\"\n.ad l\n.nh\n")
                      .arg(page.toUpper(), version);
    out += QStringLiteral(".SH 名前\n") + roff(page) + QStringLiteral(" \\- ") + roff(summary) + QLatin1Char('\n');
    out += QStringLiteral(".SH 書式\n.nf\n") + roff(usage.join(QLatin1Char('\n'))) + QStringLiteral("\n.fi\n");
    out += QStringLiteral(".SH 説明\n") + roffLines(body);
    out += QStringLiteral(".SH オプション\n");
    for (const BatchOption *o : optionsOf(command)) {
        out += QStringLiteral(".TP\n.B ") + roff(o->alias.isEmpty() ? o->name : o->alias + QStringLiteral(", ") + o->name);
        if (!o->isFlag())
            out += QStringLiteral(" \"") + roff(o->value) + QLatin1Char('"');
        out += QLatin1Char('\n') + roff(o->help).replace(QLatin1Char('\n'), QStringLiteral("\n.br\n")) + QLatin1Char('\n');
    }
    if (!notes.isEmpty())
        out += QStringLiteral(".SH 補足\n") + roffLines(notes);
    if (!seeAlso.isEmpty()) {
        QStringList refs;
        for (const QString &p : seeAlso)
            refs.append(QStringLiteral(".BR ") + roff(p) + QStringLiteral(" (1)"));
        out += QStringLiteral(".SH 関連項目\n") + refs.join(QStringLiteral(" ,\n")) + QLatin1Char('\n');
    }
    return out;
}

QString BatchCommandText::bashCompletion(const QString &program, const QList<BatchCommandText> &commands)
{
    const QString function = QLatin1Char('_') + QString(program).replace(QLatin1Char('-'), QLatin1Char('_'));
    QString names;
    QString cases;
    QString values;
    QStringList seen;
    for (const BatchCommandText &c : commands) {
        QStringList opts;
        for (const BatchOption *o : optionsOf(c.command)) {
            opts.append(o->name);
            if (!o->alias.isEmpty())
                opts.append(o->alias);
            if (seen.contains(o->name) || o->isFlag())
                continue;
            seen.append(o->name);
            switch (o->completes) {
            case BatchOption::Completes::Folders:
                values += QStringLiteral("        %1) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n").arg(o->name);
                break;
            case BatchOption::Completes::Files:
                values += QStringLiteral("        %1) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n").arg(o->name);
                break;
            case BatchOption::Completes::Choices:
                values += QStringLiteral("        %1) COMPREPLY=($(compgen -W \"%2\" -- \"$cur\")); return ;;\n").arg(o->name, o->choices);
                break;
            case BatchOption::Completes::Nothing:
                values += QStringLiteral("        %1) return ;;\n").arg(o->name);
                break;
            }
        }
        const QString sub = c.usage.front().section(QLatin1Char(' '), 1, 1);
        const bool isProgram = &c == &commands.front();
        if (!isProgram)
            names += QLatin1Char(' ') + sub;
        cases += QStringLiteral("        %1) opts=\"%2\"; files=%3 ;;\n")
                     .arg(isProgram ? QStringLiteral("\"\"") : sub, opts.join(QLatin1Char(' ')),
                          c.wordsAreFiles ? QStringLiteral("1") : QStringLiteral("0"));
    }
    return QStringLiteral(
               "# bash completion for %1: its commands, their options and the values they take.\n"
               "%2()\n"
               "{\n"
               "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} opts files\n"
               "    COMPREPLY=()\n"
               "    local command=\n"
               "    [ \"$COMP_CWORD\" -gt 1 ] && command=${COMP_WORDS[1]}\n"
               "    case $command in\n"
               "%3"
               "        *) return ;;\n"
               "    esac\n"
               "    case $prev in\n"
               "%4"
               "    esac\n"
               "    if [ \"$COMP_CWORD\" -eq 1 ] && [[ $cur != -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"%5\" -- \"$cur\"))\n"
               "    elif [[ $cur == -* ]]; then\n"
               "        COMPREPLY=($(compgen -W \"$opts\" -- \"$cur\"))\n"
               "    elif [ \"$files\" = 1 ]; then\n"
               "        compopt -o filenames 2>/dev/null\n"
               "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
               "    fi\n"
               "}\n"
               "complete -F %2 %1\n")
        .arg(program, function, cases, values, names.trimmed());
}
