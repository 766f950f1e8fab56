// Snack names that a careless or hostile folder holds or a user types: each is listed, moved
// and renamed to exactly the name given, or refused with the program's message, and no name
// ends up the same as another's in any letter case.

#include "uifixture.h"

#include "snacks/snackscan.h"
#include "ui/renamedialog.h"

#include <QElapsedTimer>
#include <QLineEdit>

#include <algorithm>
#include <fcntl.h>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;

namespace {

using Names = QByteArrayList;

QByteArray utf8(const QString &text)
{
    return text.toUtf8();
}

// Renames the current snack of a list through the rename dialog, questions off.
void renameThroughDialog(UiFixture &f, const char *listName, int row, const QString &newName)
{
    f.list(listName)->setCurrentIndex(f.list(listName)->snackModel()->index(row));
    QVERIFY(f.withRenameDialog(qstrcmp(listName, "stockList") == 0 ? kurubako::SnackSet::Stock
                                                                   : kurubako::SnackSet::Today,
                               [&](kurubako::RenameDialog &dialog) {
                                   dialog.findChild<QLineEdit *>(u"newName"_s)->setText(newName);
                                   dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
                               }));
}

} // namespace

class TestNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listedMovedRenamed_data();
    void listedMovedRenamed();
    void sameNameInAnyCase_data();
    void sameNameInAnyCase();
    void hundredThousandSnacks();
};

// One stock snack: listed under `shown`, added to today's snacks, then renamed to `newName`.
void TestNames::listedMovedRenamed_data()
{
    QTest::addColumn<QByteArray>("stem"); // the file is stem + ".pa_"
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<QByteArray>("renamed"); // the file after the rename; empty: refused
    QTest::addColumn<QString>("message");

    const QString sjis = u"ソフト"_s;
    QTest::newRow("Shift_JIS") << QByteArray("\x83\x5c\x83\x74\x83\x67") << sjis << u"ソフト2"_s
                               << utf8(u"ソフト2.pac"_s) << QString();
    QTest::newRow("Shift_JIS, name left as it is") << QByteArray("\x83\x5c\x83\x74\x83\x67") << sjis << sjis
                                                   << QByteArray("\x83\x5c\x83\x74\x83\x67.pac") << QString();
    QTest::newRow("neither UTF-8 nor Shift_JIS, name left as it is")
        << QByteArray("\xff\xfe"
                      "ab")
        << u"\uFFFD\uFFFDab"_s << u"\uFFFD\uFFFDab"_s
        << QByteArray("\xff\xfe"
                      "ab.pac")
        << QString();
    QTest::newRow("newlines: moved, refused in a new name")
        << QByteArray("a\nb") << u"a\nb"_s << u"a\nc\r"_s << QByteArray() << u"未知のエラーです(52)"_s;
    QTest::newRow("leading and trailing spaces")
        << QByteArray(" a ") << u" a "_s << u"  b  "_s << QByteArray("  b  .pac") << QString();
    QTest::newRow("only spaces") << QByteArray("   ") << u"   "_s << u" "_s << QByteArray(" .pac")
                                 << QString();
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf"
                                                   "a")
                                     << u"\uFEFFa"_s << u"\uFEFFb"_s
                                     << QByteArray("\xef\xbb\xbf"
                                                   "b.pac")
                                     << QString();
    QTest::newRow("surrogate pair before the extension")
        << utf8(u"🍰"_s) << u"🍰"_s << u"🍩"_s << utf8(u"🍩.pac"_s) << QString();
    QTest::newRow("Kelvin sign to k: letter case only")
        << utf8(u"\u212A"_s) << u"\u212A"_s << u"k"_s << QByteArray("k.pac") << QString();
    QTest::newRow("255 bytes") << QByteArray(251, 'x') << QString(251, u'x') << QString(251, u'y')
                               << QByteArray(251, 'y') + ".pac" << QString();
    QTest::newRow("255 bytes, new name one byte too long")
        << QByteArray(251, 'x') << QString(251, u'x') << QString(252, u'y') << QByteArray()
        << u"未知のエラーです(64)"_s;
    QTest::newRow("new name too long in UTF-8 only")
        << QByteArray("a") << u"a"_s << QString(84, u'あ') << QByteArray() << u"未知のエラーです(64)"_s;
    QTest::newRow("NUL in the new name")
        << QByteArray("a") << u"a"_s << QString(u"b\0c"_s) << QByteArray() << u"未知のエラーです(52)"_s;
    QTest::newRow("half a surrogate pair")
        << QByteArray("a") << u"a"_s << QString(u"b"_s + QChar(char16_t(0xD83C))) << QByteArray()
        << u"未知のエラーです(52)"_s;
}

void TestNames::listedMovedRenamed()
{
    QFETCH(QByteArray, stem);
    QFETCH(QString, shown);
    QFETCH(QString, newName);
    QFETCH(QByteArray, renamed);
    QFETCH(QString, message);
    UiFixture f;
    QVERIFY(testfolder::makeFile(f.snackDir, stem + ".pa_", "snack"));
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    QCOMPARE(f.names("stockList"), QStringList{shown});

    QVERIFY(f.click("stockSelectAllButton"));
    QVERIFY(f.click("addToTodayButton"));
    QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
    QCOMPARE(f.snapshot(), stem + ".pac = snack");
    QCOMPARE(f.names("stockList"), QStringList());
    QCOMPARE(f.names("todayList"), QStringList{shown});

    renameThroughDialog(f, "todayList", 0, newName);
    if (renamed.isEmpty()) {
        QCOMPARE(f.box.shown.size(), 1);
        QCOMPARE(f.box.shown[0].text, message);
        QCOMPARE(f.snapshot(), stem + ".pac = snack");
    } else {
        QVERIFY2(f.box.shown.isEmpty(), qPrintable(f.box.shown.value(0).text));
        QCOMPARE(f.snapshot(), renamed + " = snack");
        QCOMPARE(f.names("todayList"), QStringList{newName});
    }
}

// Names that are the same name to the program (equal once each UTF-16 unit is upper-cased, as
// Windows compares them) are never made to stand side by side; names that differ in anything
// else may.
void TestNames::sameNameInAnyCase_data()
{
    QTest::addColumn<QString>("stock"); // the stock snack, renamed or added
    QTest::addColumn<QString>("today"); // a snack of today's
    QTest::addColumn<QString>("newName"); // null: the stock snack is added to today's
    QTest::addColumn<bool>("refused");

    const QString added;
    QTest::newRow("Kelvin sign added beside k") << u"\u212A"_s << u"k"_s << added << false;
    QTest::newRow("K added beside Kelvin sign") << u"K"_s << u"\u212A"_s << added << false;
    QTest::newRow("ẞ added beside ß") << u"ẞ"_s << u"ß"_s << added << false;
    QTest::newRow("final sigma added beside Σ") << u"ς"_s << u"Σ"_s << added << true;
    QTest::newRow("full-width added beside half-width kana") << u"カ"_s << u"ｶ"_s << added << false;
    QTest::newRow("composed added beside decomposed") << u"\u00e9"_s << u"e\u0301"_s << added << false;
    QTest::newRow("renamed to the Kelvin sign beside k") << u"a"_s << u"k"_s << u"\u212A"_s << false;
    QTest::newRow("renamed to ẞ beside ß") << u"a"_s << u"ß"_s << u"ẞ"_s << false;
    QTest::newRow("renamed to ss beside ß") << u"a"_s << u"ß"_s << u"ss"_s << false;
    QTest::newRow("renamed to full-width a beside Ａ") << u"a"_s << u"Ａ"_s << u"ａ"_s << true;
    QTest::newRow("renamed to A beside full-width Ａ") << u"a"_s << u"Ａ"_s << u"A"_s << false;
    QTest::newRow("renamed to half-width beside full-width kana") << u"a"_s << u"カ"_s << u"ｶ"_s << false;
    QTest::newRow("renamed to decomposed beside composed") << u"a"_s << u"\u00e9"_s << u"e\u0301"_s << false;
}

void TestNames::sameNameInAnyCase()
{
    QFETCH(QString, stock);
    QFETCH(QString, today);
    QFETCH(QString, newName);
    QFETCH(bool, refused);
    UiFixture f;
    // The renamed snack is moved to today's first, so that the new name meets `today` in its set.
    QVERIFY(testfolder::make(f.snackDir, {utf8(stock + u".pa_"_s), utf8(today + u".pac"_s)}));
    const QByteArrayList contents = testfolder::contents(f.snackDir);
    f.startMainWindow();
    f.action("skipQuestionsAction")->trigger();
    if (!newName.isNull()) {
        QVERIFY(f.click("stockSelectAllButton"));
        QVERIFY(f.click("addToTodayButton"));
        QVERIFY(f.box.shown.isEmpty());
        renameThroughDialog(f, "todayList", int(f.names("todayList").indexOf(stock)), newName);
    } else {
        QVERIFY(f.click("stockSelectAllButton"));
        QVERIFY(f.click("addToTodayButton"));
    }
    const QString result = newName.isNull() ? stock : newName;
    QCOMPARE(f.box.shown.size(), refused ? 1 : 0);
    if (refused) {
        QCOMPARE(f.box.shown[0].text,
                 newName.isNull() ? u"PostPetおやつのあるディレクトリをチェックしてちょ。（58）\r\n"
                                    u"エラー内容：同じ名前のファイルが既にあります。"_s
                                  : u"同じ名前のファイルが存在するので変えられないよ"_s);
    } else {
        QVERIFY(testfolder::namesIn(f.snackDir).contains(utf8(result + u".pac"_s)));
    }
    QCOMPARE(testfolder::contents(f.snackDir), contents);
    QVERIFY(f.namesDistinct());
}

// A folder of 100,000 snacks, half in each set, is listed in full and in order.
void TestNames::hundredThousandSnacks()
{
    constexpr int PerSet = 50000;
    // On a memory file system where there is one: 100,000 files take seconds to make on a disk.
    const QByteArray tmpDir = qgetenv("TMPDIR");
    if (QFileInfo(u"/dev/shm"_s).isWritable())
        qputenv("TMPDIR", "/dev/shm");
    UiFixture f;
    tmpDir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpDir);
    QElapsedTimer timer;
    timer.start();
    QStringList expected;
    for (int i = 0; i < PerSet; ++i) {
        const QByteArray stem = "s" + QByteArray::number(i).rightJustified(5, '0');
        for (const char *extension : {".pa_", ".pac"}) {
            const int fd = ::open(testfolder::pathOf(f.snackDir, stem + extension).constData(),
                                  O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
            QVERIFY(fd >= 0);
            ::close(fd);
        }
        expected.append(QString::fromLatin1(stem));
    }
    const qint64 made = timer.restart();
    f.startMainWindow();
    const qint64 listed = timer.elapsed();
    qInfo("made in %lld ms, listed in %lld ms", made, listed);
    QCOMPARE(f.labelText("stockCount"), u"全部で 50000 個"_s);
    QCOMPARE(f.labelText("todayCount"), u"全部で 50000 個"_s);
    QCOMPARE(f.names("stockList"), expected);
    QCOMPARE(f.names("todayList"), expected);
}

QTEST_MAIN(TestNames)
#include "tst_names.moc"
