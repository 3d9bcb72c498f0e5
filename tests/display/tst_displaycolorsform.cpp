#include "display/RtfBuilder.h"
#include "DialogControls.h"
#include "display/DisplayColorsForm.h"
#include "display/widgets/QUAV_Color_Settei.h"

#include "DialogFixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class tst_DisplayColorsForm : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pickAndApply();
    void colouringOffLeavesNoColourWords();
    void pickThenCancel();
    void nothingToPick();
    void openWithColouringOff();

private:
    static QPointer<QUAV_Color_Settei> open(DialogFixture &f)
    {
        QPointer<QUAV_Color_Settei> d = new QUAV_Color_Settei(f.wb);
        d->openFrom(&f.main);
        return d;
    }
    static void choose(QUAV_Color_Settei *d, int target)
    {
        control<QComboBox>(d, "QUAV_Color_Base")->setCurrentIndex(target);
        Q_EMIT control<QComboBox>(d, "QUAV_Color_Base")->activated(target);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

void tst_DisplayColorsForm::pickAndApply()
{
    DialogFixture f;
    f.wb.settings.Color_Set_Flg = 1;
    f.wb.settings.File_Name_Color = DisplayColorsForm::fromRgb(0, 0, 0xB0);
    RtfBuilder::Make_RTF_Colors(f.wb.display, f.wb.settings);
    QPointer<QUAV_Color_Settei> d = open(f);
    QVERIFY(control<QRadioButton>(d, "QUAV_Color_Enabled_Yes")->isChecked());
    QCOMPARE(control<QComboBox>(d, "QUAV_Color_Base")->currentIndex(), -1);
    choose(d, 1);
    QCOMPARE(d->pickerColor(), f.wb.settings.File_Name_Color);
    qint32 offered = -1;
    d->pickColor = [&](qint32 start) {
        offered = start;
        return DisplayColorsForm::fromRgb(0x12, 0x34, 0x56);
    };
    control<QPushButton>(d, "Cmd_Color_Settei")->click();
    QCOMPARE(offered, DisplayColorsForm::fromRgb(0, 0, 0xB0));
    // Stored at once, red in the low byte.
    QCOMPARE(f.wb.settings.File_Name_Color, 0x563412);
    QVERIFY(control<QLineEdit>(d, "Text1")->styleSheet().contains(QStringLiteral("#123456")));

    control<QPushButton>(d, "Cmd_Settei")->click();
    f.settle();
    QVERIFY(d.isNull() && f.main.isEnabled());
    QVERIFY(f.wb.display.Color_Table_Line.contains(QStringLiteral("\\red18\\green52\\blue86;")));
    const SettingsStore stored = f.reread();
    QCOMPARE(stored.number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("File_Name_Color")), 0x563412);
    QCOMPARE(stored.number(QStringLiteral("EXECUTE"), QStringLiteral("Color_Set_Flg")), 1);
}

void tst_DisplayColorsForm::colouringOffLeavesNoColourWords()
{
    DialogFixture f;
    f.wb.settings.Color_Set_Flg = 1;
    WorkArea &w = f.wb.work;
    w.Search_Word = QStringLiteral("key");
    w.appendDisplayLine(QStringLiteral("  行番号:内容"));
    QVERIFY(w.admitFile(QStringLiteral("/d/A.TXT"), {},
                         {QStringLiteral("SEARCH_FILE = /d/A.TXT"), QStringLiteral("000001:a key")},
                         {QStringLiteral("/d/A.TXT:@:000001.000:@:a key")})
            >= 0);
    RtfBuilder::Make_RTF_Colors(f.wb.display, f.wb.settings);
    QVERIFY(RtfBuilder::Make_RTF_Document(f.wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" ")).written);
    QVERIFY(read(f.wb.display.listDocumentPath).contains("\\cf3"));
    // A detail document of the coloured kind is kept for reuse.
    f.wb.display.detailCacheKey = QStringLiteral("/d/A.TXT");

    QPointer<QUAV_Color_Settei> d = open(f);
    control<QRadioButton>(d, "QUAV_Color_Enabled_No")->click();
    QVERIFY(!control<QComboBox>(d, "QUAV_Color_Base")->isVisible());
    control<QPushButton>(d, "Cmd_Settei")->click();
    f.settle();
    QCOMPARE(f.wb.settings.Color_Set_Flg, 0);
    QCOMPARE(f.reread().number(QStringLiteral("EXECUTE"), QStringLiteral("Color_Set_Flg")), 0);
    QVERIFY(f.wb.display.detailCacheKey.isEmpty());
    QVERIFY(RtfBuilder::Make_RTF_Document(f.wb, RtfBuilder::ListMode, 1, 1, QStringLiteral(" ")).written);
    QVERIFY(RtfBuilder::Make_RTF_Document(f.wb, RtfBuilder::DetailMode, 0, 0, QStringLiteral("/d/A.TXT")).written);
    for (const QString &path : {f.wb.display.listDocumentPath, f.wb.display.detailDocumentPath}) {
        const QByteArray doc = read(path);
        QVERIFY(doc.contains("a key"));
        QVERIFY2(!doc.contains("\\cf"), doc.constData());
    }
}

void tst_DisplayColorsForm::pickThenCancel()
{
    DialogFixture f;
    f.wb.settings.Color_Set_Flg = 1;
    RtfBuilder::Make_RTF_Colors(f.wb.display, f.wb.settings);
    const QString header = f.wb.display.Color_Table_Line;
    const auto storedHit = f.reread().number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color"));
    QPointer<QUAV_Color_Settei> d = open(f);
    choose(d, 0);
    d->pickColor = [](qint32) { return 0x00FF00; };
    control<QPushButton>(d, "Cmd_Color_Settei")->click();
    control<QRadioButton>(d, "QUAV_Color_Enabled_No")->click();
    control<QPushButton>(d, "Cmd_Cancel")->click();
    f.settle();
    QVERIFY(d.isNull() && f.main.isEnabled());
    QCOMPARE(f.wb.settings.Hit_Color, 0x00FF00);   // kept for the next write
    QCOMPARE(f.wb.settings.Color_Set_Flg, 1);      // the switch is not applied
    QCOMPARE(f.wb.display.Color_Table_Line, header); // nor the header rebuilt
    QCOMPARE(f.reread().number(QStringLiteral("WINDOW_CONFIG"), QStringLiteral("Hit_Color")), storedHit);
}

void tst_DisplayColorsForm::nothingToPick()
{
    DialogFixture f;
    f.wb.settings.Color_Set_Flg = 1;
    f.wb.settings.Line_No_Color = 0x7000;
    QPointer<QUAV_Color_Settei> d = open(f);
    int picks = 0;
    d->pickColor = [&](qint32 start) {
        ++picks;
        return start; // the picker cancelled
    };
    control<QPushButton>(d, "Cmd_Color_Settei")->click();
    QCOMPARE(picks, 0);
    QCOMPARE(f.port.texts(), QStringList{DisplayColorsForm::kNoTarget});
    QCOMPARE(f.port.shown[0].caption, DisplayColorsForm::kCaption);
    QCOMPARE(f.port.shown[0].icon, MessagePort::Icon::Exclamation);

    choose(d, 2);
    const QString sample = control<QLineEdit>(d, "Text1")->styleSheet();
    control<QPushButton>(d, "Cmd_Color_Settei")->click();
    QCOMPARE(picks, 1);
    QCOMPARE(f.wb.settings.Line_No_Color, 0x7000);
    QCOMPARE(control<QLineEdit>(d, "Text1")->styleSheet(), sample);
    QCOMPARE(f.port.shown.size(), 1);
}

void tst_DisplayColorsForm::openWithColouringOff()
{
    DialogFixture f;
    f.wb.settings.Color_Set_Flg = 0;
    QPointer<QUAV_Color_Settei> d = open(f);
    QVERIFY(control<QRadioButton>(d, "QUAV_Color_Enabled_No")->isChecked());
    const QList<QWidget *> targets = {control<QLabel>(d, "Label2"), control<QComboBox>(d, "QUAV_Color_Base"), control<QPushButton>(d, "Cmd_Color_Settei"), control<QLabel>(d, "Label1"), control<QLineEdit>(d, "Text1")};
    for (QWidget *w : targets)
        QVERIFY(!w->isVisible());
    for (QWidget *w : {static_cast<QWidget *>(control<QRadioButton>(d, "QUAV_Color_Enabled_Yes")), static_cast<QWidget *>(control<QRadioButton>(d, "QUAV_Color_Enabled_No")),
                       static_cast<QWidget *>(control<QPushButton>(d, "Cmd_Settei")), static_cast<QWidget *>(control<QPushButton>(d, "Cmd_Cancel"))})
        QVERIFY(w->isVisible());
    control<QRadioButton>(d, "QUAV_Color_Enabled_Yes")->click();
    for (QWidget *w : targets)
        QVERIFY(w->isVisible());
    QCOMPARE(f.wb.settings.Color_Set_Flg, 0); // nothing changes before "設定完了"
}

QTEST_MAIN(tst_DisplayColorsForm)
#include "tst_displaycolorsform.moc"
