#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

struct Settings;

// Which files a search reads, decided by their identifier (file-name
// extension) alone.
class SikibetuMatcher
{
public:
    // SIKIBETU_ALL_FLG = 1: every non-empty entry of SIKIBETU; otherwise the
    // single Search_Sikibetu.
    SikibetuMatcher(const Settings &settings, const QString &searchSikibetu);

    // The text after the last "." among the last four characters of the
    // upper-cased name, so at most three characters: A.TXT -> TXT, B.C -> C,
    // DATA.HTML and README -> empty.
    static QString identifierOf(QStringView upperName) { return identifierIn(upperName).toString(); }
    static QStringView identifierIn(QStringView upperName);

    // Exact, case-sensitive comparison: identifiers are stored upper case and
    // taken from upper-cased names. The empty identifier never matches, even
    // when the single identifier chosen is empty (a file without an extension
    // is never searched).
    bool Match_Sikibetu(QStringView identifier) const;

private:
    QStringList m_chosen;
};
