#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The file-backed key/value store that holds the program's settings, in the
// registry editor's text format:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\software\VKM\QUAV\EXECUTE]
//   "FILE_OUT_NAME"="/home/user/result.txt"
//   "SUB_DIR_FLG"=dword:00000001
//
// Section and value names compare without regard to case. The file is
// written as UTF-8 (Linux paths may hold characters that code page 932
// lacks); a file that is not valid UTF-8, such as an import file made on the
// original platform, is read as code page 932. Every save replaces the file
// atomically. Lines that cannot be parsed are skipped and counted; before a
// file with such lines is first overwritten, a copy is kept beside it
// (".damaged"), so nothing the user had is lost to a repair.
class SettingsStore
{
public:
    static const QString kRoot; // HKEY_LOCAL_MACHINE\software\VKM\QUAV
    static const QString kFileName;

    // $QUAV_CONFIG_DIR/QUAV.REG, else the user's config folder /quav/QUAV.REG.
    static QString defaultPath();

    explicit SettingsStore(const QString &path = defaultPath());

    const QString &path() const { return m_path; }

    // Reads the file. A missing file is an empty store (true); false with a
    // reason when it exists but cannot be read.
    bool load(QString *error = nullptr);
    // Parses text in the store's format and merges it in (an import).
    void merge(const QByteArray &bytes);
    bool save(QString *error = nullptr);

    int damagedLines() const { return m_damagedLines; }
    bool rootExists() const;
    bool hasSection(const QString &section) const;

    std::optional<qint32> number(const QString &section, const QString &name) const;
    std::optional<QString> string(const QString &section, const QString &name) const;
    // Writing a value into a missing section creates it.
    void setNumber(const QString &section, const QString &name, qint32 value);
    void setString(const QString &section, const QString &name, const QString &value);

    QByteArray serialize() const;

    // The import file: QUAV_INSTALL.REG in the start-up folder when it is
    // there, otherwise the factory defaults built into the program.
    static QByteArray installFile(const QString &startDir);
    bool importInstallFile(const QString &startDir, QString *error = nullptr);

private:
    struct Value
    {
        QString name;
        bool isNumber = false;
        qint32 number = 0;
        QString text;
    };
    struct Section
    {
        QString path; // full key path as written
        QList<Value> values;
    };
    Section *findSection(const QString &path);
    const Section *findSection(const QString &path) const;
    Section &ensureSection(const QString &section);
    const Value *findValue(const QString &section, const QString &name) const;
    static void put(Section &section, const Value &value);
    static QString sectionPath(const QString &section);
    void parse(const QString &text, bool countDamage);

    QString m_path;
    QList<Section> m_sections;
    int m_damagedLines = 0;
    bool m_backupNeeded = false;
};
