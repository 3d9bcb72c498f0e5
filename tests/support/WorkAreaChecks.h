#pragma once

#include "template/TemplateRead.h"
#include "workarea/LineIndex.h"
#include "workarea/WorkArea.h"

#include <QDateTime>
#include <QTest>

// Fails the test with every broken invariant of the work area; writing tests
// call it after each step.
#define QVERIFY_CONSISTENT(work)                                                                                       \
    do {                                                                                                               \
        const QStringList errors_ = (work).invariantErrors();                                                          \
        QVERIFY2(errors_.isEmpty(), qPrintable(errors_.join(QLatin1Char('\n'))));                                      \
    } while (false)

// A template file put into the work area as a template read puts it: its
// path as the key of its lines, the "ADD____FILE = " header with date and
// size, no hit lines; the line index rebuilt.
inline void addTemplate(WorkArea &w, const QString &path, const QStringList &lines)
{
    const QString header = TemplateRead::templateHeader(path, QDateTime(QDate(2024, 5, 1), QTime(9, 30)), 120);
    QVERIFY(w.admitFile(path, {}, {header}, TemplateRead::templateEntries(path, lines)) >= 0);
    LineIndex::Build_Line_Index(w);
}
