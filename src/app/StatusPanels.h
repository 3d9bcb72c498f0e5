#pragma once

#include <QHash>
#include <QObject>
#include <QString>

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
    QString text(const QString &key) const { return m_texts.value(key); }

Q_SIGNALS:
    void changed(const QString &key, const QString &text);

private:
    QHash<QString, QString> m_texts;
};
