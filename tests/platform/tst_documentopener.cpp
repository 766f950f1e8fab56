#include "platform/documentopener.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

using namespace kurubako;

namespace {

// A stand-in for xdg-open in `bin`: a shell script with `body`.
bool makeOpener(const QString &bin, const QByteArray &body)
{
    QFile file(bin + u"/xdg-open"_s);
    const QByteArray script = "#!/bin/sh\n" + body + '\n';
    return file.open(QIODevice::WriteOnly) && file.write(script) == script.size()
        && file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// The desktop's opener, xdg-open, played by a script on a PATH of its own. It records where
// it ran and what it was handed in "record" beside itself.
class TestDocumentOpener : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { qputenv("PATH", m_path); }
    void open_data();
    void open();
    void openerStaysWithTheViewer();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_bin;
    QString m_document;
    const QByteArray m_path = qgetenv("PATH");
    const QString m_sleep = QStandardPaths::findExecutable(u"sleep"_s);
};

void TestDocumentOpener::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_bin = m_dir->path() + u"/bin"_s;
    m_document = m_dir->path() + u"/ヘルプ/Kurubako.html"_s;
    QVERIFY(QDir().mkpath(m_bin) && QDir().mkpath(m_dir->path() + u"/ヘルプ"_s));
    qputenv("PATH", m_bin.toLocal8Bit());
}

void TestDocumentOpener::open_data()
{
    QTest::addColumn<QByteArray>("opener"); // the stand-in's commands; empty: no xdg-open
    QTest::addColumn<bool>("document");
    QTest::addColumn<bool>("fails");

    const QByteArray record = R"(printf '%s\n%s\n' "$PWD" "$1" >"${0%/*}/record"; )";
    QTest::newRow("viewer opens") << record + "exit 0" << true << false;
    QTest::newRow("no viewer") << record + "exit 3" << true << true;
    QTest::newRow("viewer fails") << record + "exit 4" << true << true;
    QTest::newRow("no document") << record + "exit 0" << false << true;
    QTest::newRow("no xdg-open") << QByteArray() << true << true;
}

void TestDocumentOpener::open()
{
    QFETCH(QByteArray, opener);
    QFETCH(bool, document);
    QFETCH(bool, fails);
    if (!opener.isEmpty())
        QVERIFY(makeOpener(m_bin, opener));
    if (document)
        QVERIFY(QFile(m_document).open(QIODevice::WriteOnly));

    int failures = 0;
    SystemDocumentOpener().open(m_document, m_dir->path(), [&failures] { ++failures; });
    const QString record = m_bin + u"/record"_s;
    if (fails) {
        QTRY_COMPARE(failures, 1);
    } else {
        QTRY_VERIFY(readAll(record).endsWith(u'\n'));
        QTest::qWait(100);
        QCOMPARE(failures, 0);
    }
    // Run in the help's folder with the document, whenever the document is there.
    QCOMPARE(readAll(record),
             document && !opener.isEmpty() ? m_dir->path() + u'\n' + m_document + u'\n' : QString());
}

void TestDocumentOpener::openerStaysWithTheViewer()
{
    // The viewer in the opener's stead, as xdg-open's generic mode has it.
    QVERIFY(!m_sleep.isEmpty());
    QVERIFY(makeOpener(m_bin, R"(echo $$ >"${0%/*}/pid"; exec )" + QFile::encodeName(m_sleep) + " 60"));
    QVERIFY(QFile(m_document).open(QIODevice::WriteOnly));
    int failures = 0;
    QElapsedTimer timer;
    timer.start();
    SystemDocumentOpener().open(m_document, m_dir->path(), [&failures] { ++failures; });
    QVERIFY2(timer.elapsed() < 2000, "waited for the viewer");

    const QString pidFile = m_bin + u"/pid"_s;
    QTRY_VERIFY(readAll(pidFile).endsWith(u'\n'));
    const pid_t pid = readAll(pidFile).trimmed().toInt();
    QVERIFY(pid > 0);
    const auto stop = qScopeGuard([pid] { ::kill(pid, SIGKILL); });
    QTest::qWait(300);
    QCOMPARE(failures, 0);
    // The viewer closing (or the opener killed) is no failure either.
    ::kill(pid, SIGTERM);
    QTRY_VERIFY(::kill(pid, 0) != 0);
    QTest::qWait(100);
    QCOMPARE(failures, 0);
}

QTEST_GUILESS_MAIN(TestDocumentOpener)
#include "tst_documentopener.moc"
