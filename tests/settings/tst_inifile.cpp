#include "platform/settings/inifile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace cx;
using namespace Qt::Literals::StringLiterals;

namespace
{

// Bytes of a literal that may hold NULs.
template <qsizetype N> QByteArray raw(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// What a read of a missing key returns in these tests.
const QString Missing = QStringLiteral("<missing>");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// Empty when every line is a section header, a key=value line or blank, in
// valid UTF-8 without control characters; else a description of the first
// line that is not.
QString dirtyLine(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return QStringLiteral("not UTF-8");
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        if (line.toUtf8().size() > IniFile::MaxLineBytes)
            return where + QStringLiteral("too long");
        for (QChar c : line) {
            if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7f)
                return where + QStringLiteral("control character");
        }
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3 || line.mid(1).chopped(1).contains(u'[') ||
                line.mid(1).chopped(1).contains(u']'))
                return where + line.left(60);
        } else if (line.indexOf(u'=') <= 0 || line.left(line.indexOf(u'=')).trimmed().isEmpty()) {
            return where + line.left(60);
        }
    }
    return {};
}

QByteArray randomJunk(qsizetype size, quint32 seed)
{
    QRandomGenerator gen(seed);
    QByteArray out(size, Qt::Uninitialized);
    for (char &c : out)
        c = char(gen.bounded(256));
    return out;
}

// Child process of concurrentWritersKeepTheirKeys: writes its own keys and
// fails when a write is refused.
int runWriter(const QString &path, const QString &prefix, int count)
{
    IniFile file(path);
    for (int i = 0; i < count; ++i) {
        if (!file.write(QStringLiteral("Race"), prefix + QString::number(i), QString::number(i)))
            return 1;
    }
    return 0;
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void writeCreatesFileAndDirectories()
    {
        const QString path = m_dir.filePath(QStringLiteral("new/deeper/CRXMAIN.INI"));
        IniFile file(path);
        QCOMPARE(file.read(QStringLiteral("Settings"), QStringLiteral("AddMode"), Missing),
                 Missing);
        QVERIFY(
            file.write(QStringLiteral("Settings"), QStringLiteral("AddMode"), QStringLiteral("N")));
        QCOMPARE(fileBytes(path), QByteArray("[Settings]\nAddMode=N\n"));
        QCOMPARE(file.read(QStringLiteral("Settings"), QStringLiteral("AddMode")),
                 QStringLiteral("N"));
        // Neither the temporary file nor the lock file stays behind.
        QCOMPARE(QDir(m_dir.filePath(QStringLiteral("new/deeper")))
                     .entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("CRXMAIN.INI")});
    }

    void readNumber_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("digits") << QByteArray("[S]\nN=150\n") << qint64(150);
        QTest::newRow("blanks around") << QByteArray("[S]\nN=  42  \n") << qint64(42);
        QTest::newRow("negative") << QByteArray("[S]\nN=-1200\n") << qint64(-1200);
        QTest::newRow("beyond 32 bits") << QByteArray("[S]\nN=8589934592\n") << qint64(8589934592);
        QTest::newRow("blank is 0, not the default") << QByteArray("[S]\nN=\n") << qint64(0);
        QTest::newRow("text is 0") << QByteArray("[S]\nN=abc\n") << qint64(0);
        QTest::newRow("digits then text is 0") << QByteArray("[S]\nN=12px\n") << qint64(0);
        QTest::newRow("missing key gives default") << QByteArray("[S]\nM=1\n") << qint64(77);
        QTest::newRow("missing section gives default") << QByteArray("[T]\nN=1\n") << qint64(77);
    }
    void readNumber()
    {
        QFETCH(QByteArray, content);
        QFETCH(qint64, expected);
        const QString path = m_dir.filePath(QStringLiteral("n.ini"));
        putFile(path, content);
        QCOMPARE(IniFile(path).readNumber(QStringLiteral("S"), QStringLiteral("N"), 77), expected);
    }

    void numberRoundTrip()
    {
        IniFile file(m_dir.filePath(QStringLiteral("n.ini")));
        QVERIFY(file.writeNumber(QStringLiteral("S"), QStringLiteral("N"), -32768));
        QCOMPARE(file.readNumber(QStringLiteral("S"), QStringLiteral("N"), 5), qint64(-32768));
    }

    void namesIgnoreCase()
    {
        const QString path = m_dir.filePath(QStringLiteral("case.ini"));
        IniFile file(path);
        QVERIFY(
            file.write(QStringLiteral("Settings"), QStringLiteral("AddMode"), QStringLiteral("N")));
        QVERIFY(file.write(QStringLiteral("Ärger"), QStringLiteral("Öl"), QStringLiteral("1")));
        QCOMPARE(file.read(QStringLiteral("SETTINGS"), QStringLiteral("addmode")),
                 QStringLiteral("N"));
        QCOMPARE(file.read(QStringLiteral("ärger"), QStringLiteral("ÖL")), QStringLiteral("1"));
        // Writing under another spelling changes the existing key, which keeps
        // its spelling, rather than adding a second one.
        QVERIFY(
            file.write(QStringLiteral("settings"), QStringLiteral("ADDMODE"), QStringLiteral("C")));
        QCOMPARE(fileBytes(path),
                 QByteArray("[Settings]\nAddMode=C\n\n[\xC3\x84rger]\n\xC3\x96l=1\n"));
    }

    void writeKeepsEverythingElseInPlace()
    {
        const QString path = m_dir.filePath(QStringLiteral("order.ini"));
        putFile(path, "[Main]\nXPosit=10\nYPosit=20\nWidth=300\n\n[BrowseSongs]\nMaximize=No\n");
        IniFile file(path);
        QVERIFY(file.write(QStringLiteral("Main"), QStringLiteral("YPosit"), QStringLiteral("25")));
        QVERIFY(file.write(QStringLiteral("BrowseSongs"), QStringLiteral("XPosit"),
                           QStringLiteral("5")));
        QVERIFY(file.write(QStringLiteral("SelectAlbum"), QStringLiteral("SRCF?Browse:1"),
                           QStringLiteral("80L(2)|M~Artist~@s40@")));
        QCOMPARE(fileBytes(path),
                 QByteArray("[Main]\nXPosit=10\nYPosit=25\nWidth=300\n\n"
                            "[BrowseSongs]\nMaximize=No\nXPosit=5\n\n"
                            "[SelectAlbum]\nSRCF?Browse:1=80L(2)|M~Artist~@s40@\n"));
    }

    // Each row: a file as it may be found, one key read from it, and what it
    // reads as. A write of another key must then leave a clean file that
    // still reads the same.
    void parsing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QString s = QStringLiteral("S");
        const QString k = QStringLiteral("K");

        QTest::newRow("plain") << QByteArray("[S]\nK=v\n") << s << k << QStringLiteral("v");
        QTest::newRow("CR LF lines")
            << QByteArray("[S]\r\nK=v\r\nL=w\r\n") << s << k << QStringLiteral("v");
        QTest::newRow("no final line break")
            << QByteArray("[S]\nK=v") << s << k << QStringLiteral("v");
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF[S]\nK=v\n") << s << k << QStringLiteral("v");
        QTest::newRow("value is everything after the first =")
            << QByteArray("[S]\nK=a=b=\n") << s << k << QStringLiteral("a=b=");
        QTest::newRow("trailing blanks go, leading stay")
            << QByteArray("[S]\nK=  two words \t \r\n") << s << k << QStringLiteral("  two words");
        QTest::newRow("blank value") << QByteArray("[S]\nK=\n") << s << k << QString();
        QTest::newRow("key and section name trimmed")
            << QByteArray("  [ S ]  \n\t K \t=v\n") << s << k << QStringLiteral("v");
        QTest::newRow("UTF-8 value")
            << QByteArray("[S]\nK=Bj\xC3\xB6rk\n") << s << k << QStringLiteral("Björk");
        QTest::newRow("first of repeated keys")
            << QByteArray("[S]\nK=1\nK=2\n") << s << k << QStringLiteral("1");
        QTest::newRow("section repeated further down")
            << QByteArray("[S]\nA=1\n[T]\nK=t\n[S]\nK=2\n") << s << k << QStringLiteral("2");
        QTest::newRow("key of another section") << QByteArray("[T]\nK=v\n") << s << k << Missing;
        QTest::newRow("key before any section")
            << QByteArray("K=v\n[S]\nA=1\n") << s << k << Missing;
        QTest::newRow("line without =")
            << QByteArray("[S]\njust text\nK=v\n") << s << k << QStringLiteral("v");
        QTest::newRow("line with empty key")
            << QByteArray("[S]\n=v\nK=w\n") << s << k << QStringLiteral("w");

        // Damage: the junk reads as defaults, good lines around it still count.
        QTest::newRow("header without ]") << QByteArray("[S\nK=v\n") << s << k << Missing;
        QTest::newRow("header without ] does not leak into the section before")
            << QByteArray("[S]\nA=1\n[T\nK=v\n") << s << k << Missing;
        QTest::newRow("header without [") << QByteArray("S]\nK=v\n") << s << k << Missing;
        QTest::newRow("header with text after ]")
            << QByteArray("[S] x\nK=v\n") << s << k << Missing;
        QTest::newRow("empty header") << QByteArray("[S]\nA=1\n[]\nK=v\n") << s << k << Missing;
        QTest::newRow("NUL in value") << raw("[S]\nK=a\0b\nL=1\n") << s << k << Missing;
        QTest::newRow("NUL in section name") << raw("[S\0]\nK=v\n") << s << k << Missing;
        QTest::newRow("file of NULs") << QByteArray(4096, '\0') << s << k << Missing;
        QTest::newRow("NUL line does not hide the next")
            << raw("[S]\n\0\0\0\nK=v\n") << s << k << QStringLiteral("v");
        QTest::newRow("binary junk then good lines")
            << QByteArray(randomJunk(8192, 1).replace('\n', ' ') + "\n[S]\nK=v\n") << s << k
            << QStringLiteral("v");
        QTest::newRow("binary junk inside a section")
            << QByteArray("[S]\nA=1\n" + randomJunk(8192, 2) + "\n[S]\nK=v\n") << s << k
            << QStringLiteral("v");
        QTest::newRow("1 MB value")
            << QByteArray("[S]\nK=" + QByteArray(1 << 20, 'x') + "\nL=1\n") << s << k << Missing;
        QTest::newRow("1 MB line does not hide the next")
            << QByteArray("[S]\n" + QByteArray(1 << 20, 'x') + "\nK=v\n") << s << k
            << QStringLiteral("v");
        QTest::newRow("1 MB header does not leak into the section before")
            << QByteArray("[S]\nA=1\n[" + QByteArray(1 << 20, 'x') + "]\nK=v\n") << s << k
            << Missing;
        QTest::newRow("long but acceptable value")
            << QByteArray("[S]\nK=" + QByteArray(60000, 'y') + "\n") << s << k
            << QString(60000, u'y');
        QTest::newRow("invalid UTF-8 value")
            << QByteArray("[S]\nK=\xff\xfe\xc3\n") << s << k << Missing;
        QTest::newRow("invalid UTF-8 header") << QByteArray("[S\xff]\nK=v\n") << s << k << Missing;
        QTest::newRow("stray CR inside a line") << QByteArray("[S]\nK=a\rb\n") << s << k << Missing;
    }
    void parsing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = m_dir.filePath(QStringLiteral("parse.ini"));
        putFile(path, content);
        IniFile file(path);
        QCOMPARE(file.read(section, key, Missing), expected);

        QVERIFY(file.write(QStringLiteral("Fresh"), QStringLiteral("New"), QStringLiteral("1")));
        const QByteArray after = fileBytes(path);
        QVERIFY2(dirtyLine(after).isEmpty(), qPrintable(dirtyLine(after)));
        QCOMPARE(file.read(section, key, Missing), expected);
        QCOMPARE(file.read(QStringLiteral("Fresh"), QStringLiteral("New")), QStringLiteral("1"));
    }

    void lineBreaksInValues()
    {
        const QString path = m_dir.filePath(QStringLiteral("breaks.ini"));
        IniFile file(path);
        const QString value = u"one\ntwo\r\nthree\rfour\0five\n[S]\nK=evil"_s;
        QVERIFY(file.write(QStringLiteral("S"), QStringLiteral("Notes"), value));
        QVERIFY(file.write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("good")));
        const QString expected = QStringLiteral("one two three four five [S] K=evil");
        QCOMPARE(file.read(QStringLiteral("S"), QStringLiteral("Notes")), expected);
        QCOMPARE(IniFile::storedForm(value), expected);
        QCOMPARE(file.read(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("good"));
        QVERIFY(dirtyLine(fileBytes(path)).isEmpty());
    }

    // Another copy of the program is simulated by a second object and by
    // changing the file behind the object's back.
    void nothingIsCached()
    {
        const QString path = m_dir.filePath(QStringLiteral("shared.ini"));
        IniFile mine(path);
        IniFile theirs(path);
        QCOMPARE(mine.read(QStringLiteral("S"), QStringLiteral("K"), Missing), Missing);
        QVERIFY(theirs.write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1")));
        QCOMPARE(mine.read(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("1"));
        putFile(path, "[S]\nK=edited\n");
        QCOMPARE(mine.read(QStringLiteral("S"), QStringLiteral("K")), QStringLiteral("edited"));
        // A write starts from the file as it is now, not as this object last saw it.
        putFile(path, "[S]\nK=edited\nOther=2\n");
        QVERIFY(mine.write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("3")));
        QCOMPARE(theirs.read(QStringLiteral("S"), QStringLiteral("Other")), QStringLiteral("2"));
        QVERIFY(QFile::remove(path));
        QCOMPARE(mine.read(QStringLiteral("S"), QStringLiteral("K"), Missing), Missing);
    }

    // A write that cannot be stored as asked is refused and leaves the file alone.
    void refusedWrites_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const QString s = QStringLiteral("S");
        const QString k = QStringLiteral("K");
        QTest::newRow("empty key") << s << QStringLiteral("  ") << QStringLiteral("v");
        QTest::newRow("= in key") << s << QStringLiteral("a=b") << QStringLiteral("v");
        QTest::newRow("key like a header") << s << QStringLiteral("[T]") << QStringLiteral("v");
        QTest::newRow("line break in key") << s << QStringLiteral("a\nb") << QStringLiteral("v");
        QTest::newRow("empty section") << QString() << k << QStringLiteral("v");
        QTest::newRow("] in section") << QStringLiteral("a]b") << k << QStringLiteral("v");
        QTest::newRow("line break in section")
            << QStringLiteral("a\n[b") << k << QStringLiteral("v");
        QTest::newRow("value longer than a line may be")
            << s << k << QString(IniFile::MaxLineBytes, u'x');
    }
    void refusedWrites()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString path = m_dir.filePath(QStringLiteral("refuse.ini"));
        const QByteArray before("[S]\nK=old\n");
        putFile(path, before);
        QVERIFY(!IniFile(path).write(section, key, value));
        QCOMPARE(fileBytes(path), before);
    }

    void pathThatCannotBeAFile()
    {
        // The parent "directory" is a regular file.
        const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
        putFile(blocker, "not a directory");
        IniFile underFile(blocker + u"/CRXMAIN.INI");
        QCOMPARE(underFile.read(QStringLiteral("S"), QStringLiteral("K"), Missing), Missing);
        QVERIFY(!underFile.write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")));
        QCOMPARE(fileBytes(blocker), QByteArray("not a directory"));

        // The path is a directory.
        const QString dir = m_dir.filePath(QStringLiteral("POSITION.INI"));
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(!IniFile(dir).write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")));
        QCOMPARE(IniFile(dir).read(QStringLiteral("S"), QStringLiteral("K"), Missing), Missing);
        QVERIFY(QFileInfo(dir).isDir());

        // The path is a named pipe: opening it to read would wait for a writer forever.
        const QString fifo = m_dir.filePath(QStringLiteral("pipe.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(IniFile(fifo).read(QStringLiteral("S"), QStringLiteral("K"), Missing), Missing);
        QVERIFY(
            !IniFile(fifo).write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")));
        QVERIFY(timer.elapsed() < 5000);
    }

    void writeWaitsForAnotherWriterThenGivesUp()
    {
        const QString path = m_dir.filePath(QStringLiteral("locked.ini"));
        putFile(path, "[S]\nK=old\n");
        QLockFile other(path + u".lock");
        QVERIFY(other.tryLock(0));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(
            !IniFile(path).write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new")));
        QVERIFY(timer.elapsed() >= 1500);
        QCOMPARE(fileBytes(path), QByteArray("[S]\nK=old\n"));
        other.unlock();
        QVERIFY(
            IniFile(path).write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("new")));
    }

    // A copy that died while writing leaves its lock file behind.
    void lockOfADeadCopyIsTakenOver()
    {
        QProcess dead;
        dead.start(QStringLiteral("sleep"), {QStringLiteral("0.1")});
        QVERIFY(dead.waitForStarted());
        const qint64 pid = dead.processId();
        QVERIFY(dead.waitForFinished());
        const QString path = m_dir.filePath(QStringLiteral("crashed.ini"));
        putFile(path + u".lock", QByteArray::number(pid) + "\ncantorix\n" +
                                     QSysInfo::machineHostName().toUtf8() + '\n');
        QVERIFY(IniFile(path).write(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")));
        QVERIFY(!QFile::exists(path + u".lock"));
    }

    // Two running copies write different keys of one section at the same
    // time, while a third reads: no key may be lost and a read never sees a
    // half-written file.
    void concurrentWritersKeepTheirKeys()
    {
        const QString path = m_dir.filePath(QStringLiteral("race/CRXMAIN.INI"));
        IniFile reader(path);
        QVERIFY(
            reader.write(QStringLiteral("Race"), QStringLiteral("Anchor"), QStringLiteral("here")));
        const int count = 150;
        QList<QProcess *> writers;
        for (const QString &prefix : {QStringLiteral("A"), QStringLiteral("B")}) {
            auto *p = new QProcess(this);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("CX_INIFILE_WRITER"), prefix);
            env.insert(QStringLiteral("CX_INIFILE_PATH"), path);
            env.insert(QStringLiteral("CX_INIFILE_COUNT"), QString::number(count));
            p->setProcessEnvironment(env);
            p->start(QCoreApplication::applicationFilePath(), {});
            writers << p;
        }
        int reads = 0;
        while (writers[0]->state() != QProcess::NotRunning ||
               writers[1]->state() != QProcess::NotRunning) {
            QCOMPARE(reader.read(QStringLiteral("Race"), QStringLiteral("Anchor"), Missing),
                     QStringLiteral("here"));
            ++reads;
            QCoreApplication::processEvents();
        }
        for (QProcess *p : writers) {
            QCOMPARE(p->error(), QProcess::UnknownError); // started, did not crash
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        QVERIFY(reads > 0);
        for (int i = 0; i < count; ++i) {
            for (const QString &prefix : {QStringLiteral("A"), QStringLiteral("B")})
                QCOMPARE(reader.read(QStringLiteral("Race"), prefix + QString::number(i), Missing),
                         QString::number(i));
        }
    }

private:
    QTemporaryDir m_dir;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("CX_INIFILE_WRITER")) {
        return runWriter(qEnvironmentVariable("CX_INIFILE_PATH"),
                         qEnvironmentVariable("CX_INIFILE_WRITER"),
                         qEnvironmentVariableIntValue("CX_INIFILE_COUNT"));
    }
    TestIniFile test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inifile.moc"
