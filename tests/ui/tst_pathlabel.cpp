#include "ui/fonts.h"
#include "ui/pathlabel.h"

#include <QDir>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

// A path fitted into the folder chooser's label: two lines at most, its middle elided.
class TestPathLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitsTwoLines_data();
    void fitsTwoLines();
};

void TestPathLabel::fitsTwoLines_data()
{
    // Lengths in label widths: of the whole path, and of its last folder's name.
    QTest::addColumn<double>("pathLength");
    QTest::addColumn<double>("nameLength");
    QTest::addColumn<int>("lines"); // 0: elided
    QTest::newRow("one line") << 0.5 << 0.1 << 1;
    QTest::newRow("two lines") << 1.6 << 0.2 << 2;
    QTest::newRow("longer than two lines") << 4.0 << 0.3 << 0;
    QTest::newRow("last name longer than a line") << 3.0 << 1.5 << 0;
}

void TestPathLabel::fitsTwoLines()
{
    QFETCH(double, pathLength);
    QFETCH(double, nameLength);
    QFETCH(int, lines);
    QLabel label; // as large as the chooser's, in its font
    label.setFont(kurubako::programFont(9));
    label.resize(313, 25);
    const QFontMetrics metrics = label.fontMetrics();
    const int width = label.contentsRect().width();
    const auto longer = [&metrics, width](QString text, double widths) {
        for (int n = 0; metrics.horizontalAdvance(text) < widths * width; ++n)
            text += n % 3 == 2 ? u'x' : u'お';
        return text;
    };
    const QString name = QDir::separator() + longer(u"PostPet"_s, nameLength);
    QString path = QDir::toNativeSeparators(QDir::rootPath()) + u"home"_s;
    // Folders of at most 0.8 widths up to the length.
    for (double missing; (missing = pathLength - metrics.horizontalAdvance(path + name) / double(width)) > 0;)
        path += QDir::separator() + longer(u"f"_s, std::min(0.8, missing));
    path += name;

    kurubako::showPath(label, path);
    QCOMPARE(label.toolTip(), path);
    const QStringList shown = label.text().split(u'\n');
    for (const QString &line : shown)
        QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
    if (lines > 0) {
        QCOMPARE(shown.size(), lines);
        QCOMPARE(shown.join(QString()), path);
        return;
    }
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[1].startsWith(u'…'));
    QVERIFY(path.endsWith(shown[1].mid(1)));
    if (nameLength < 1) {
        QVERIFY(path.startsWith(shown[0]));
        QVERIFY(shown[1].endsWith(name)); // the last folder's name whole
    } else {
        // Too long for a line: its start on the first line, its end on the second.
        QVERIFY(shown[0].startsWith(u"…"_s + QDir::separator() + u"PostPet"_s));
        QVERIFY(name.startsWith(shown[0].mid(1)));
    }
}

QTEST_MAIN(TestPathLabel)
#include "tst_pathlabel.moc"
