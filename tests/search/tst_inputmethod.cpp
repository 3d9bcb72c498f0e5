#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "DialogControls.h"

#include "DialogFixture.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

// Japanese reaches the program through the desktop's input method: text under
// conversion arrives as a pre-edit, the chosen text as a commit. The search
// dialog must take committed text as typed text.
class tst_InputMethod : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void committedTextIsSearched();
    void committedIdentifierIsUpperCased();

private:
    static void compose(QLineEdit *edit, const QString &preedit, const QString &commit)
    {
        QVERIFY(edit->testAttribute(Qt::WA_InputMethodEnabled));
        QInputMethodEvent composing(preedit, {});
        QCoreApplication::sendEvent(edit, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(commit);
        QCoreApplication::sendEvent(edit, &committed);
    }
};

void tst_InputMethod::committedTextIsSearched()
{
    DialogFixture f;
    f.wb.settings.SIKIBETU_ALL_FLG = 1;
    f.wb.board.applyStartup();
    QPointer<QUAV_SEARCH_SETTEI> d = new QUAV_SEARCH_SETTEI(f.wb);
    d->openFrom(&f.main);
    f.port.shown.clear(); // no default search text yet: the dialog says so as it opens
    QLineEdit *edit = control<QComboBox>(d, "Combo_Search_Data")->lineEdit();
    edit->clear();
    edit->setFocus();
    QInputMethodEvent composing(QStringLiteral("けんさく"), {});
    QCoreApplication::sendEvent(edit, &composing);
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Data")->currentText(), QString()); // not yet chosen
    compose(edit, QString(), QStringLiteral("検索"));
    compose(edit, QStringLiteral("もじ"), QStringLiteral("文字"));
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Data")->currentText(), QStringLiteral("検索文字"));
    control<QPushButton>(d, "CMD_SEARCH")->click();
    f.settle();
    QVERIFY(f.port.shown.isEmpty());
    QCOMPARE(f.wb.work.Search_Word, QStringLiteral("検索文字"));
}

void tst_InputMethod::committedIdentifierIsUpperCased()
{
    DialogFixture f;
    f.wb.settings.SIKIBETU_ALL_FLG = 0;
    QPointer<QUAV_SEARCH_SETTEI> d = new QUAV_SEARCH_SETTEI(f.wb);
    d->openFrom(&f.main);
    QLineEdit *edit = control<QComboBox>(d, "Combo_Search_Sikibetu")->lineEdit();
    edit->clear();
    compose(edit, QStringLiteral("ｔｘｔ"), QStringLiteral("txt"));
    QCOMPARE(control<QComboBox>(d, "Combo_Search_Sikibetu")->currentText(), QStringLiteral("TXT"));
}

QTEST_MAIN(tst_InputMethod)
#include "tst_inputmethod.moc"
