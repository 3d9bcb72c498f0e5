#pragma once

#include <QHash>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

// The status bar's four panels, addressed by key: "SEARCH", "PATH", "WORD",
// "HIT_SU". The core writes texts here; the status bar widget mirrors them.
class StatusPanels : public QObject
{
    Q_OBJECT
public:
    static const QString kSearch;
    static const QString kPath;
    static const QString kWord;
    static const QString kHitSu;

    void setText(const QString &key, const QString &text);
    QString text(const QString &key) const;

Q_SIGNALS:
    void changed(const QString &key, const QString &text);

private:
    // The four panels by slot, found without hashing their key: the search
    // sets "PATH" for every file it reads. Any other key goes to m_texts.
    static int slotOf(const QString &key);
    std::array<std::optional<QString>, 4> m_panels;
    QHash<QString, QString> m_texts;
};
