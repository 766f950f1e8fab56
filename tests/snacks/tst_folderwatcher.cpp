#include "snacks/folderwatcher.h"

#include "../common/testfolder.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using namespace kurubako;

class TestFolderWatcher : public QObject
{
    Q_OBJECT

    testfolder::TempFolder m_folder;

private Q_SLOTS:
    void burstAndHold_reportedOnceWhenReleased();
    void folderThatCannotBeWatched_silent();
};

void TestFolderWatcher::burstAndHold_reportedOnceWhenReleased()
{
    FolderWatcher watcher;
    watcher.setSettleTime(1h);
    watcher.watch(m_folder.path());
    QSignalSpy changed(&watcher, &FolderWatcher::changed);
    watcher.hold();
    QVERIFY(testfolder::make(m_folder.path(), {"a.pac", "b.pac", "c.pa_"}));
    QVERIFY(testfolder::removeFile(m_folder.path(), "b.pac"));
    QTRY_VERIFY(watcher.hasPendingChange());
    watcher.setSettleTime(0ms);
    QCoreApplication::processEvents(); // the settle time is over while held
    QCOMPARE(changed.count(), 0);
    watcher.release();
    QVERIFY(changed.wait());
    QCOMPARE(changed.count(), 1);

    // Listed again while held: the change waiting is in that listing.
    watcher.hold();
    QVERIFY(testfolder::make(m_folder.path(), {"d.pac"}));
    QTRY_VERIFY(watcher.hasPendingChange());
    watcher.watch(m_folder.path());
    watcher.release();
    QCoreApplication::processEvents();
    QCOMPARE(changed.count(), 1);
}

void TestFolderWatcher::folderThatCannotBeWatched_silent()
{
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    FolderWatcher watcher;
    for (const QString &folder : QStringList{m_folder.path() + u"/missing"_s, QString()}) {
        watcher.watch(folder);
        QVERIFY(!watcher.isWatching());
    }
}

QTEST_GUILESS_MAIN(TestFolderWatcher)
#include "tst_folderwatcher.moc"
