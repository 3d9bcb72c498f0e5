#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The file-backed key/value store that holds the program's settings, in a
// sectioned text format of quoted names and values:
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\software\VKM\QUAV\EXECUTE]
//   "FILE_OUT_NAME"="/home/user/result.txt"
//   "SUB_DIR_FLG"=dword:00000001
//
// Section and value names compare without regard to case. In a quoted text
// "\\" stands for a backslash, "\"" for a double quote, "\n" for a line feed
// and "\r" for a carriage return, so one value is always one line.
//
// The file is written as UTF-8 (Linux paths may hold characters that code
// page 932 lacks). Each line is read as UTF-8 when it is valid UTF-8 and as
// code page 932 otherwise, so a Shift-JIS import file made on Windows reads
// as it was written and one bad byte damages one value, not the file.
//
// Several instances of the program may share the file: a write takes a lock
// beside it, reads the file again and changes only the values it writes, so
// what another instance stored meanwhile is kept; the file is then replaced
// atomically.
class SettingsStore
{
public:
    static const QString kRoot; // HKEY_LOCAL_MACHINE\software\VKM\QUAV
    static const QString kFileName;
    static const QString kInstallFileName; // QUAV_INSTALL.REG

    struct Value
    {
        QString name;
        bool isNumber = false;
        qint32 number = 0;
        QString text;
    };

    // $QUAV_CONFIG_DIR/QUAV.REG, else the user's config folder /quav/QUAV.REG.
    static QString defaultPath();

    explicit SettingsStore(const QString &path = defaultPath());

    const QString &path() const { return m_path; }
    // Where a damaged file is copied before anything is written over it.
    QString damagedCopyPath() const { return m_path + QStringLiteral(".damaged"); }

    // Reads the file. A missing file is an empty store (true). A file that
    // exists but cannot be read gives false with a reason, and the store then
    // never writes over it for as long as it lives.
    bool load(QString *error = nullptr);
    bool unreadable() const { return m_unreadable; }
    // Parses text in the store's format and merges it in (an import).
    void merge(const QByteArray &bytes);

    // Puts the values into the section (created when missing), in memory and
    // in the file; values of the same name are replaced, others kept. false
    // with a Japanese reason when the file was not written (the values stay
    // in memory).
    bool writeValues(const QString &section, const QList<Value> &values, QString *error = nullptr);
    // Writes the whole store in memory over the file (an import or repair).
    bool save(QString *error = nullptr);

    // Lines of the file last read that could not be read as written (not
    // parsed, or not UTF-8), 1-based.
    int damagedLines() const { return int(m_damaged.size()); }
    const QList<int> &damagedLineNumbers() const { return m_damaged; }
    // Copies the file as last read to damagedCopyPath(), once per damaged
    // content; false with a reason when the copy could not be made.
    bool keepDamagedCopy(QString *error = nullptr);
    // Damage found since the last call (by load or by the reading again
    // before a write) that the user has not heard of; empties the list.
    QList<int> takeUnreportedDamage();

    // The user hears of a store that cannot be read or written once in a
    // session: true the first time only.
    bool firstFailure();

    bool rootExists() const;
    bool hasSection(const QString &section) const;

    std::optional<qint32> number(const QString &section, const QString &name) const;
    std::optional<QString> string(const QString &section, const QString &name) const;
    // Writing a value into a missing section creates it; memory only.
    void setNumber(const QString &section, const QString &name, qint32 value);
    void setString(const QString &section, const QString &name, const QString &value);

    QByteArray serialize() const;

    // The program's own folders that may hold the import file: the folder of
    // the executable and the installed data folder (<prefix>/share/quav
    // beside <prefix>/bin). Never the current folder.
    static QStringList programFolders();
    // QUAV_INSTALL.REG from the first of `folders` that has one, otherwise
    // the factory defaults built into the program.
    static QByteArray installFile(const QStringList &folders = programFolders());
    bool importInstallFile(QString *error = nullptr);

private:
    struct Section
    {
        QString path; // full key path as written
        QList<Value> values;
    };
    struct Parsed
    {
        QList<Section> sections;
        QList<int> damaged;
    };
    static Section *findSection(QList<Section> &sections, const QString &path);
    const Section *findSection(const QString &path) const;
    static Section &ensureSection(QList<Section> &sections, const QString &section);
    const Value *findValue(const QString &section, const QString &name) const;
    static void put(Section &section, const Value &value);
    static QString sectionPath(const QString &section);
    static void parse(const QByteArray &bytes, Parsed &into, bool storeFile);
    static QByteArray serialize(const QList<Section> &sections);
    bool commit(const std::function<void(QList<Section> &)> &change, QString *error);
    void noteDamage(const QByteArray &bytes, const QList<int> &damaged);

    QString m_path;
    QList<Section> m_sections;
    QList<int> m_damaged;
    QByteArray m_damagedBytes;   // the file as read when it held damage
    QByteArray m_copiedBytes;    // the damaged content last copied aside
    QByteArray m_reportedBytes;  // the damaged content the user has heard of
    QList<int> m_unreported;
    bool m_unreadable = false;
    bool m_failureReported = false;
};
