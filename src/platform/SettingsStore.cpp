#include "platform/SettingsStore.h"

#include "platform/Cp932.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringConverter>

#include <sys/statvfs.h>

#include <utility>

const QString SettingsStore::kRoot = QStringLiteral("HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV");
const QString SettingsStore::kFileName = QStringLiteral("QUAV.REG");
const QString SettingsStore::kInstallFileName = QStringLiteral("QUAV_INSTALL.REG");

namespace {

// How long a write waits for another instance that is writing the store; a
// write takes milliseconds, and the lock of an instance that died is taken
// over at once.
constexpr int kLockWaitMs = 5000;

QString decodeLine(QByteArrayView line, bool *utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(line);
    *utf8 = !decoder.hasError();
    return *utf8 ? text : Cp932::decode(line);
}

// "text" with the escapes the writer uses; nullopt when the quoting is
// broken. A backslash before any other character stands for that character.
std::optional<QString> unquote(QStringView s, qsizetype &pos)
{
    if (pos >= s.size() || s[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s[pos];
        if (c == QLatin1Char('\\') && pos + 1 < s.size()) {
            const QChar next = s[++pos];
            out += next == QLatin1Char('n') ? QChar(u'\n') : next == QLatin1Char('r') ? QChar(u'\r') : next;
        } else if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

QString quote(const QString &s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : s) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'"': out += QLatin1String("\\\""); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

const QString kFolderFull = QStringLiteral("設定フォルダーのディスクの空き容量が足りないため、書き込めません。");

// The file system of the file's folder has no room left for this user: a
// write there that failed failed for that (the lock file's writer does not
// say why).
bool noRoomFor(const QString &file)
{
    struct statvfs v;
    return ::statvfs(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), &v) == 0 && v.f_bavail == 0;
}

QString refusal(const QString &path, const QString &text)
{
    return path + QStringLiteral("\r\n") + text;
}

// Only a regular file is opened: reading a named pipe would wait for a
// writer, and a folder or a device is no store.
bool readStoreFile(const QString &path, QByteArray &bytes, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        if (error)
            *error = refusal(path, QStringLiteral("通常のファイルではないため、設定ファイルとして読み込めません。"));
        return false;
    }
    return TextFile::readBytes(path, bytes, error);
}

} // namespace

QString SettingsStore::defaultPath()
{
    QString dir = qEnvironmentVariable("QUAV_CONFIG_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quav");
    return QDir(dir).filePath(kFileName);
}

SettingsStore::SettingsStore(const QString &path)
    : m_path(path)
{
}

QString SettingsStore::sectionPath(const QString &section)
{
    return kRoot + QLatin1Char('\\') + section;
}

SettingsStore::Section *SettingsStore::findSection(QList<Section> &sections, const QString &path)
{
    for (Section &s : sections)
        if (s.path.compare(path, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const SettingsStore::Section *SettingsStore::findSection(const QString &path) const
{
    return findSection(const_cast<QList<Section> &>(m_sections), path);
}

SettingsStore::Section &SettingsStore::ensureSection(QList<Section> &sections, const QString &section)
{
    const QString path = sectionPath(section);
    if (Section *s = findSection(sections, path))
        return *s;
    sections.append(Section{path, {}});
    return sections.last();
}

// A store file is always written as UTF-8, so there a line that is not
// UTF-8 counts as damaged (it is still read, as code page 932). An import
// file may be code page 932 throughout.
void SettingsStore::parse(const QByteArray &bytes, Parsed &into, bool storeFile)
{
    Section *current = nullptr;
    const QList<QByteArrayView> lines = TextFile::splitLines(bytes);
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArrayView rawLine = lines[n];
        if (n == 0 && rawLine.startsWith("\xEF\xBB\xBF"))
            rawLine = rawLine.sliced(3);
        bool utf8 = true;
        const QString line = decodeLine(rawLine, &utf8).trimmed();
        const int lineNumber = int(n) + 1;
        if (!utf8 && storeFile)
            into.damaged.append(lineNumber);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line == QLatin1String("REGEDIT4")
            || line.startsWith(QLatin1String("Windows Registry Editor")))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString path = line.mid(1, line.size() - 2).trimmed();
            current = findSection(into.sections, path);
            if (!current) {
                into.sections.append(Section{path, {}});
                current = &into.sections.last();
            }
            continue;
        }
        qsizetype pos = 0;
        const std::optional<QString> name = unquote(line, pos);
        bool ok = current && name && pos < line.size() && line[pos] == QLatin1Char('=');
        Value v;
        if (ok) {
            ++pos;
            const QStringView rest = QStringView(line).mid(pos);
            v.name = *name;
            if (rest.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
                const QStringView hex = rest.mid(6).trimmed();
                bool okNum = false;
                const quint32 number = hex.toUInt(&okNum, 16);
                ok = okNum && hex.size() <= 8;
                v.isNumber = true;
                v.number = qint32(number);
            } else {
                const std::optional<QString> value = unquote(rest, pos = 0);
                ok = value.has_value() && rest.mid(pos).trimmed().isEmpty();
                if (ok)
                    v.text = *value;
            }
        }
        if (!ok) {
            if (storeFile && (into.damaged.isEmpty() || into.damaged.last() != lineNumber))
                into.damaged.append(lineNumber);
            continue;
        }
        put(*current, v);
    }
}

void SettingsStore::noteDamage(const QByteArray &bytes, const QList<int> &damaged)
{
    m_damaged = damaged;
    if (damaged.isEmpty())
        return;
    m_damagedBytes = bytes;
    if (bytes != m_reportedBytes)
        m_unreported = damaged;
}

bool SettingsStore::load(QString *error)
{
    m_sections.clear();
    m_damaged.clear();
    // A link whose target is missing is not taken for a missing store: its
    // target may be on a disk that is not mounted.
    const QFileInfo info(m_path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QByteArray bytes;
    if (!readStoreFile(m_path, bytes, error)) {
        m_unreadable = true;
        return false;
    }
    Parsed parsed;
    parse(bytes, parsed, true);
    m_sections = parsed.sections;
    noteDamage(bytes, parsed.damaged);
    return true;
}

void SettingsStore::merge(const QByteArray &bytes)
{
    Parsed parsed;
    parsed.sections = m_sections;
    parse(bytes, parsed, false);
    m_sections = parsed.sections;
}

bool SettingsStore::keepDamagedCopy(QString *error)
{
    if (m_damaged.isEmpty() || m_damagedBytes == m_copiedBytes)
        return true;
    QString reason;
    // The copy holds what the store held: nobody may read it who could not
    // read the store.
    if (!TextFile::writeBytes(damagedCopyPath(), m_damagedBytes, &reason, QFileInfo(m_path).permissions())) {
        if (error)
            *error = (noRoomFor(damagedCopyPath()) ? refusal(damagedCopyPath(), kFolderFull) : reason)
                + QStringLiteral("\r\n破損した設定ファイルの控えを作成できません。");
        return false;
    }
    m_copiedBytes = m_damagedBytes;
    return true;
}

QList<int> SettingsStore::takeUnreportedDamage()
{
    if (!m_unreported.isEmpty())
        m_reportedBytes = m_damagedBytes;
    return std::exchange(m_unreported, {});
}

bool SettingsStore::firstFailure()
{
    return !std::exchange(m_failureReported, true);
}

QByteArray SettingsStore::serialize(const QList<Section> &sections)
{
    QString out = QStringLiteral("REGEDIT4\r\n");
    for (const Section &s : sections) {
        out += QStringLiteral("\r\n[") + s.path + QStringLiteral("]\r\n");
        for (const Value &v : s.values) {
            out += quote(v.name) + QLatin1Char('=');
            if (v.isNumber)
                out += QStringLiteral("dword:") + QString::number(quint32(v.number), 16).rightJustified(8, QLatin1Char('0'));
            else
                out += quote(v.text);
            out += QStringLiteral("\r\n");
        }
    }
    return out.toUtf8();
}

QByteArray SettingsStore::serialize() const
{
    return serialize(m_sections);
}

// Read again, change, write, all under the lock: the file as another
// instance left it is the base, so only `change` differs from it. A file
// that has gone is written whole from memory. A damaged file is copied aside
// before it is written over.
bool SettingsStore::commit(const std::function<void(QList<Section> &)> &change, QString *error)
{
    if (m_unreadable) {
        if (error)
            *error = refusal(m_path, QStringLiteral("設定ファイルを読み込めなかったため、上書きしません。"));
        return false;
    }
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = refusal(info.absolutePath(), QStringLiteral("設定フォルダーを作成できません。"));
        return false;
    }
    QLockFile lock(m_path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        if (error)
            *error = refusal(m_path, lock.error() == QLockFile::LockFailedError
                                         ? QStringLiteral("設定ファイルがほかのＱＵＡＶで使用中のため、書き込めません。")
                                         : noRoomFor(m_path) ? kFolderFull
                                                             : QStringLiteral("設定フォルダーに書き込めません。"));
        return false;
    }

    QList<Section> sections = m_sections;
    const QFileInfo now(m_path);
    if (now.exists() || now.isSymLink()) {
        QByteArray bytes;
        QString reason;
        if (!readStoreFile(m_path, bytes, &reason)) {
            if (error)
                *error = reason + QStringLiteral("\r\n設定ファイルを読み込めないため、上書きしません。");
            return false;
        }
        Parsed parsed;
        parse(bytes, parsed, true);
        sections = parsed.sections;
        noteDamage(bytes, parsed.damaged);
        if (!keepDamagedCopy(error))
            return false;
    }
    change(sections);
    if (!TextFile::writeBytes(m_path, serialize(sections), error)) {
        if (error && noRoomFor(m_path))
            *error = refusal(m_path, kFolderFull);
        return false;
    }
    m_sections = sections;
    m_damaged.clear();
    return true;
}

bool SettingsStore::writeValues(const QString &section, const QList<Value> &values, QString *error)
{
    auto putAll = [&](QList<Section> &sections) {
        Section &s = ensureSection(sections, section);
        for (const Value &v : values)
            put(s, v);
    };
    putAll(m_sections);
    return commit(putAll, error);
}

bool SettingsStore::save(QString *error)
{
    const QList<Section> whole = m_sections;
    return commit([&](QList<Section> &sections) { sections = whole; }, error);
}

bool SettingsStore::rootExists() const
{
    for (const Section &s : m_sections)
        if (s.path.compare(kRoot, Qt::CaseInsensitive) == 0
            || s.path.startsWith(kRoot + QLatin1Char('\\'), Qt::CaseInsensitive))
            return true;
    return false;
}

bool SettingsStore::hasSection(const QString &section) const
{
    return findSection(sectionPath(section)) != nullptr;
}

const SettingsStore::Value *SettingsStore::findValue(const QString &section, const QString &name) const
{
    if (const Section *s = findSection(sectionPath(section)))
        for (const Value &v : s->values)
            if (v.name.compare(name, Qt::CaseInsensitive) == 0)
                return &v;
    return nullptr;
}

// A value replaces the one of the same name (compared without case), which
// keeps the name as first written; otherwise it is appended.
void SettingsStore::put(Section &section, const Value &value)
{
    for (Value &v : section.values)
        if (v.name.compare(value.name, Qt::CaseInsensitive) == 0) {
            v = Value{v.name, value.isNumber, value.number, value.text};
            return;
        }
    section.values.append(value);
}

std::optional<qint32> SettingsStore::number(const QString &section, const QString &name) const
{
    const Value *v = findValue(section, name);
    return (v && v->isNumber) ? std::optional<qint32>(v->number) : std::nullopt;
}

std::optional<QString> SettingsStore::string(const QString &section, const QString &name) const
{
    const Value *v = findValue(section, name);
    return (v && !v->isNumber) ? std::optional<QString>(v->text) : std::nullopt;
}

void SettingsStore::setNumber(const QString &section, const QString &name, qint32 value)
{
    put(ensureSection(m_sections, section), Value{name, true, value, {}});
}

void SettingsStore::setString(const QString &section, const QString &name, const QString &value)
{
    put(ensureSection(m_sections, section), Value{name, false, 0, value});
}

QStringList SettingsStore::programFolders()
{
    // Without an application object there is no program folder to ask for
    // (a tool linking the core); the built-in defaults serve.
    if (!QCoreApplication::instance())
        return {};
    const QString bin = QCoreApplication::applicationDirPath();
    return {bin, QDir::cleanPath(bin + QStringLiteral("/../share/quav"))};
}

QByteArray SettingsStore::installFile(const QStringList &folders)
{
    for (const QString &folder : folders) {
        QByteArray bytes;
        const QString path = QDir(folder).filePath(kInstallFileName);
        if (QFileInfo(path).isFile() && TextFile::readBytes(path, bytes))
            return bytes;
    }
    QFile builtIn(QStringLiteral(":/quav/QUAV_INSTALL.REG"));
    if (builtIn.open(QIODevice::ReadOnly))
        return builtIn.readAll();
    return {};
}

bool SettingsStore::importInstallFile(QString *error)
{
    merge(installFile());
    return save(error);
}
