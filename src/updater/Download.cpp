#include "Download.h"

#include "RunView.h"
#include "UpdateLog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace frissites {

namespace {

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
    QFile *file = nullptr;
    RunView *view = nullptr;
    CURL *easy = nullptr;
    bool checkStatus = true; // http and https: only a 2xx answer is stored
    bool refused = false;
    bool writeFailed = false;
    bool opened = false;
    bool tooLarge = false;
    qint64 received = 0;
    qint64 limit = 0;
};

bool isSuccessStatus(long status)
{
    return status >= 200 && status <= 299;
}

size_t onWrite(char *data, size_t size, size_t count, void *userData)
{
    auto *sink = static_cast<Sink *>(userData);
    const size_t length = size * count;
    if (!sink->file->isOpen()) {
        if (sink->checkStatus) {
            long status = 0;
            curl_easy_getinfo(sink->easy, CURLINFO_RESPONSE_CODE, &status);
            if (!isSuccessStatus(status)) {
                sink->refused = true;
                return 0; // an error page is not worth storing
            }
        }
        if (!sink->file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            sink->writeFailed = true;
            return 0;
        }
        sink->opened = true;
    }
    if (sink->received + qint64(length) > sink->limit) {
        sink->tooLarge = true;
        return 0;
    }
    if (sink->file->write(data, qint64(length)) != qint64(length)) {
        sink->writeFailed = true;
        return 0;
    }
    sink->received += qint64(length);
    sink->view->setProgress(sink->received);
    return length;
}

struct EasyDeleter {
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct MultiDeleter {
    void operator()(CURLM *m) const { curl_multi_cleanup(m); }
};
struct ListDeleter {
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};

} // namespace

Downloader::Downloader(RunView &view, const UpdateLog &log, DownloadOptions options)
    : m_view(view), m_log(log), m_options(std::move(options))
{
}

bool Downloader::Download(const QString &url, const QString &file, qint64 limitBytes)
{
    return run(url, file, limitBytes, m_options.totalTimeoutSeconds);
}

bool Downloader::DownloadManifest(const QString &url, const QString &file)
{
    const qint64 cap = std::max<qint64>(1, std::min(m_options.maxBytes, m_options.manifestMaxBytes));
    return run(url, file, cap, std::min(m_options.totalTimeoutSeconds, m_options.manifestTimeoutSeconds));
}

bool Downloader::run(const QString &url, const QString &file, qint64 limitBytes, int totalSeconds)
{
    m_status = 0;
    m_error.clear();
    m_limitNote.clear();
    m_stopped = false;
    m_view.setProgress(0);
    const bool ok = transfer(url, file, limitBytes, totalSeconds);
    if (m_stopped)
        return false;
    m_log.write(QStringLiteral("Fájl letöltés: ") + url + QStringLiteral(" -> ") + file + QStringLiteral(" (")
                + (ok ? QStringLiteral("Rendben") : QStringLiteral("Hiba")) + u')');
    if (!m_limitNote.isEmpty())
        m_log.write(QStringLiteral("Letöltési hiba: ") + url + QStringLiteral(": ") + m_limitNote);
    m_view.wait(m_options.settleMilliseconds);
    m_view.processEvents();
    return ok;
}

bool Downloader::transfer(const QString &url, const QString &file, qint64 limitBytes, int totalLimit)
{
    const QUrl parsed(url.trimmed(), QUrl::TolerantMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || parsed.host().isEmpty()
        || (scheme != u"http" && scheme != u"https" && scheme != u"ftp")) {
        m_error = QStringLiteral("not a http, https or ftp URL");
        return false;
    }
    const QByteArray encoded = parsed.toEncoded();
    const QByteArray agent = m_options.agent.toUtf8();

    initCurl();
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi) {
        m_error = QStringLiteral("libcurl could not be initialised");
        return false;
    }
    std::unique_ptr<curl_slist, ListDeleter> headers(
        curl_slist_append(curl_slist_append(nullptr, "Pragma: no-cache"), "Cache-Control: no-cache"));

    QFile target(m_options.workDir.isEmpty() ? file : QDir(m_options.workDir).filePath(file));
    Sink sink;
    sink.file = &target;
    sink.view = &m_view;
    sink.easy = easy.get();
    sink.checkStatus = scheme != u"ftp";
    sink.limit = limitBytes > 0 ? limitBytes : std::max<qint64>(1, m_options.maxBytes);
    const int totalSeconds = std::max(1, totalLimit);
    const int windowSeconds = std::max(1, m_options.stallTimeoutSeconds);
    const qint64 lowSpeed = std::max<qint64>(1, m_options.lowSpeedBytes);

    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL *c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, encoded.constData());
    curl_easy_setopt(c, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(std::max(1, m_options.connectTimeoutSeconds)));
    // libcurl's limit is a rate: bytes per second averaged over the window
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, long(std::max<qint64>(1, lowSpeed / windowSeconds)));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, long(windowSeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(totalSeconds));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(sink.limit)); // an announced length above it fails at once
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onWrite);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    curl_multi_add_handle(multi.get(), c);

    CURLcode result = CURLE_OK;
    bool finished = false;
    QElapsedTimer clock;
    clock.start();
    while (!finished) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        while (CURLMsg *msg = curl_multi_info_read(multi.get(), &queued)) {
            if (msg->msg == CURLMSG_DONE) {
                result = msg->data.result;
                finished = true;
            }
        }
        if (finished)
            break;
        curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr);
        m_view.processEvents();
        if (m_view.stopRequested()) {
            m_stopped = true;
            break;
        }
    }
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &m_status);
    curl_multi_remove_handle(multi.get(), c);

    if (m_stopped) {
        target.close(); // what arrived stays
        return false;
    }
    bool ok = result == CURLE_OK && !sink.writeFailed && (!sink.checkStatus || isSuccessStatus(m_status));
    if (ok && !target.isOpen() && !target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        ok = false; // an empty body still gives an (empty) file
    if (ok && !target.flush())
        ok = false;
    target.close();
    if (!ok) {
        if (sink.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
            m_error = QStringLiteral("larger than %1 bytes").arg(sink.limit);
            m_limitNote = QStringLiteral("nagyobb, mint %1 bájt").arg(sink.limit);
        } else if (result == CURLE_OPERATION_TIMEDOUT) {
            m_error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
            if (clock.elapsed() >= qint64(totalSeconds) * 1000 - 100)
                m_limitNote = QStringLiteral("nem ért véget %1 mp alatt").arg(totalSeconds);
            else if (sink.opened || m_status != 0)
                m_limitNote = QStringLiteral("túl lassú, %1 mp alatt kevesebb, mint %2 bájt érkezett").arg(windowSeconds).arg(lowSpeed);
        } else if (sink.refused || (sink.checkStatus && m_status != 0 && !isSuccessStatus(m_status)))
            m_error = QStringLiteral("HTTP status %1").arg(m_status);
        else if (sink.writeFailed)
            m_error = QStringLiteral("cannot write %1").arg(file);
        else
            m_error = QString::fromUtf8(errorBuffer[0] ? errorBuffer : curl_easy_strerror(result));
        // A partial body is no file; after an error answer the old content is gone as well.
        const bool errorAnswer = sink.checkStatus && m_status != 0 && !isSuccessStatus(m_status);
        if (sink.opened || errorAnswer)
            target.remove();
    }
    return ok;
}

} // namespace frissites
