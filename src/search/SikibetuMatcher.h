#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Which files a search reads, decided by their identifier (file-name
// extension) alone.
class SikibetuMatcher
{
public:
    // chosen: the identifiers a search reads (SearchRequest::identifiers).
    explicit SikibetuMatcher(QStringList chosen) : m_chosen(std::move(chosen)) {}

    // The text after the last "." among the last four characters of the
    // upper-cased name, so at most three characters: A.TXT -> TXT, B.C -> C,
    // DATA.HTML and README -> empty. A view into upperName.
    static QStringView identifierIn(QStringView upperName);

    // Exact, case-sensitive comparison: identifiers are stored upper case and
    // taken from upper-cased names. The empty identifier never matches, even
    // when the single identifier chosen is empty (a file without an extension
    // is never searched).
    bool Match_Sikibetu(QStringView identifier) const;

private:
    QStringList m_chosen;
};
