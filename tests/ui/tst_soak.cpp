// A long random run of user actions on the main window, the rename dialog and the settings
// dialog, while another thread adds, removes and renames snack files behind the program's
// back. After every step the program has returned, no snack file is lost, duplicated or
// changed, and no two names are the same name in another letter case; after every refresh
// made while the other thread rests, the lists are the folder's.
//
// KURUBAKO_SOAK_SEED=<n> replays a run; KURUBAKO_SOAK_STEPS=<n> changes its length.

#include "uifixture.h"

#include "snacks/snackscan.h"
#include "ui/renamedialog.h"
#include "ui/settingsdialog.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

using kurubako::MsgBox;

namespace {

// Another program in the snack folder. It makes files named "bg-<n>.pac" or ".pa_" with
// contents of their own, renames them to other such names and removes them, and never
// touches a name it did not make: the program keeps the stem when it moves a file, and the
// user's names never start with "bg-". A file that the user renamed is out of its reach.
class FolderChanger
{
public:
    FolderChanger(const QString &dir, quint32 seed)
        : m_dir(dir)
        , m_random(seed)
    {
    }
    ~FolderChanger() { stop(); }

    void start()
    {
        m_thread = std::thread([this] { run(); });
    }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // Held by the test while it compares: the folder stays as it is.
    std::mutex lock;
    // The contents it added and removed, under `lock`.
    QByteArrayList added;
    QByteArrayList removed;
    int changes = 0;

private:
    void run()
    {
        while (!m_stop) {
            {
                const std::lock_guard<std::mutex> hold(lock);
                change();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200 + m_random.bounded(1500)));
        }
    }

    void change()
    {
        const quint32 what = m_random.bounded(10);
        if (m_files.size() < 4 || what < 4) {
            const int n = m_next++;
            const QByteArray stem = "bg-" + QByteArray::number(n);
            const QByteArray contents = "made behind the program's back #" + QByteArray::number(n);
            if (testfolder::makeNewFile(m_dir, stem + extension(), contents)) {
                m_files[stem] = contents;
                added.append(contents);
                ++changes;
            }
            return;
        }
        const auto it = std::next(m_files.begin(), m_random.bounded(int(m_files.size())));
        const QByteArray stem = it->first;
        const QByteArray contents = it->second;
        m_files.erase(it);
        for (const char *ext : {".pac", ".pa_"}) {
            const QByteArray name = stem + ext;
            if (what < 7) {
                if (testfolder::removeFile(m_dir, name)) {
                    removed.append(contents);
                    ++changes;
                    return;
                }
            } else {
                const QByteArray newStem = "bg-" + QByteArray::number(m_next++);
                if (testfolder::renameNoReplace(m_dir, name, newStem + extension())) {
                    m_files[newStem] = contents;
                    ++changes;
                    return;
                }
            }
        }
        // Under neither name: the user gave it a name of their own, and it is no longer ours.
    }

    const char *extension() { return m_random.bounded(2) ? ".pac" : ".pa_"; }

    const QString m_dir;
    QRandomGenerator m_random;
    std::map<QByteArray, QByteArray> m_files; // stem -> contents
    int m_next = 0;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

QStringList entries(const QList<kurubako::Snack> &snacks)
{
    QStringList shown;
    for (const kurubako::Snack &snack : snacks)
        shown.append(snack.name + u'|' + QString::fromLatin1(snack.file.toHex()));
    return shown;
}

// The boxes that a run may show: questions, refusals of what was typed or selected, and the
// failures that another program's changes cause (a snack gone, a name taken) or that a name
// with a NUL or half a surrogate pair causes.
bool expectedBox(const kurubako::ScriptedMsgBox::Shown &box)
{
    static const QStringList titles{u"確認だよ"_s, u"未選択だよ"_s, u"おやつ名は？"_s, u"名前の変更"_s};
    if (titles.contains(box.title))
        return true;
    if (box.title == u"追加エラー" || box.title == u"待避エラー")
        return box.text.contains(u"（53）") || box.text.contains(u"（58）");
    if (box.title == u"エラー")
        return box.text == u"同じ名前のファイルが存在するので変えられないよ"
            || box.text == u"未知のエラーです(53)" || box.text == u"未知のエラーです(52)";
    return false;
}

QString randomName(QRandomGenerator &random)
{
    static const QStringList pieces{u"a"_s, u"B"_s, u"ケーキ"_s, u"ｸｯｷｰ"_s,    u" "_s,  u"\u212A"_s, u"k"_s,
                                    u"ß"_s, u"ẞ"_s, u"é"_s,      u"e\u0301"_s, u"🍰"_s,  u"\n"_s,     u"?"_s,
                                    u"."_s, u"/"_s, u":"_s,      u"Ａ"_s,      u"ａ"_s, u"x"_s};
    QString name;
    const int length = int(random.bounded(4));
    for (int i = 0; i < length; ++i)
        name += pieces.at(random.bounded(int(pieces.size())));
    switch (random.bounded(40)) {
    case 0:
        name += QChar(u'\0');
        break;
    case 1:
        name += QChar(char16_t(0xDC00));
        break;
    default:
        break;
    }
    return name;
}

// The beginning of a random name for a snack there from the start, as the file system holds
// it: at most 8 bytes without "/"; where names are Unicode (Windows), whole characters, none
// that Windows refuses in a name.
QByteArray startStem(QString name)
{
    name.remove(QChar(u'\0')).remove(QChar(char16_t(0xDC00)));
    if (testfolder::namesAreBytes())
        return name.toUtf8().left(8).replace('/', '_');
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c))
            c = u'_';
    }
    return name.toUtf8();
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomUse();
};

void TestSoak::randomUse()
{
    const quint32 seed = qEnvironmentVariableIsSet("KURUBAKO_SOAK_SEED")
        ? quint32(qEnvironmentVariableIntValue("KURUBAKO_SOAK_SEED"))
        : QRandomGenerator::system()->generate();
    const int steps = qEnvironmentVariableIsSet("KURUBAKO_SOAK_STEPS")
        ? qEnvironmentVariableIntValue("KURUBAKO_SOAK_STEPS")
        : 3000;
    std::printf("soak seed %u (replay with KURUBAKO_SOAK_SEED=%u)\n", seed, seed);
    std::fflush(stdout);
    QRandomGenerator random(seed);

    UiFixture f;
    QByteArrayList start;
    for (int i = 0; i < 40; ++i) {
        const QByteArray file =
            "s" + QByteArray::number(i) + startStem(randomName(random)) + (i % 2 ? ".pac" : ".pa_");
        const QByteArray contents = "snack from the start #" + QByteArray::number(i);
        QVERIFY(testfolder::makeFile(f.snackDir, file, contents));
        start.append(contents);
    }
    QVERIFY(f.namesDistinct());
    f.startMainWindow();

    FolderChanger changer(f.snackDir, seed ^ 0x9e3779b9u);
    changer.start();
    QElapsedTimer clock;
    clock.start();
    int refreshes = 0;
    int step = 0;
    for (; step < steps && clock.elapsed() < 25000; ++step) {
        f.box.answers = {random.bounded(2) ? MsgBox::Button::Yes : MsgBox::Button::No,
                         random.bounded(2) ? MsgBox::Button::Yes : MsgBox::Button::No};
        const char *listName = random.bounded(2) ? "stockList" : "todayList";
        kurubako::SnackListView *list = f.list(listName);
        const int rows = list->snackModel()->rowCount();
        const int action = int(random.bounded(13));
        QElapsedTimer stepClock;
        stepClock.start();
        switch (action) {
        case 0:
        case 1:
            for (int n = int(random.bounded(4)); n >= 0 && rows > 0; --n) {
                const QModelIndex row = list->snackModel()->index(int(random.bounded(rows)));
                list->selectionModel()->select(row, QItemSelectionModel::Toggle);
                list->setCurrentIndex(row);
            }
            break;
        case 2:
            QVERIFY(f.click("addToTodayButton"));
            break;
        case 3:
            QVERIFY(f.click("moveToStockButton"));
            break;
        case 4:
            QVERIFY(f.click(random.bounded(2) ? "stockSelectAllButton" : "stockClearButton"));
            break;
        case 5:
            QVERIFY(f.click(random.bounded(2) ? "todaySelectAllButton" : "todayClearButton"));
            break;
        case 6:
        case 7: {
            // A refresh while the folder rests shows the folder exactly.
            const std::lock_guard<std::mutex> hold(changer.lock);
            if (random.bounded(2)) {
                // Keys reach the window only while it is active, as after a dialog closes.
                QApplication::setActiveWindow(f.window());
                QTest::keyClick(f.window(), Qt::Key_F5);
            } else {
                f.action("refreshAction")->trigger();
            }
            ++refreshes;
            const kurubako::SnackLists lists = kurubako::scanSnackFolder(*f.files, f.snackDir);
            QCOMPARE(entries(f.list("stockList")->snackModel()->snacks()), entries(lists.stock));
            QCOMPARE(entries(f.list("todayList")->snackModel()->snacks()), entries(lists.today));
            break;
        }
        case 8:
        case 9: {
            if (rows > 0)
                list->setCurrentIndex(list->snackModel()->index(int(random.bounded(rows))));
            const QString name = randomName(random);
            QVERIFY(f.withRenameDialog(list == f.list("stockList") ? kurubako::SnackSet::Stock
                                                                   : kurubako::SnackSet::Today,
                                       [&](kurubako::RenameDialog &dialog) {
                                           dialog.findChild<QLineEdit *>(u"newName"_s)->setText(name);
                                           dialog.findChild<QPushButton *>(u"renameButton"_s)->click();
                                       }));
            break;
        }
        case 10: {
            const kurubako::DoubleClickAction before = f.window()->preferences().doubleClickAction;
            const auto option = kurubako::DoubleClickAction(random.bounded(2));
            const QString optionName =
                option == kurubako::DoubleClickAction::Move ? u"moveOption"_s : u"renameOption"_s;
            const bool ok = random.bounded(2);
            QVERIFY(f.withDialog<kurubako::SettingsDialog>(
                "settingsAction", [&](kurubako::SettingsDialog &dialog) {
                    dialog.findChild<QRadioButton *>(optionName)->setChecked(true);
                    dialog.findChild<QPushButton *>(ok ? u"okButton"_s : u"cancelButton"_s)->click();
                }));
            QCOMPARE(f.window()->preferences().doubleClickAction, ok ? option : before);
            break;
        }
        case 11: {
            // A double-click moves the snack, or opens the rename dialog, which is answered.
            const QString name = randomName(random);
            const bool accept = random.bounded(2);
            QTimer::singleShot(0, f.window(), [&] {
                auto *dialog = qobject_cast<kurubako::RenameDialog *>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                dialog->findChild<QLineEdit *>(u"newName"_s)->setText(name);
                if (accept)
                    dialog->findChild<QPushButton *>(u"renameButton"_s)->click();
                if (dialog->isVisible())
                    dialog->reject();
            });
            Q_EMIT list->doubleClicked(list->currentIndex());
            // The answer is given only while the dialog is open.
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            break;
        }
        default:
            f.action("skipQuestionsAction")->trigger();
            break;
        }
        QVERIFY2(stepClock.elapsed() < 5000,
                 qPrintable(u"step %1 (action %2) took too long"_s.arg(step).arg(action)));
        f.box.answers.clear();

        const std::lock_guard<std::mutex> hold(changer.lock);
        QByteArrayList expected = start + changer.added;
        for (const QByteArray &contents : std::as_const(changer.removed))
            expected.removeOne(contents);
        std::sort(expected.begin(), expected.end());
        QCOMPARE(testfolder::contents(f.snackDir), expected);
        QVERIFY2(f.namesDistinct(), qPrintable(QString::number(step)));
        for (const auto &box : std::as_const(f.box.shown))
            QVERIFY2(expectedBox(box), qPrintable(box.title + u": "_s + box.text));
        f.box.shown.clear();
    }
    changer.stop();
    QVERIFY(f.window()->isVisible());
    std::printf("soak: %d steps, %d refreshes checked, %d changes behind the program's back, %lld ms\n", step,
                refreshes, changer.changes, clock.elapsed());
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
