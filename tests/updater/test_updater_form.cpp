// The window Form1 in-process: its controls, the task labels the switches enable, the ticks after a
// run, the message memo, "/REJTETT", and the stop button pressed during downloads.

#include "Form1.h"
#include "TestServer.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace frissites;

namespace {

// Starts nothing; records what would have been started.
class RecordingLauncher : public Launcher {
public:
    RecordingLauncher(const UpdateLog &log, const QString &workDir, QStringList *started)
        : Launcher(log, workDir), m_started(started)
    {
    }

protected:
    bool startDetached(const QString &program, const QStringList &arguments, const QString &, bool) override
    {
        m_started->append(QStringList{QFileInfo(program).fileName()} + arguments);
        return true;
    }
    bool openDocument(const QString &target) override
    {
        m_started->append(QStringLiteral("open ") + target);
        return true;
    }

private:
    QStringList *m_started;
};

void put(const QString &path, const QByteArray &data, bool executable = false)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(data);
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFile::ExeOwner);
}

QByteArray checksum(const QByteArray &data) // data below one block
{
    quint32 sum = 0;
    for (char c : data)
        sum += static_cast<unsigned char>(c);
    return QByteArray::number(sum, 16).toUpper() + (data.isEmpty() ? "" : "0");
}

} // namespace

class TestUpdaterForm : public QObject {
    Q_OBJECT

    TestServer m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<UpdateLog> m_log;
    QStringList m_started;
    int m_endCode = -1;

    QString wd(const QString &name = {}) const { return m_dir->filePath(QStringLiteral("wd/") + name); }
    QString www(const QString &name) const { return m_dir->filePath(QStringLiteral("www/") + name); }

    std::unique_ptr<Form1> makeForm(const QStringList &arguments, const QStringList &packageFolders = {})
    {
        RunSetup setup;
        setup.packageFolders = packageFolders;
        setup.workDir = wd();
        setup.exePath = QStringLiteral(KOVRA_BINARY_DIR "/src/updater/frissites");
        setup.arguments = arguments;
        m_endCode = -1;
        return std::make_unique<Form1>(setup, [this](int code) { m_endCode = code; },
                                       std::make_unique<RecordingLauncher>(*m_log, wd(), &m_started));
    }
    QStringList logLines() const
    {
        QFile f(wd(QStringLiteral("frissites.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    static bool tickShown(Form1 &form, int n)
    {
        return !form.findChild<QLabel *>(QStringLiteral("l_%1").arg(n))->isHidden();
    }
    static bool taskEnabled(Form1 &form, int n)
    {
        return form.findChild<QLabel *>(QStringLiteral("l_feladat%1").arg(n))->isEnabled();
    }

    // Configuration and manifest of a run with a main program update and one other file.
    void publishRun(const QByteArray &program, const QByteArray &file)
    {
        put(wd(QStringLiteral("frissites.ini")),
            "[Szerverek]\r\nFrissito szerver=" + m_server.url().toUtf8() + "\r\nAdatbazis szerver=.\r\nIdotullepes=5\r\n"
            "[Program]\r\nExe neve=kovra\r\n[Eleresek]\r\nProgram azonosito=kovra\r\nAdatbazis neve=KOVRA\r\n"
            "Adatbazis tipusa=SQLite\r\n");
        put(wd(QStringLiteral("kovra")), "#!/bin/sh\n", true);
        put(www(QStringLiteral("kovra/bin/kovra")), program);
        put(www(QStringLiteral("kovra/f.txt")), file);
        put(www(QStringLiteral("kovra/0.sql")), "create table beallitasok (ADATBAZIS_VERZIO int);\r\n");
        put(www(QStringLiteral("kovra/webfrissites.ini")),
            "[Programok]\r\nExe neve=bin/kovra\r\nExe meret=" + QByteArray::number(program.size()) + "\r\nExe checksum=x\r\n"
            "[Adatbazis]\r\nfelhasznalo=sa\r\nsql=0.sql\r\n"
            "[Fajlok]\r\nfajl1=f.txt\r\nfajlmeret1=" + QByteArray::number(file.size()) + "\r\nchecksum1=" + checksum(file)
            + "\r\nhelyifajl1=f.txt\r\n");
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir().mkpath(wd());
        QDir().mkpath(m_dir->filePath(QStringLiteral("www")));
        m_server.setRoot(m_dir->filePath(QStringLiteral("www")));
        m_log = std::make_unique<UpdateLog>(wd(QStringLiteral("frissites.log")));
        m_started.clear();
    }

    void controls_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("enabled"); // tasks 1 to 6, '1' enabled
        QTest::newRow("no switch") << QStringList{} << QStringLiteral("100001");
        QTest::newRow("/ADATBAZIS /FAJLFRISSITES") << QStringList{"/adatbazis", "/FAJLFRISSITES"} << QStringLiteral("101011");
        QTest::newRow("/INDITOFRISSITES") << QStringList{"/INDITOFRISSITES"} << QStringLiteral("110000");
        QTest::newRow("/NINCSINDITAS") << QStringList{"/nincsinditas"} << QStringLiteral("100000");
    }
    void controls()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, enabled);
        auto form = makeForm(arguments);
        QCOMPARE(form->windowTitle(), QStringLiteral("Programindítás"));
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        const QStringList texts{"Frissítési feladatok lekérdezése", "Indítóprogram frissítés", "Adatbázis frissítés",
                                "Programfrissítés", "Egyéb fájlok frissítése", "Programindítás"};
        QString state;
        for (int n = 1; n <= 6; ++n) {
            QCOMPARE(form->findChild<QLabel *>(QStringLiteral("l_feladat%1").arg(n))->text(), texts[n - 1]);
            QVERIFY(!tickShown(*form, n));
            state += taskEnabled(*form, n) ? u'1' : u'0';
        }
        QCOMPARE(state, enabled);
        QCOMPARE(form->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->text(), QStringLiteral("Leállítás"));
        QVERIFY(form->findChild<QProgressBar *>(QStringLiteral("progressbar"))->isHidden());
        QVERIFY(form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->isHidden());
        const auto *timer = form->findChild<QTimer *>(QStringLiteral("timer_Futtatas"));
        QVERIFY(timer && timer->isActive() && timer->isSingleShot());
        QCOMPARE(timer->interval(), 100);
    }

    void hiddenSwitchMinimises()
    {
        auto plain = makeForm({});
        plain->present();
        QVERIFY(!plain->isMinimized());
        auto hidden = makeForm({QStringLiteral("/rejtett")});
        hidden->present();
        QVERIFY(hidden->isMinimized());
    }

    void missingConfigurationShowsTheMessage()
    {
        auto form = makeForm({});
        form->present();
        QTRY_COMPARE_WITH_TIMEOUT(m_endCode, 0, 20000);
        auto *memo = form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"));
        QVERIFY(!memo->isHidden());
        QCOMPARE(memo->toPlainText(), QStringLiteral("Nem található a frissítéshez szükséges \"frissites.ini\" fájl!"));
        QVERIFY(tickShown(*form, 6));
        QVERIFY(!tickShown(*form, 1));
        QVERIFY(form->findChild<QLabel *>(QStringLiteral("l_verzio"))->text().isEmpty());
    }

    // A whole run: ticks 1, 3, 5 and 6 appear, 2 and 4 never; the version shows; the main program starts.
    void ticksAfterARun()
    {
        publishRun("#!/bin/sh\n# new\n", "file");
        QDir().mkpath(wd(QStringLiteral(".")));
        auto form = makeForm({QStringLiteral("/ADATBAZIS"), QStringLiteral("/FAJLFRISSITES")});
        form->present();
        QTRY_VERIFY_WITH_TIMEOUT(m_endCode != -1, 30000);
        QCOMPARE(m_endCode, 0);
        QString ticks;
        for (int n = 1; n <= 6; ++n)
            ticks += tickShown(*form, n) ? u'1' : u'0';
        QCOMPARE(ticks, QStringLiteral("101011"));
        QVERIFY(taskEnabled(*form, 4)); // the program download enabled its label
        QCOMPARE(form->findChild<QLabel *>(QStringLiteral("l_verzio"))->text(), QStringLiteral("1.0g"));
        QVERIFY(form->findChild<QProgressBar *>(QStringLiteral("progressbar"))->isHidden());
        QCOMPARE(m_started, QStringList{"kovra"});
        QCOMPARE(QFile(wd(QStringLiteral("f.txt"))).size(), qint64(4));
    }

    // Targets in a package's folders stay as they are, each refusal logged; the rest of the run goes on.
    void packageFoldersAreKept()
    {
        publishRun("#!/bin/sh\n# new\n", "file");
        const QString pkg = m_dir->filePath(QStringLiteral("pkg"));
        put(pkg + QStringLiteral("/bin/kovra"), "#!/bin/sh\n# packaged\n", true);
        put(wd(QStringLiteral("frissites.ini")),
            "[Szerverek]\r\nFrissito szerver=" + m_server.url().toUtf8() + "\r\nIdotullepes=5\r\n"
            "[Program]\r\nExe neve=../pkg/bin/kovra\r\n[Eleresek]\r\nProgram azonosito=kovra\r\n"
            "Fajl megosztas1=../pkg/share\r\n");
        put(www(QStringLiteral("kovra/webfrissites.ini")),
            "[Programok]\r\nExe neve=bin/kovra\r\nExe meret=1\r\nExe checksum=x\r\n"
            "[Fajlok]\r\nfajl1=f.txt\r\nfajlmeret1=4\r\nchecksum1=" + checksum("file") + "\r\nhelyifajl1=f.txt\r\nmegosztas1=1\r\n"
            "fajl2=f.txt\r\nfajlmeret2=4\r\nchecksum2=" + checksum("file") + "\r\nhelyifajl2=f.txt\r\n");
        auto form = makeForm({QStringLiteral("/FAJLFRISSITES")}, {pkg});
        form->present();
        QTRY_VERIFY_WITH_TIMEOUT(m_endCode != -1, 30000);
        QCOMPARE(m_endCode, 0);
        QCOMPARE(QFile(pkg + QStringLiteral("/bin/kovra")).size(), qint64(QByteArray("#!/bin/sh\n# packaged\n").size()));
        QVERIFY(!QFileInfo::exists(pkg + QStringLiteral("/bin/kovra_Uj")));
        QVERIFY(!QFileInfo::exists(pkg + QStringLiteral("/share")));
        QCOMPARE(QFile(wd(QStringLiteral("f.txt"))).size(), qint64(4)); // the share's own file is installed
        const QStringList lines = logLines();
        const QString tail = QStringLiteral("; a csomagból telepített KOVRA-t a csomagkezelő frissíti)");
        QVERIFY2(lines.contains(QStringLiteral("Csomag mappája, nem írom: ") + wd(QStringLiteral("../pkg/bin/kovra"))
                                + QStringLiteral(" (a főprogram") + tail), qPrintable(lines.join(u'\n')));
        QVERIFY2(lines.contains(QStringLiteral("Csomag mappája, nem írom: ") + QDir::cleanPath(pkg + QStringLiteral("/share"))
                                + QStringLiteral("/f.txt (egyéb fájl") + tail), qPrintable(lines.join(u'\n')));
    }

    // Started in a package's folder: nothing is downloaded or written there, not even the log.
    void packageWorkingFolderIsRefused()
    {
        publishRun("#!/bin/sh\n# new\n", "file");
        const QStringList before = QDir(wd()).entryList(QDir::Files);
        m_log = std::make_unique<UpdateLog>(QString()); // the recording launcher logs as the window does
        auto form = makeForm({QStringLiteral("/FAJLFRISSITES")}, {QStringLiteral("/usr/bin"), wd()});
        form->present();
        QTRY_VERIFY_WITH_TIMEOUT(m_endCode != -1, 30000);
        QCOMPARE(m_endCode, 103);
        QCOMPARE(QDir(wd()).entryList(QDir::Files), before);
        QCOMPARE(form->findChild<QPlainTextEdit *>(QStringLiteral("Memo1"))->toPlainText(),
                 QStringLiteral("A frissites csak megosztott telepítést frissít; a csomagból telepített KOVRA-t a "
                                "csomagkezelő frissíti."));
    }

    // The folder test resolves symbolic links and looks through paths that do not exist yet.
    void packageFolderOfPaths()
    {
        const QString pkg = m_dir->filePath(QStringLiteral("pkg"));
        QVERIFY(QDir().mkpath(pkg + QStringLiteral("/bin")));
        QVERIFY(QFile::link(pkg + QStringLiteral("/bin"), m_dir->filePath(QStringLiteral("link"))));
        const QStringList folders{pkg + QStringLiteral("/bin")};
        QCOMPARE(PackageFolderOf(m_dir->filePath(QStringLiteral("link/new/kovra")), folders), folders[0]);
        QCOMPARE(PackageFolderOf(pkg + QStringLiteral("/bin"), folders), folders[0]);
        QCOMPARE(PackageFolderOf(pkg + QStringLiteral("/bin2/kovra"), folders), QString());
        QCOMPARE(PackageFolderOf(wd(QStringLiteral("../pkg/bin/x")), folders), folders[0]);
        QCOMPARE(PackageFolderOf(QStringLiteral("/usr/bin/kovra"), PackageFolders(QStringLiteral("/opt/x/frissites"))),
                 QStringLiteral("/usr/bin"));
        // An updater in a package's bin folder also keeps the folders around itself.
        QVERIFY(QDir().mkpath(pkg + QStringLiteral("/share/kovra")));
        QVERIFY(PackageFolders(pkg + QStringLiteral("/bin/frissites")).contains(pkg + QStringLiteral("/share/doc/kovra")));
    }

    void stop_data()
    {
        QTest::addColumn<QString>("slowPath");
        QTest::addColumn<QString>("lastLine");
        QTest::addColumn<QString>("partialFile");
        // During the program download: the run ends at the next check, silently.
        QTest::newRow("during the program download") << QStringLiteral("/kovra/bin/kovra") << QString() << QStringLiteral("kovra_Uj");
        // During the other files: noticed after that step, with its log line; the step deletes "fajl.tmp".
        QTest::newRow("during the other files") << QStringLiteral("/kovra/f.txt") << QStringLiteral("Leállítás történt!")
                                                << QString();
    }
    void stop()
    {
        QFETCH(QString, slowPath);
        QFETCH(QString, lastLine);
        QFETCH(QString, partialFile);
        // Sizes differ so the progress maximum tells which download runs.
        const QByteArray program(200 * 1024, 'p');
        const QByteArray file(150 * 1024, 'f');
        const QByteArray big = slowPath.endsWith(u"kovra") ? program : file;
        publishRun(program, file);
        TestServer::Route slow;
        slow.body = big;
        slow.chunkSize = 1024;
        slow.chunkDelayMs = 20;
        m_server.setRoute(slowPath, slow);

        auto form = makeForm({QStringLiteral("/FAJLFRISSITES")});
        form->present();
        auto *progress = form->findChild<QProgressBar *>(QStringLiteral("progressbar"));
        auto *button = form->findChild<QPushButton *>(QStringLiteral("BitBtn1"));
        // The run keeps the event loop busy inside its own loops; the click comes from a timer there.
        QTimer clicker;
        bool clicked = false;
        connect(&clicker, &QTimer::timeout, this, [&] {
            if (!clicked && progress->isVisible() && progress->value() >= 4096 && progress->maximum() == big.size()) {
                clicked = true;
                QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        clicker.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(m_endCode != -1, 60000);
        m_server.removeRoute(slowPath);
        QVERIFY(clicked);
        QVERIFY(form->isHidden());
        const QStringList log = logLines();
        QVERIFY(!log.join(u'\n').contains(QStringLiteral("Hibakód")));
        if (lastLine.isEmpty())
            QVERIFY(!log.contains(QStringLiteral("Leállítás történt!")));
        else
            QCOMPARE(log.last(), lastLine);
        QVERIFY(m_started.isEmpty());
        QVERIFY(!tickShown(*form, 6));
        if (partialFile.isEmpty()) {
            QVERIFY(!QFileInfo::exists(wd(QStringLiteral("fajl.tmp"))));
            QVERIFY(!QFileInfo::exists(wd(QStringLiteral("f.txt"))));
            return;
        }
        // What arrived before the stop stays.
        const qint64 partial = QFileInfo(wd(partialFile)).size();
        QVERIFY2(partial >= 4096 && partial < big.size(), QByteArray::number(partial).constData());
    }
};

QTEST_MAIN(TestUpdaterForm)
#include "test_updater_form.moc"
