#include "settings/SettingsStore.h"

#include "platform/Cp932.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QStringConverter>

const QString SettingsStore::kRoot = QStringLiteral("HKEY_LOCAL_MACHINE\\software\\VKM\\QUAV");
const QString SettingsStore::kFileName = QStringLiteral("QUAV.REG");

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

SettingsStore::Section *SettingsStore::findSection(const QString &path)
{
    for (Section &s : m_sections)
        if (s.path.compare(path, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

const SettingsStore::Section *SettingsStore::findSection(const QString &path) const
{
    return const_cast<SettingsStore *>(this)->findSection(path);
}

SettingsStore::Section &SettingsStore::ensureSection(const QString &section)
{
    const QString path = sectionPath(section);
    if (Section *s = findSection(path))
        return *s;
    m_sections.append(Section{path, {}});
    return m_sections.last();
}

namespace {

QString decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    return Cp932::decode(bytes);
}

// "text" with \\ and \" escapes; nullopt when the quoting is broken.
std::optional<QString> unquote(QStringView s, qsizetype &pos)
{
    if (pos >= s.size() || s[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s[pos];
        if (c == QLatin1Char('\\') && pos + 1 < s.size()) {
            out += s[++pos];
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
    QString out = s;
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    out.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

void SettingsStore::parse(const QString &text, bool countDamage)
{
    Section *current = nullptr;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line == QLatin1String("REGEDIT4")
            || line.startsWith(QLatin1String("Windows Registry Editor")))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString path = line.mid(1, line.size() - 2).trimmed();
            current = findSection(path);
            if (!current) {
                m_sections.append(Section{path, {}});
                current = &m_sections.last();
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
                const quint32 n = hex.toUInt(&okNum, 16);
                ok = okNum && hex.size() <= 8;
                v.isNumber = true;
                v.number = qint32(n);
            } else {
                const std::optional<QString> value = unquote(rest, pos = 0);
                ok = value.has_value() && rest.mid(pos).trimmed().isEmpty();
                if (ok)
                    v.text = *value;
            }
        }
        if (!ok) {
            if (countDamage)
                ++m_damagedLines;
            continue;
        }
        put(*current, v);
    }
}

bool SettingsStore::load(QString *error)
{
    m_sections.clear();
    m_damagedLines = 0;
    QFile file(m_path);
    if (!file.exists())
        return true;
    QByteArray bytes;
    if (!TextFile::readBytes(m_path, bytes, error))
        return false;
    parse(decodeText(bytes), true);
    m_backupNeeded = m_damagedLines > 0;
    return true;
}

void SettingsStore::merge(const QByteArray &bytes)
{
    parse(decodeText(bytes), false);
}

QByteArray SettingsStore::serialize() const
{
    QString out = QStringLiteral("REGEDIT4\r\n");
    for (const Section &s : m_sections) {
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

bool SettingsStore::save(QString *error)
{
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = info.absolutePath() + QStringLiteral("\r\n設定フォルダーを作成できません。");
        return false;
    }
    if (m_backupNeeded && info.exists()) {
        const QString backup = m_path + QStringLiteral(".damaged");
        QFile::remove(backup);
        if (!QFile::copy(m_path, backup)) {
            if (error)
                *error = backup + QStringLiteral("\r\n破損した設定ファイルの控えを作成できません。");
            return false;
        }
    }
    if (!TextFile::writeBytes(m_path, serialize(), error))
        return false;
    m_backupNeeded = false;
    return true;
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
    put(ensureSection(section), Value{name, true, value, {}});
}

void SettingsStore::setString(const QString &section, const QString &name, const QString &value)
{
    put(ensureSection(section), Value{name, false, 0, value});
}

QByteArray SettingsStore::installFile(const QString &startDir)
{
    QByteArray bytes;
    const QString local = QDir(startDir).filePath(QStringLiteral("QUAV_INSTALL.REG"));
    if (QFileInfo(local).isFile() && TextFile::readBytes(local, bytes))
        return bytes;
    QFile builtIn(QStringLiteral(":/quav/QUAV_INSTALL.REG"));
    if (builtIn.open(QIODevice::ReadOnly))
        return builtIn.readAll();
    return {};
}

bool SettingsStore::importInstallFile(const QString &startDir, QString *error)
{
    merge(installFile(startDir));
    return save(error);
}
