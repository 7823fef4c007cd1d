#pragma once
// A working directory and a web folder for running the built frissites as a process against
// TestServer. The web folder holds the program folder "kovra/" (manifest, files) and "updater/".

#include "TestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class Workspace {
public:
    explicit Workspace(TestServer &server) : m_server(server)
    {
        QDir().mkpath(m_tmp.filePath(QStringLiteral("wd")));
        QDir().mkpath(m_tmp.filePath(QStringLiteral("www")));
        m_wd = QFileInfo(m_tmp.filePath(QStringLiteral("wd"))).canonicalFilePath();
        m_www = QFileInfo(m_tmp.filePath(QStringLiteral("www"))).canonicalFilePath();
        server.setRoot(m_www);
        server.clearRequests();
    }

    const QString &wd() const { return m_wd; }
    QString wdFile(const QString &name) const { return QDir(m_wd).filePath(name); }
    QString wwwFile(const QString &name) const { return QDir(m_www).filePath(name); }
    // The URL prefix of the program folder: "Frissito szerver" + "Program azonosito".
    QString base() const { return m_server.url() + QStringLiteral("kovra"); }

    static void put(const QString &path, const QByteArray &data, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        f.write(data);
        f.close();
        if (executable)
            f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    }
    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void local(const QString &name, const QByteArray &data, bool executable = false) const
    {
        put(wdFile(name), data, executable);
    }
    void publish(const QString &name, const QByteArray &data) const { put(wwwFile(name), data); }

    // A stand-in for the main program: writes its tag and arguments into started.txt of its working
    // directory.
    static QByteArray program(const QByteArray &tag)
    {
        return "#!/bin/sh\necho \"" + tag + " $*\" > started.txt\n";
    }

    // The manifests' checksum text, computed here on its own: per block of 131073 bytes the hexadecimal
    // byte sum, then "0" for the final empty block.
    static QByteArray checksum(const QByteArray &data)
    {
        QByteArray text;
        for (qsizetype at = 0; at < data.size(); at += 131073) {
            quint32 sum = 0;
            for (char c : data.mid(at, 131073))
                sum += static_cast<unsigned char>(c);
            text += QByteArray::number(sum, 16).toUpper();
        }
        return text + '0';
    }
    // The [Programok] section announcing content as the main program at "bin/kovra".
    static QByteArray programSection(const QByteArray &content, const QByteArray &checksumText = {})
    {
        return "[Programok]\r\nExe neve=bin/kovra\r\nExe meret=" + QByteArray::number(content.size())
               + "\r\nExe checksum=" + (checksumText.isEmpty() ? checksum(content) : checksumText) + "\r\n";
    }

    // "frissites.ini" (or name) pointing at the test server; extra lines go into [Eleresek].
    void writeConfig(const QString &name = QStringLiteral("frissites.ini"), const QByteArray &eleresek = {},
                     const QString &server = {}) const
    {
        const QByteArray url = (server.isEmpty() ? m_server.url() : server).toUtf8();
        local(name, "[Szerverek]\r\nFrissito szerver=" + url + "\r\nAdatbazis szerver=db\r\nIdotullepes=2\r\n"
                    "[Program]\r\nExe neve=kovra\r\n"
                    "[Eleresek]\r\nProgram azonosito=kovra\r\nAdatbazis neve=KOVRA\r\nAdatbazis tipusa=SQLite\r\n"
                    + eleresek);
    }
    // The manifest "webfrissites.ini"; [programok] frissito points at "updater/".
    void publishManifest(const QByteArray &sections) const
    {
        publish(QStringLiteral("kovra/webfrissites.ini"),
                "[programok]\r\nfrissito=" + m_server.url().toUtf8() + "updater/\r\n" + sections);
    }
    void publishUpdaterManifest(const QByteArray &version, const QByteArray &url = {}, qint64 size = 0) const
    {
        publish(QStringLiteral("updater/inditofrissites.ini"),
                "[programok]\r\nVerzio=" + version + "\r\nmeret=" + QByteArray::number(size)
                    + "\r\nfrissito=" + url + "\r\n");
    }

    struct Result {
        int exitCode = -1;
        bool finished = false;
        QByteArray stdErr;
    };
    Result run(const QStringList &arguments, const QString &exe = QStringLiteral(FRISSITES_EXE), int timeoutMs = 60000) const
    {
        QProcess p;
        p.setWorkingDirectory(m_wd);
        p.setProgram(exe);
        p.setArguments(arguments);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.remove(QStringLiteral("FRISSITES_UJRAINDITAS"));
        p.setProcessEnvironment(env);
        p.start();
        Result r;
        if (!p.waitForStarted(10000))
            return r;
        r.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
        if (!r.finished) {
            p.kill();
            p.waitForFinished();
        }
        r.exitCode = p.exitCode();
        r.stdErr = p.readAllStandardError();
        return r;
    }

    QString logText() const { return QString::fromUtf8(read(wdFile(QStringLiteral("frissites.log")))); }
    // Every non-empty line of the log.
    QStringList log() const { return logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts); }
    QStringList linesStartingWith(const QString &prefix) const
    {
        QStringList out;
        for (const QString &l : log())
            if (l.startsWith(prefix))
                out << l;
        return out;
    }

    // The first of expected that is not found after its predecessor; empty when all are there in order.
    QString missingInOrder(const QStringList &expected) const
    {
        const QStringList lines = log();
        qsizetype at = 0;
        for (const QString &e : expected) {
            const qsizetype found = lines.indexOf(e, at);
            if (found < 0)
                return e + QStringLiteral("\n--- log:\n") + lines.join(u'\n');
            at = found + 1;
        }
        return {};
    }

    bool waitForFile(const QString &name, int timeoutMs = 10000) const
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!QFileInfo::exists(wdFile(name)) && !deadline.hasExpired())
            QTest::qWait(50);
        return QFileInfo::exists(wdFile(name));
    }

private:
    TestServer &m_server;
    QTemporaryDir m_tmp;
    QString m_wd;
    QString m_www;
};

// The log lines must contain these, in this order.
#define VERIFY_LOG_ORDER(ws, ...)                                                                                    \
    do {                                                                                                             \
        const QString missing_ = (ws).missingInOrder(QStringList{__VA_ARGS__});                                      \
        QVERIFY2(missing_.isEmpty(), qPrintable(QStringLiteral("missing log line: ") + missing_));                   \
    } while (false)
