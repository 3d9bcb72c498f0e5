#include "display/RtfReader.h"

#include "platform/Cp932.h"

#include <QFile>

#include <algorithm>

QString RtfDocument::plainText() const
{
    QString out;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        if (i)
            out += QLatin1String("\r\n");
        out += paragraphs[i].text;
    }
    return out;
}

namespace {

struct GroupState
{
    int colorIndex = 0;
    bool skip = false;       // a destination whose text is not shown
    bool colorTable = false; // inside {\colortbl ...}
    int uc = 1;              // bytes that stand in for one \uN character
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSkippedDestination(QByteArrayView word)
{
    static const char *const kWords[] = {
        "fonttbl", "filetbl", "stylesheet", "info", "pict", "object", "header", "headerl", "headerr",
        "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "fldinst", "themedata",
        "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "listtable", "listoverridetable",
        "rsidtbl", "generator", "pgdsctbl", "mmathPr", "revtbl", "annotation", "bkmkstart", "bkmkend",
    };
    for (const char *w : kWords)
        if (word == QByteArrayView(w))
            return true;
    return false;
}

class Parser
{
public:
    explicit Parser(QByteArrayView rtf) : m_in(rtf) {}

    RtfDocument run()
    {
        const qsizetype n = m_in.size();
        qsizetype i = 0;
        while (i < n) {
            const char c = m_in[i];
            if (c == '{') {
                flush();
                if (m_stack.size() < kMaxDepth)
                    m_stack.push_back(m_state);
                else
                    ++m_overflow;
                ++i;
            } else if (c == '}') {
                flush();
                if (m_overflow > 0)
                    --m_overflow;
                else if (!m_stack.empty()) {
                    m_state = m_stack.back();
                    m_stack.pop_back();
                }
                ++i;
            } else if (c == '\\') {
                i = controlAt(i);
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                textByte(uchar(c));
                ++i;
            }
        }
        flush();
        if (!m_paragraph.text.isEmpty() || m_doc.paragraphs.empty())
            m_doc.paragraphs.push_back(std::move(m_paragraph));
        return std::move(m_doc);
    }

private:
    static constexpr size_t kMaxDepth = 1000;

    // A control word, symbol or byte escape at i; the index after it.
    qsizetype controlAt(qsizetype i)
    {
        const qsizetype n = m_in.size();
        if (i + 1 >= n)
            return n;
        const char next = m_in[i + 1];
        if (next == '\'') {
            const int hi = i + 2 < n ? hexValue(m_in[i + 2]) : -1;
            const int lo = i + 3 < n ? hexValue(m_in[i + 3]) : -1;
            if (hi < 0)
                return std::min(n, i + 2);
            if (lo < 0)
                return std::min(n, i + 3); // a cut escape: its one digit is dropped
            textByte(uchar(hi << 4 | lo));
            return i + 4;
        }
        if (isLetter(next)) {
            qsizetype j = i + 1;
            while (j < n && isLetter(m_in[j]))
                ++j;
            const QByteArrayView word = m_in.sliced(i + 1, j - i - 1);
            bool hasParam = false;
            bool negative = false;
            qint64 param = 0;
            if (j < n && m_in[j] == '-' && j + 1 < n && isDigit(m_in[j + 1])) {
                negative = true;
                ++j;
            }
            int digits = 0;
            while (j < n && isDigit(m_in[j])) {
                if (digits++ < 10)
                    param = param * 10 + (m_in[j] - '0');
                hasParam = true;
                ++j;
            }
            if (j < n && m_in[j] == ' ')
                ++j;
            if (negative)
                param = -param;
            controlWord(word, hasParam, int(std::clamp<qint64>(param, -2147483647, 2147483647)));
            return j;
        }
        switch (next) {
        case '\\':
        case '{':
        case '}':
            textByte(uchar(next));
            break;
        case '*':
            m_state.skip = true;
            break;
        case '~':
            textChar(QChar(0x00A0));
            break;
        case '_':
            textChar(QLatin1Char('-'));
            break;
        case '\r':
        case '\n':
            if (!m_state.skip)
                paragraphBreak();
            break;
        default:
            break;
        }
        return i + 2;
    }

    void controlWord(QByteArrayView word, bool hasParam, int param)
    {
        if (m_state.colorTable) {
            if (word == "red")
                m_red = param, m_hasComponent = true;
            else if (word == "green")
                m_green = param, m_hasComponent = true;
            else if (word == "blue")
                m_blue = param, m_hasComponent = true;
            return;
        }
        if (word == "colortbl") {
            m_state.colorTable = true;
            m_state.skip = true;
            return;
        }
        if (isSkippedDestination(word)) {
            m_state.skip = true;
            return;
        }
        if (word == "uc") {
            m_state.uc = std::clamp(param, 0, 8);
            return;
        }
        if (m_state.skip)
            return;
        if (word == "par" || word == "line" || word == "sect") {
            paragraphBreak();
        } else if (word == "tab") {
            textChar(QLatin1Char('\t'));
        } else if (word == "plain") {
            setColor(0);
        } else if (word == "cf") {
            setColor(hasParam ? param : 0);
        } else if (word == "u" && hasParam) {
            textChar(QChar(char16_t(param < 0 ? param + 65536 : param)));
            m_ucSkip = m_state.uc;
        } else if (word == "emdash") {
            textChar(QChar(0x2014));
        } else if (word == "endash") {
            textChar(QChar(0x2013));
        } else if (word == "bullet") {
            textChar(QChar(0x2022));
        } else if (word == "lquote") {
            textChar(QChar(0x2018));
        } else if (word == "rquote") {
            textChar(QChar(0x2019));
        } else if (word == "ldblquote") {
            textChar(QChar(0x201C));
        } else if (word == "rdblquote") {
            textChar(QChar(0x201D));
        }
        // \pard, \f, \fs, \tx and the rest change nothing the views show.
    }

    void textByte(uchar b)
    {
        if (m_ucSkip > 0) {
            --m_ucSkip;
            return;
        }
        if (m_state.colorTable) {
            if (b == ';') {
                const auto part = [](int v) { return quint32(std::clamp(v, 0, 255)); };
                m_colors.push_back(m_hasComponent ? (part(m_red) << 16 | part(m_green) << 8 | part(m_blue)) : 0u);
                m_red = m_green = m_blue = 0;
                m_hasComponent = false;
            }
            return;
        }
        if (m_state.skip)
            return;
        m_pending.append(char(b));
    }

    void textChar(QChar c)
    {
        if (m_state.skip)
            return;
        flush();
        appendText(QString(c));
    }

    void setColor(int index)
    {
        if (index == m_state.colorIndex)
            return;
        flush();
        m_state.colorIndex = index;
    }

    void paragraphBreak()
    {
        flush();
        m_doc.paragraphs.push_back(std::move(m_paragraph));
        m_paragraph = RtfParagraph();
    }

    void flush()
    {
        if (m_pending.isEmpty())
            return;
        appendText(Cp932::decode(m_pending));
        m_pending.clear();
    }

    void appendText(const QString &text)
    {
        if (text.isEmpty())
            return;
        const int index = m_state.colorIndex;
        const quint32 color = index >= 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : 0u;
        std::vector<RtfRun> &runs = m_paragraph.runs;
        if (!runs.empty() && runs.back().color == color)
            runs.back().length += int(text.size());
        else
            runs.push_back(RtfRun{int(m_paragraph.text.size()), int(text.size()), color});
        m_paragraph.text += text;
    }

    QByteArrayView m_in;
    RtfDocument m_doc;
    RtfParagraph m_paragraph;
    QByteArray m_pending; // code page 932 bytes not yet decoded
    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_overflow = 0; // groups opened beyond kMaxDepth
    std::vector<quint32> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_hasComponent = false;
    int m_ucSkip = 0;
};

} // namespace

RtfDocument RtfReader::parse(QByteArrayView rtf)
{
    return Parser(rtf).run();
}

bool RtfReader::readFile(const QString &path, RtfDocument &document, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    document = parse(bytes);
    return true;
}
