#pragma once
// Download(url, file): fetches a URL into a local file through libcurl, one transfer at a time on the
// calling thread; events are processed while it runs and the stop flag is honoured between blocks.

#include <QString>

namespace frissites {

class RunView;
class UpdateLog;

struct DownloadOptions {
    QString agent = QStringLiteral("frissites"); // the updater's executable name
    int connectTimeoutSeconds = 15;
    int stallTimeoutSeconds = 30;                 // fewer than lowSpeedBytes in this long end the transfer as failed
    qint64 lowSpeedBytes = 1024;
    int totalTimeoutSeconds = 1800;               // a transfer taking longer fails, however slowly it trickles
    qint64 maxBytes = qint64(1) << 30;            // a body above this fails (unless the call names a limit)
    qint64 manifestMaxBytes = qint64(1) << 20;    // DownloadManifest: a small file, tighter caps ...
    int manifestTimeoutSeconds = 60;              // ... (the lower of these and the general ones hold)
    int settleMilliseconds = 500;                 // pause after every download, as the log line is written
    QString workDir;                              // relative file names are below it; empty: the current one
};

class Downloader {
public:
    Downloader(RunView &view, const UpdateLog &log, DownloadOptions options = {});

    // Success only for a complete transfer with a 2xx answer (http, https) or a finished ftp transfer.
    // The local file is created or overwritten once the server answers. A failed transfer or an error
    // status removes it; a stop keeps what arrived and writes no log line.
    // limitBytes: the size the manifest announces (0 = none, the options' cap holds); a longer body
    // fails. A failure by a limit is logged in a line of its own after the download line.
    bool Download(const QString &url, const QString &file, qint64 limitBytes = 0);
    // The same for a manifest: at most manifestMaxBytes and manifestTimeoutSeconds.
    bool DownloadManifest(const QString &url, const QString &file);

    // Diagnostics of the last call: HTTP status (0 without answer) and libcurl's message.
    long lastStatus() const { return m_status; }
    const QString &lastError() const { return m_error; }
    bool lastStopped() const { return m_stopped; }

    const DownloadOptions &options() const { return m_options; }

private:
    bool run(const QString &url, const QString &file, qint64 limitBytes, int totalSeconds);
    bool transfer(const QString &url, const QString &file, qint64 limitBytes, int totalSeconds);

    RunView &m_view;
    const UpdateLog &m_log;
    DownloadOptions m_options;
    long m_status = 0;
    QString m_error;
    bool m_stopped = false;
    QString m_limitNote; // the limit that ended the last transfer, for the log
};

} // namespace frissites
