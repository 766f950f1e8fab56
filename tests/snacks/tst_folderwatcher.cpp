#include "snacks/folderwatcher.h"

#include "../common/testfolder.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using namespace kurubako;

namespace {

// A watcher on a temporary folder, and what it reported.
struct Watched
{
    explicit Watched(std::chrono::milliseconds settleTime)
    {
        watcher.setSettleTime(settleTime);
        watcher.watch(folder.path());
    }

    testfolder::TempFolder folder;
    FolderWatcher watcher;
    QSignalSpy changed{&watcher, &FolderWatcher::changed};
};

} // namespace

class TestFolderWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void burstWhileSettling_reportedOnce();
    void changeWhileHeld_reportedOnRelease();
    void noticesBeforeWatch_dropped();
    void folderThatCannotBeWatched_silent();
};

void TestFolderWatcher::burstWhileSettling_reportedOnce()
{
    Watched w(1h);
    auto &[folder, watcher, changed] = w;
    QVERIFY(testfolder::make(folder.path(), {"a.pac", "b.pac", "c.pa_"}));
    QVERIFY(testfolder::removeFile(folder.path(), "b.pac"));
    QTRY_VERIFY(watcher.hasPendingChange());
    watcher.setSettleTime(0ms);
    QVERIFY(changed.wait());
    QCOMPARE(changed.count(), 1);
    QVERIFY(!watcher.hasPendingChange());
}

void TestFolderWatcher::changeWhileHeld_reportedOnRelease()
{
    Watched w(0ms);
    auto &[folder, watcher, changed] = w;
    watcher.hold();
    watcher.hold();
    QVERIFY(testfolder::make(folder.path(), {"a.pac"}));
    QTRY_VERIFY(watcher.hasPendingChange());
    QCoreApplication::processEvents(); // the settle time is over
    watcher.release();
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 0);
    watcher.release();
    QVERIFY(changed.wait());
    QCOMPARE(changed.count(), 1);

    // Listed again while held: the change waiting is in that listing.
    watcher.hold();
    QVERIFY(testfolder::make(folder.path(), {"b.pac"}));
    QTRY_VERIFY(watcher.hasPendingChange());
    watcher.watch(folder.path());
    QVERIFY(!watcher.hasPendingChange());
    watcher.release();
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);
}

void TestFolderWatcher::noticesBeforeWatch_dropped()
{
    // As after the program's own renames: the listing that follows them starts a new watch,
    // here on another folder first and then on the first one again.
    Watched w(0ms);
    auto &[folder, watcher, changed] = w;
    testfolder::TempFolder other;
    QVERIFY(testfolder::make(folder.path(), {"a.pa_"}));
    QVERIFY(testfolder::renameNoReplace(folder.path(), "a.pa_", "a.pac"));
    watcher.watch(other.path());
    QVERIFY(testfolder::make(folder.path(), {"b.pac"}));
    watcher.watch(folder.path());
    for (int pass = 0; pass < 3; ++pass)
        QCoreApplication::processEvents(); // reads what notices the kernel holds
    QCOMPARE(changed.count(), 0);
    QVERIFY(testfolder::make(other.path(), {"c.pac"}));
    QVERIFY(testfolder::make(folder.path(), {"d.pac"}));
    QVERIFY(changed.wait());
    QCOMPARE(changed.count(), 1);
}

void TestFolderWatcher::folderThatCannotBeWatched_silent()
{
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    testfolder::TempFolder folder;
    FolderWatcher watcher;
    watcher.watch(folder.path() + u"/missing"_s);
    QVERIFY(!watcher.isWatching());
    watcher.watch(QString());
    QVERIFY(!watcher.isWatching());
    watcher.watch(folder.path());
    QVERIFY(watcher.isWatching());
}

QTEST_GUILESS_MAIN(TestFolderWatcher)
#include "tst_folderwatcher.moc"
