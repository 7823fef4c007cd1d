// Download against a local HTTP server: stored bodies, error answers, refused and stalled connections,
// the stop flag, and the log line of every call.

#include "Download.h"
#include "RunView.h"
#include "TestServer.h"
#include "UpdateLog.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace frissites;

namespace {

// Records the progress and sets the stop flag once stopAfter bytes arrived.
class ProgressView : public EventLoopView {
public:
    qint64 stopAfter = -1;
    qint64 lastProgress = 0;
    void setProgress(qint64 position) override
    {
        lastProgress = position;
        if (stopAfter >= 0 && position >= stopAfter)
            requestStop();
    }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestUpdaterDownload : public QObject {
    Q_OBJECT

    TestServer m_server;
    QTemporaryDir m_dir;

    QString file(const QString &name) const { return m_dir.filePath(name); }
    QStringList logLines() const
    {
        return QString::fromUtf8(readAll(file(QStringLiteral("frissites.log")))).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    DownloadOptions options() const
    {
        DownloadOptions o;
        o.workDir = m_dir.path();
        o.connectTimeoutSeconds = 2;
        o.stallTimeoutSeconds = 1;
        o.settleMilliseconds = 0;
        return o;
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(file(QStringLiteral("frissites.log")));
    }

    void storesBodyAndLogs()
    {
        const QByteArray body = QByteArray("first line\r\n") + QByteArray(100000, 'x');
        m_server.setRoute(QStringLiteral("/a/upd.ini"), {200, body});
        ProgressView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        const QString url = m_server.url() + QStringLiteral("a/upd.ini");
        QVERIFY(d.Download(url, QStringLiteral("upd.ini")));
        QCOMPARE(readAll(file(QStringLiteral("upd.ini"))), body);
        QCOMPARE(view.lastProgress, qint64(body.size()));
        QCOMPARE(logLines(), QStringList{QStringLiteral("Fájl letöltés: ") + url + QStringLiteral(" -> upd.ini (Rendben)")});
    }

    void emptyBodyGivesEmptyFile()
    {
        m_server.setRoute(QStringLiteral("/empty"), {200, {}});
        EventLoopView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        QFile::remove(file(QStringLiteral("empty.txt")));
        QVERIFY(d.Download(m_server.url() + QStringLiteral("empty"), QStringLiteral("empty.txt")));
        QVERIFY(QFileInfo::exists(file(QStringLiteral("empty.txt"))));
        QCOMPARE(QFileInfo(file(QStringLiteral("empty.txt"))).size(), qint64(0));
    }

    void nameWithBlankAndAccent()
    {
        m_server.setRoute(QStringLiteral("/mappa/új fájl.txt"), {200, "ok"});
        EventLoopView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        QVERIFY(d.Download(m_server.url() + QStringLiteral("mappa/új fájl.txt"), QStringLiteral("uj.txt")));
        QCOMPARE(readAll(file(QStringLiteral("uj.txt"))), QByteArray("ok"));
    }

    // Every failure: "Hiba" in the log line, no file with the target's name unless the server never
    // answered (then an older file stays as it was).
    void failures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<qint64>("stallAfter");
        QTest::addColumn<bool>("noAnswer");
        QTest::addColumn<bool>("oldFileStays");
        QTest::addColumn<QString>("note"); // the limit's log line after "Letöltési hiba: <url>: "; empty: none
        QTest::newRow("404 with an error page") << "/f/404" << 404 << QByteArray("<html>nincs</html>") << qint64(-1) << false << false << "";
        QTest::newRow("500 with an error page") << "/f/500" << 500 << QByteArray("<html>hiba</html>") << qint64(-1) << false << false << "";
        QTest::newRow("404 without body") << "/f/404e" << 404 << QByteArray() << qint64(-1) << false << false << "";
        QTest::newRow("body stalls half way") << "/f/stall" << 200 << QByteArray(5000, 'y') << qint64(1000) << false << false
                                              << "túl lassú, 1 mp alatt kevesebb, mint 1024 bájt érkezett";
        QTest::newRow("no answer at all") << "/f/silent" << 200 << QByteArray("x") << qint64(-1) << true << true << "";
    }
    void failures()
    {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(qint64, stallAfter);
        QFETCH(bool, noAnswer);
        QFETCH(bool, oldFileStays);
        QFETCH(QString, note);
        TestServer::Route route;
        route.status = status;
        route.body = body;
        route.stallAfter = stallAfter;
        route.noAnswer = noAnswer;
        m_server.setRoute(path, route);

        const QString target = file(QStringLiteral("target.bin"));
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
        old.close();

        EventLoopView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        const QString url = m_server.url() + path.mid(1);
        QVERIFY(!d.Download(url, QStringLiteral("target.bin")));
        QStringList expected{QStringLiteral("Fájl letöltés: ") + url + QStringLiteral(" -> target.bin (Hiba)")};
        if (!note.isEmpty())
            expected << QStringLiteral("Letöltési hiba: ") + url + QStringLiteral(": ") + note;
        QCOMPARE(logLines(), expected);
        if (oldFileStays)
            QCOMPARE(readAll(target), QByteArray("old content"));
        else
            QVERIFY2(!QFileInfo::exists(target), qPrintable(d.lastError()));
    }

    // A manifest has its own, tighter caps; the same body through Download passes.
    void manifestCaps()
    {
        TestServer::Route big;
        big.body = QByteArray(5000, 'm');
        m_server.setRoute(QStringLiteral("/m/big"), big);
        TestServer::Route slow;
        slow.body = QByteArray(900, 's');
        slow.chunkSize = 100; // 400 bytes/s: above the low-speed limit set below, not done in a second
        slow.chunkDelayMs = 250;
        m_server.setRoute(QStringLiteral("/m/slow"), slow);
        EventLoopView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        DownloadOptions o = options();
        o.manifestMaxBytes = 1000;
        o.manifestTimeoutSeconds = 1;
        o.lowSpeedBytes = 100;
        Downloader d(view, log, o);
        const QString bigUrl = m_server.url() + QStringLiteral("m/big"), slowUrl = m_server.url() + QStringLiteral("m/slow");
        QVERIFY(!d.DownloadManifest(bigUrl, QStringLiteral("a.ini")));
        QVERIFY(!d.DownloadManifest(slowUrl, QStringLiteral("b.ini")));
        QVERIFY(d.Download(bigUrl, QStringLiteral("c.ini")));
        QCOMPARE(logLines(), (QStringList{QStringLiteral("Fájl letöltés: ") + bigUrl + QStringLiteral(" -> a.ini (Hiba)"),
                                          QStringLiteral("Letöltési hiba: ") + bigUrl + QStringLiteral(": nagyobb, mint 1000 bájt"),
                                          QStringLiteral("Fájl letöltés: ") + slowUrl + QStringLiteral(" -> b.ini (Hiba)"),
                                          QStringLiteral("Letöltési hiba: ") + slowUrl + QStringLiteral(": nem ért véget 1 mp alatt"),
                                          QStringLiteral("Fájl letöltés: ") + bigUrl + QStringLiteral(" -> c.ini (Rendben)")}));
        QVERIFY(!QFileInfo::exists(file(QStringLiteral("a.ini"))));
        QCOMPARE(QFileInfo(file(QStringLiteral("c.ini"))).size(), 5000);
    }

    void unreachableOrUnusableUrls_data()
    {
        QTest::addColumn<QString>("url");
        // A port nobody listens on: taken from a server that is closed again.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        const quint16 closedPort = probe.serverPort();
        probe.close();
        QTest::newRow("connection refused") << QStringLiteral("http://127.0.0.1:%1/upd.ini").arg(closedPort);
        QTest::newRow("no scheme (empty server)") << QStringLiteral("/webfrissites.ini");
        QTest::newRow("empty") << QString();
        QTest::newRow("file scheme") << QStringLiteral("file:///etc/hostname");
    }
    void unreachableOrUnusableUrls()
    {
        QFETCH(QString, url);
        EventLoopView view;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        QFile::remove(file(QStringLiteral("x.bin")));
        QVERIFY(!d.Download(url, QStringLiteral("x.bin")));
        QVERIFY(!QFileInfo::exists(file(QStringLiteral("x.bin"))));
        QCOMPARE(logLines(), QStringList{QStringLiteral("Fájl letöltés: ") + url + QStringLiteral(" -> x.bin (Hiba)")});
    }

    // A stop between blocks: failure at once, no log line, what arrived stays.
    void stopKeepsPartialFile()
    {
        TestServer::Route slow;
        slow.body = QByteArray(64 * 1024, 'z');
        slow.chunkSize = 1024;
        slow.chunkDelayMs = 20;
        m_server.setRoute(QStringLiteral("/slow"), slow);
        ProgressView view;
        view.stopAfter = 4096;
        UpdateLog log(file(QStringLiteral("frissites.log")));
        Downloader d(view, log, options());
        QVERIFY(!d.Download(m_server.url() + QStringLiteral("slow"), QStringLiteral("slow.bin")));
        QVERIFY(d.lastStopped());
        const qint64 size = QFileInfo(file(QStringLiteral("slow.bin"))).size();
        QVERIFY2(size >= 4096 && size < slow.body.size(), QByteArray::number(size).constData());
        QVERIFY(logLines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUpdaterDownload)
#include "test_updater_download.moc"
