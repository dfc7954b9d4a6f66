// w3-langcs: it writes the check value into the cs line and leaves every other byte alone.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Strings of lengths 6 and 1 (UTF-8 decoded): R = 7, check string "811942340".
const QByteArray kBody = "; hand-written comment\r\n[font]\r\nfamily=Test Sans\r\ntotal=2\r\n%CS%"
                         "\r\n[strings]\r\n1=GRÖSSE\r\n2=宏\r\n";

QByteArray withCs(const QByteArray &csLine)
{
    return QByteArray(kBody).replace("%CS%", csLine);
}

}  // namespace

class TestLangCs : public QObject {
    Q_OBJECT
private slots:
    void rewritesOnlyTheCheckValue_data();
    void rewritesOnlyTheCheckValue();
    void refusesFilesNotNamedAsLanguages();
    void refusesStringCountsBeyondTheBound();

private:
    int run(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QCoreApplication::applicationDirPath() + "/w3-langcs", arguments);
        if (!tool.waitForFinished(30000))
            return -1;
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }
};

void TestLangCs::rewritesOnlyTheCheckValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("wrong value replaced") << withCs("cs = 123") << withCs("cs=811942340");
    QTest::newRow("missing value added after [font]")
        << QByteArray("[font]\nfamily=X\ntotal=2\n[strings]\n1=GRÖSSE\n2=宏\n")
        << QByteArray("[font]\ncs=811942340\nfamily=X\ntotal=2\n[strings]\n1=GRÖSSE\n2=宏\n");
    QTest::newRow("right value left alone") << withCs("cs=811942340") << withCs("cs=811942340");
}

void TestLangCs::rewritesOnlyTheCheckValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath("lang_031000.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();

    QCOMPARE(run({"--check", path}), before == after ? 0 : 1);
    QCOMPARE(run({path}), 0);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
    QCOMPARE(run({"--check", path}), 0);
}

void TestLangCs::refusesFilesNotNamedAsLanguages()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("strings.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(withCs("cs=1"));
    file.close();
    QCOMPARE(run({path}), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), withCs("cs=1"));
}

void TestLangCs::refusesStringCountsBeyondTheBound()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lang_031000.ini");
    const QByteArray text = "[font]\nfamily=X\ntotal=2147483647\ncs=1\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    QCOMPARE(run({"--check", path}), 1);
    QCOMPARE(run({path}), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), text);
}

QTEST_GUILESS_MAIN(TestLangCs)
#include "tst_langcs.moc"
