// The cold start: process start to the login window shown, and the login (OK pressed with a valid
// name and password) to the main window shown. The benchmark starts itself as a child process that
// runs the program's own start-up sequence (error capture, application, windows registered, main
// window and data module created, login dialog) on an embedded database, offscreen; the child
// prints the moments on the system's monotonic clock, the parent takes the first from the moment it
// started the child. Median of several runs.

#include "Adatmodul.h"
#include "AllWindows.h"
#include "Crc32.h"
#include "ErrorCapture.h"
#include "Fokep.h"
#include "Indito.h"
#include "IniFile.h"
#include "IniValue.h"
#include "KovraApplication.h"
#include "MessageBoxes.h"
#include "Schema.h"
#include "Translations.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>
#include <sqlite3.h>

namespace {

constexpr int Runs = 7;

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Calls done once, after the first paint of widget has finished.
class AfterFirstPaint final : public QObject {
public:
    AfterFirstPaint(QWidget *widget, std::function<void()> done) : QObject(widget), m_done(std::move(done))
    {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_done) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] { std::exchange(m_done, nullptr)(); });
        }
        return false;
    }

private:
    std::function<void()> m_done;
};

// The program's start-up as main() runs it, with the login typed in once the dialog is shown.
int child(int argc, char **argv)
{
    TErrorCapture &capture = ErrorCapture();
    TKovraApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("kovra"));
    app.setOrganizationName(QStringLiteral("KOVRA"));
    app.setQuitOnLastWindowClosed(false);
    capture.install();
    InstallMessageBoxes();
    InstallHungarianTranslations();
    SetConfigFilePath(QString::fromLocal8Bit(argv[2]));

    RegisterAllWindows();
    auto mainWindow = std::make_unique<Tform_Fokep>();
    auto dataModule = std::make_unique<Tform_Adatmodul>();
    int result = 0;
    qint64 loginShown = 0, okPressed = 0;
    {
        Tform_Indito login;
        new AfterFirstPaint(&login, [&] {
            loginShown = nowNs();
            login.cb_ab->setCurrentIndex(0);
            login.FNev->setText(QStringLiteral("ADMIN"));
            login.FJelszo->setFocus(Qt::OtherFocusReason);
            login.FJelszo->setText(QStringLiteral("admin"));
            okPressed = nowNs();
            QTest::keyClick(login.FJelszo, Qt::Key_Return);
        });
        result = login.exec();
    }
    if (result != LoginModalResult) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    SetErrorLogConnection(&dataModule->ADOConn);
    qint64 mainShown = 0;
    new AfterFirstPaint(mainWindow.get(), [&] {
        mainShown = nowNs();
        app.quit();
    });
    mainWindow->show();
    app.exec();
    std::printf("%lld %lld %lld\n", static_cast<long long>(loginShown), static_cast<long long>(okPressed),
                static_cast<long long>(mainShown));
    return 0;
}

void prepare(const QTemporaryDir &dir)
{
    QString error;
    sqlite3 *db = schema::CreateSqliteDatabase(dir.filePath(QStringLiteral("KOVRA.sqlite")), &error);
    if (!db)
        qFatal("%s", qPrintable(error));
    const QString sql = QStringLiteral("INSERT INTO kar (kar_id, kar_kod, kar_nev, kar_aktiv) VALUES (1, 'GEK', 'Kar', 1);"
                                       "INSERT INTO felhasznalo (felh_nev, felh_jelszo, felh_teljes, felh_aktiv, kar_id, szerep_id) "
                                       "VALUES ('ADMIN', %1, 'Admin', 1, 1, 1);")
                            .arg(PasswordHash(QStringLiteral("admin")));
    char *err = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK)
        qFatal("%s", err);
    sqlite3_close(db);
    IniFile ini(dir.filePath(QStringLiteral("kovra.ini")));
    ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("Adatbazis neve"), EncodeIniValue(QStringLiteral("KOVRA")));
    ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("A_ELERES"), EncodeIniValue(QStringLiteral("sqlite:") + dir.path()));
    ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AU"), EncodeIniValue(QStringLiteral("sa")));
    ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AP"), EncodeIniValue(QStringLiteral("jelszo")));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
        return child(argc, argv);
    QTemporaryDir dir;
    {
        int n = 1;
        char name[] = "bench_startup";
        char *args[] = {name, nullptr};
        QCoreApplication app(n, args);
        prepare(dir);
    }
    std::vector<double> toLogin, toMain;
    for (int r = 0; r < Runs; ++r) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        p.setProcessEnvironment(env);
        const qint64 start = nowNs();
        p.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child"), dir.filePath(QStringLiteral("kovra.ini"))});
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            qFatal("the child did not log in: %s", p.readAllStandardError().constData());
        const QList<QByteArray> t = p.readAllStandardOutput().trimmed().split(' ');
        if (t.size() != 3)
            qFatal("unexpected child output");
        toLogin.push_back((t[0].toLongLong() - start) / 1e6);
        toMain.push_back((t[2].toLongLong() - t[1].toLongLong()) / 1e6);
    }
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << "cold start, process start to the login window: " << median(toLogin) << " ms (median of " << Runs << ", fastest "
        << *std::min_element(toLogin.begin(), toLogin.end()) << ")\n"
        << "login to the main window shown: " << median(toMain) << " ms (median of " << Runs << ", fastest "
        << *std::min_element(toMain.begin(), toMain.end()) << ")\n";
    return 0;
}
