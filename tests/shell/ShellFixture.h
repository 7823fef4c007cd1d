#pragma once
// Shell and error tests: an embedded database with users of every role in a temporary folder, the
// kovra.ini that points at it, the data module, and helpers for modal windows.

#include "Adatmodul.h"
#include "Crc32.h"
#include "IniFile.h"
#include "IniValue.h"
#include "LoginInfo.h"
#include "OpenWindow.h"
#include "StatementTrace.h"
#include "sql/Collation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <sqlite3.h>

inline const char *ShellSchema = R"(
CREATE TABLE kar (kar_id INTEGER PRIMARY KEY AUTOINCREMENT, kar_kod NVARCHAR(20) COLLATE KOVRA_CI,
  kar_nev NVARCHAR(100) COLLATE KOVRA_CI NOT NULL, kar_aktiv BIT);
CREATE TABLE felhasznalo (felh_id INTEGER PRIMARY KEY AUTOINCREMENT, felh_nev NVARCHAR(20) COLLATE KOVRA_CI NOT NULL,
  felh_jelszo INTEGER, felh_email NVARCHAR(100) COLLATE KOVRA_CI, felh_teljes NVARCHAR(100) COLLATE KOVRA_CI,
  felh_aktiv BIT, kar_id INTEGER REFERENCES kar, szerep_id INTEGER);
CREATE TABLE oktato (oktato_id INTEGER PRIMARY KEY AUTOINCREMENT, oktato_kod NVARCHAR(20) COLLATE KOVRA_CI,
  oktato_nev NVARCHAR(100) COLLATE KOVRA_CI, felh_id INTEGER REFERENCES felhasznalo);
CREATE TABLE hibanaplo (hn_id INTEGER PRIMARY KEY AUTOINCREMENT, felh_id INTEGER, hn_datum DATETIME TEXT,
  hn_leiras NTEXT COLLATE KOVRA_CI, hn_allapot INTEGER);
CREATE TABLE esemenynaplo (etipus_id INTEGER, esemeny_datum DATETIME TEXT, felh_id INTEGER,
  erintett_tabla NVARCHAR(50) COLLATE KOVRA_CI, erintett_rekord NVARCHAR(50) COLLATE KOVRA_CI,
  regi_ertek NTEXT COLLATE KOVRA_CI, uj_ertek NTEXT COLLATE KOVRA_CI);
INSERT INTO kar (kar_kod, kar_nev, kar_aktiv) VALUES ('GTK', 'Gazdaságtudományi Kar', 1), ('MK', 'Mérnöki Kar', 1),
  ('RK', 'Régi Kar', 0);
)";

struct FixtureUser {
    const char *name;
    const char *password;
    int role;
    const char *facultyId; // "" = none
    const char *email;
};

// Live database users (the test database holds TESZTELO only).
inline const FixtureUser FixtureUsers[] = {
    {"ADMIN", "admin", 1, "1", "admin@example.org"},
    {"ELEK", "elek", 2, "2", ""},
    {"OKTATO", "oktato", 3, "", "oktato@example.org"},
    {"KARTYA", "kartya", 4, "1", "kartya@example.org"},
    {"VENDEG", "vendeg", 7, "2", "vendeg@example.org"},
    {"O'NEIL", "oneil", 2, "1", "oneil@example.org"},
};

class ShellFixture {
public:
    explicit ShellFixture(const QString &smtpServer = {})
    {
        createDatabase(QStringLiteral("KOVRA"), {FixtureUsers, FixtureUsers + std::size(FixtureUsers)}, true);
        createDatabase(QStringLiteral("KOVRA_teszt"), {{"TESZTELO", "teszt", 2, "2", "teszt@example.org"}}, false);
        iniPath = dir.filePath(QStringLiteral("kovra.ini"));
        IniFile ini(iniPath);
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("Adatbazis neve"), EncodeIniValue(QStringLiteral("KOVRA")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("A_ELERES"), EncodeIniValue(QStringLiteral("sqlite:") + dir.path()));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AU"), EncodeIniValue(QStringLiteral("sa")));
        ini.WriteString(QStringLiteral("Futtatas"), QStringLiteral("AP"), EncodeIniValue(QStringLiteral("jelszo")));
        if (!smtpServer.isEmpty())
            ini.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP szerver"), smtpServer);
        SetConfigFilePath(iniPath);
        ResetProcessValues();
        ClearStatementTrace();
        EditMode = EditState::Browse;
        module = std::make_unique<Tform_Adatmodul>();
    }
    ~ShellFixture() { module.reset(); }

    QString path(const QString &catalog = QStringLiteral("KOVRA")) const { return dir.filePath(catalog + QStringLiteral(".sqlite")); }

    // Rows of a query on a database file, as "a|b|c" lines (read beside the program's connection).
    QStringList rows(const QString &sql, const QString &catalog = QStringLiteral("KOVRA")) const
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path(catalog).toUtf8().constData(), &db);
        sql::RegisterKovraCollation(db);
        sqlite3_stmt *st = nullptr;
        QStringList out;
        if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList cells;
                for (int c = 0; c < sqlite3_column_count(st); ++c)
                    cells << (sqlite3_column_type(st, c) == SQLITE_NULL
                                  ? QStringLiteral("NULL")
                                  : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c))));
                out << cells.join(u'|');
            }
        } else {
            out << QStringLiteral("ERROR: ") + QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(st);
        sqlite3_close(db);
        return out;
    }

    QTemporaryDir dir;
    QString iniPath;
    std::unique_ptr<Tform_Adatmodul> module;

private:
    void createDatabase(const QString &catalog, const QList<FixtureUser> &users, bool teacher)
    {
        sqlite3 *db = nullptr;
        sqlite3_open(path(catalog).toUtf8().constData(), &db);
        sql::RegisterKovraCollation(db);
        char *err = nullptr;
        if (sqlite3_exec(db, ShellSchema, nullptr, nullptr, &err) != SQLITE_OK)
            qFatal("fixture schema: %s", err);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO felhasznalo (felh_nev, felh_jelszo, felh_email, felh_teljes, felh_aktiv, kar_id, "
                           "szerep_id) VALUES (?, ?, ?, ?, 1, ?, ?)",
                           -1, &st, nullptr);
        for (const FixtureUser &u : users) {
            sqlite3_bind_text(st, 1, u.name, -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(st, 2, PasswordHash(QString::fromUtf8(u.password)));
            sqlite3_bind_text(st, 3, u.email, -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(st, 4, u.name, -1, SQLITE_TRANSIENT);
            if (*u.facultyId)
                sqlite3_bind_int(st, 5, QByteArray(u.facultyId).toInt());
            else
                sqlite3_bind_null(st, 5);
            sqlite3_bind_int(st, 6, u.role);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        if (teacher)
            sqlite3_exec(db, "INSERT INTO oktato (oktato_kod, oktato_nev, felh_id) SELECT 'OKT1', 'Oktató Olga', felh_id "
                             "FROM felhasznalo WHERE felh_nev = 'OKTATO'",
                         nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

// Runs action on the next modal window that opens (the test is blocked in its exec meanwhile), once
// that window is active: the platform delivers the activation after the window is shown, and only
// then does the window's focused control become the application's focus. A window that is never
// activated is handed over after about a second; after about ten seconds without a modal window
// the poll gives up, so a test never hangs.
inline void WhenModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    auto shownTicks = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ticks, shownTicks, action] {
        QWidget *w = QApplication::activeModalWidget();
        if (w && w->isVisible() && (QApplication::activeWindow() == w || ++*shownTicks > 50)) {
            timer->stop();
            timer->deleteLater();
            action(w);
        } else if (++*ticks > 500) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// Types text as a keyboard does: Shift held for capital letters (Caps Lock off).
inline void TypeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        const QChar up = c.toUpper();
        const Qt::Key key = up.unicode() < 0x100 ? Qt::Key(up.unicode()) : Qt::Key_unknown;
        const bool shift = c.isLetter() && c.isUpper();
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

// The offscreen platform's notes about window opacity and masks are expected noise (call from
// initTestCase, after Qt Test installed its own handler).
inline void QuietOffscreenNotes()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (message.startsWith(QLatin1String("This plugin does not support")))
            return;
        previous(type, context, message);
    });
}

// A test program sets up its own surroundings, as ctest does for it: offscreen windows, a UTF-8
// locale and a private home with its own settings folders. Run by hand it then behaves the same and
// never touches the caller's display or per-user settings (window positions, grid layouts).
inline void UsePrivateTestEnvironment(const QString &home)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    const QDir dir(home);
    const auto use = [&dir](const char *variable, const QString &sub) {
        dir.mkpath(sub);
        qputenv(variable, QFile::encodeName(dir.filePath(sub)));
    };
    qputenv("HOME", QFile::encodeName(home));
    use("XDG_CONFIG_HOME", QStringLiteral("config"));
    use("XDG_DATA_HOME", QStringLiteral("data"));
    use("XDG_CACHE_HOME", QStringLiteral("cache"));
    use("XDG_RUNTIME_DIR", QStringLiteral("run"));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A Qt Test main on the program's application object (exceptions from events reach the capture).
#define KOVRA_GUI_TEST_MAIN(TestObject)                                                                                \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        QTemporaryDir home;                                                                                            \
        UsePrivateTestEnvironment(home.path());                                                                        \
        TKovraApplication app(argc, argv);                                                                             \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        ErrorCapture().install();                                                                                      \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
