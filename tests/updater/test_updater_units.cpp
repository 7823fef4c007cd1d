// The updater's pure pieces: checksum text, password decoding, batch separators, switches, INI reading,
// file look-up ignoring case, connection strings, the case-insensitive collation, file texts.

#include "Checksum.h"
#include "Database.h"
#include "Ini.h"
#include "Password.h"
#include "Scripts.h"
#include "Text.h"
#include "UpdateRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace frissites;

class TestUpdaterUnits : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &data)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        f.write(data);
        return path;
    }

private Q_SLOTS:
    void checksumText_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("0");
        QTest::newRow("abc") << QByteArray("abc") << QStringLiteral("1260"); // 97+98+99 = 0x126
        // One full block of 0xFF: 131073 * 255 = 0x1FE00FF, then the empty read.
        QTest::newRow("one full block") << QByteArray(131073, char(0xFF)) << QStringLiteral("1FE00FF0");
        // One byte more: a second block with the last byte, then the empty read.
        QTest::newRow("block and one byte") << QByteArray(131074, char(1)) << QStringLiteral("2000110");
        // Bytes count unsigned, and the 32-bit sum has no leading zeros.
        QTest::newRow("high bytes") << QByteArray("\x80\x01", 2) << QStringLiteral("810");
    }
    void checksumText()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        const QString path = write(QStringLiteral("sum.bin"), content);
        QCOMPARE(ChecksumText(path), expected);
        QCOMPARE(FileSize(path), qint64(content.size()));
    }

    void checksumOfMissingFile()
    {
        QCOMPARE(ChecksumText(m_dir.filePath(QStringLiteral("nope"))), QStringLiteral("_nincs_fajl!"));
        QCOMPARE(FileSize(m_dir.filePath(QStringLiteral("nope"))), qint64(0));
    }

    void decodePassword_data()
    {
        QTest::addColumn<QString>("scrambled");
        QTest::addColumn<QString>("password");
        // 'a' = 0x61 ^ 1 = 0x60 -> positions 1 ('X') and 7 ('3'); ' ' = 0x20 ^ 2 = 0x22 -> 'F' 'F'.
        QTest::newRow("known value") << QStringLiteral("X3FF") << QStringLiteral("a");
        QTest::newRow("surrounding blanks and controls") << QStringLiteral(" \tX3FF\r\n") << QStringLiteral("a");
        QTest::newRow("text after the blank is dropped") << (QStringLiteral("X3FF") + QStringLiteral("X3")) << QStringLiteral("a");
        QTest::newRow("no blank gives no password") << QStringLiteral("X3") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void decodePassword()
    {
        QFETCH(QString, scrambled);
        QFETCH(QString, password);
        QCOMPARE(DecodePassword(scrambled), password);
    }

    void passwordRoundTrip_data()
    {
        QTest::addColumn<QString>("password");
        QTest::newRow("plain") << QStringLiteral("Titok123");
        QTest::newRow("accents") << QStringLiteral("Jelszó-őŐűŰ");
        QTest::newRow("beyond 250 bytes the key repeats") << QStringLiteral("x").repeated(300);
        QTest::newRow("quotes and semicolon") << QStringLiteral("a;b'c\"d");
    }
    void passwordRoundTrip()
    {
        QFETCH(QString, password);
        const QString scrambled = EncodePassword(password);
        QCOMPARE(scrambled.size(), 2 * (EncodeWindows1250(password).size() + 1));
        for (QChar c : scrambled)
            QVERIFY(QByteArray(PasswordAlphabet).contains(char(c.unicode())));
        QCOMPARE(DecodePassword(scrambled), password);
    }

    void alphabetIsDistinct()
    {
        const QByteArray a(PasswordAlphabet);
        QCOMPARE(a.size(), 64);
        for (char c : a)
            QCOMPARE(a.count(c), 1);
    }

    void splitBatches_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("batches");
        QTest::newRow("no separator: one batch after the last line")
            << QStringList{"create table a (x int)", "insert into a values (1)"}
            << QStringList{"create table a (x int)\ninsert into a values (1)\n"};
        QTest::newRow("go in any case with trailing blanks")
            << QStringList{"a", "go  ", "b", "Go", "c"} << QStringList{"a\n", "b\n", "c\n"};
        QTest::newRow("leading blank before GO") << QStringList{"a", " GO", "b"} << QStringList{"a\n", "b\n"};
        QTest::newRow("GO with a count") << QStringList{"a", "GO 2", "b"} << QStringList{"a\n", "b\n"};
        QTest::newRow("GOTO is no separator") << QStringList{"a", "GOTO x", "b"} << QStringList{"a\nGOTO x\nb\n"};
        QTest::newRow("GO; is no separator") << QStringList{"a", "GO;"} << QStringList{"a\nGO;\n"};
        QTest::newRow("COMMIT TRANSACTION separates and is dropped")
            << QStringList{"a", "COMMIT TRANSACTION", "b"} << QStringList{"a\n", "b\n"};
        QTest::newRow("commit; separates") << QStringList{"a", "commit;", "b"} << QStringList{"a\n", "b\n"};
        QTest::newRow("indented COMMIT is no separator")
            << QStringList{"a", "  COMMIT", "b"} << QStringList{"a\n  COMMIT\nb\n"};
        QTest::newRow("line after a separator starts the next batch")
            << QStringList{"a", "GO", "b", "c"} << QStringList{"a\n", "b\nc\n"};
        QTest::newRow("blank batches are not sent")
            << QStringList{"GO", "", "  ", "GO", "a", "GO", "COMMIT"} << QStringList{"a\n"};
        QTest::newRow("empty script") << QStringList{} << QStringList{};
    }
    void splitBatches()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, batches);
        QCOMPARE(SplitBatches(lines), batches);
    }

    void parseArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("parameterText");
        QTest::addColumn<QString>("configName");
        QTest::addColumn<QString>("flags"); // D N K S F P H for the set switches
        QTest::newRow("none") << QStringList{} << QString() << QStringLiteral("frissites.ini") << QString();
        QTest::newRow("lower case")
            << QStringList{"/adatbazis", "/rejtett"} << QStringLiteral("/ADATBAZIS /REJTETT ")
            << QStringLiteral("frissites.ini") << QStringLiteral("DH");
        QTest::newRow("every switch")
            << QStringList{"/ADATBAZIS", "/NincsInditas", "/nincstorles", "/INDITOFRISSITES", "/fajlfrissites",
                           "/programfuttatas", "/REJTETT"}
            << QStringLiteral("/ADATBAZIS /NINCSINDITAS /NINCSTORLES /INDITOFRISSITES /FAJLFRISSITES /PROGRAMFUTTATAS /REJTETT ")
            << QStringLiteral("frissites.ini") << QStringLiteral("DNKSFPH");
        QTest::newRow("ini name upper-cased, others kept")
            << QStringList{"/ini:other.ini", "valami"} << QStringLiteral("/INI:OTHER.INI VALAMI ")
            << QStringLiteral("OTHER.INI") << QString();
        QTest::newRow("near misses have no effect")
            << QStringList{"/ADATBAZISOK", "ADATBAZIS", "/INI"} << QStringLiteral("/ADATBAZISOK ADATBAZIS /INI ")
            << QStringLiteral("frissites.ini") << QString();
    }
    void parseArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, parameterText);
        QFETCH(QString, configName);
        QFETCH(QString, flags);
        const Switches s = ParseArguments(arguments);
        QCOMPARE(s.parameterText, parameterText);
        QCOMPARE(s.configName, configName);
        QString set;
        for (auto [on, letter] : {std::pair{s.database, 'D'}, {s.noStart, 'N'}, {s.keepFiles, 'K'},
                                  {s.selfUpdate, 'S'}, {s.files, 'F'}, {s.programs, 'P'}, {s.hidden, 'H'}})
            if (on)
                set += QLatin1Char(letter);
        QCOMPARE(set, flags);
    }

    void iniReading()
    {
        // Windows-1250 bytes: "Adatbázis" with 0xE1 for 'á'.
        const QString path = write(QStringLiteral("conf.ini"),
                                   "[Szerverek]\r\nFrissito szerver = http://host/ \r\n"
                                   "[PROGRAMOK]\r\nExe neve=\"kovra\"\r\nexe neve=second\r\n"
                                   "[Megjegyzes]\r\nSz\xF6veg=Adatb\xE1zis\r\n");
        IniFile ini;
        QVERIFY(ini.load(path));
        QCOMPARE(ini.value(QStringLiteral("szerverek"), QStringLiteral("FRISSITO SZERVER")), QStringLiteral("http://host/"));
        QCOMPARE(ini.value(QStringLiteral("programok"), QStringLiteral("Exe neve")), QStringLiteral("kovra"));
        QCOMPARE(ini.value(QStringLiteral("Megjegyzes"), QStringLiteral("Szöveg")), QStringLiteral("Adatbázis"));
        QCOMPARE(ini.value(QStringLiteral("Programok"), QStringLiteral("Exe meret")), QString());
        QCOMPARE(ini.value(QStringLiteral("Nincs"), QStringLiteral("Exe neve")), QString());

        const QString utf8 = write(QStringLiteral("utf8.ini"), "\xEF\xBB\xBF[a]\nk=\xC5\x91sz\n");
        QVERIFY(ini.load(utf8));
        QCOMPARE(ini.value(QStringLiteral("A"), QStringLiteral("K")), QStringLiteral("ősz"));

        QVERIFY(!ini.load(m_dir.filePath(QStringLiteral("missing.ini"))));
        QCOMPARE(ini.value(QStringLiteral("A"), QStringLiteral("K")), QString());
    }

    void findPathIgnoringCase()
    {
        write(QStringLiteral("ic/other.ini"), "x");
        write(QStringLiteral("ic/Conf/Sub.INI"), "x");
        const QString dir = m_dir.filePath(QStringLiteral("ic"));
        QCOMPARE(FindPathIgnoringCase(dir, QStringLiteral("OTHER.INI")), QDir(dir).filePath(QStringLiteral("other.ini")));
        QCOMPARE(FindPathIgnoringCase(dir, QStringLiteral("other.ini")), QDir(dir).filePath(QStringLiteral("other.ini")));
        QCOMPARE(FindPathIgnoringCase(dir, QStringLiteral("CONF\\SUB.INI")), QDir(dir).filePath(QStringLiteral("Conf/Sub.INI")));
        QCOMPARE(FindPathIgnoringCase(dir, QStringLiteral("FRISSITES.INI")), QString());
        QCOMPARE(FindPathIgnoringCase(dir, QString()), QString());
    }

    void connectionStrings()
    {
        ConnectionSettings s{QStringLiteral("SQLOLEDB.1"), QStringLiteral("pw"), QStringLiteral("sa"),
                             QStringLiteral("KOVRA"), QStringLiteral("srv\\SQL2019")};
        QCOMPARE(s.connectionString(), QStringLiteral("Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;"
                                                      "User ID=sa;Initial Catalog=KOVRA;Data Source=srv\\SQL2019"));
        QCOMPARE(OdbcConnectionString(s), QStringLiteral("DRIVER={FreeTDS};Server=srv\\SQL2019;Database=KOVRA;UID=sa;"
                                                         "PWD=pw;ClientCharset=UTF-8"));
        s.dataSource = QStringLiteral("db.example.org,1444");
        s.password = QStringLiteral("a;b}c");
        QCOMPARE(OdbcConnectionString(s), QStringLiteral("DRIVER={FreeTDS};Server=db.example.org;Port=1444;Database=KOVRA;"
                                                         "UID=sa;PWD={a;b}}c};ClientCharset=UTF-8"));

        QCOMPARE(BackendOf(QStringLiteral("SQLOLEDB.1")), DbBackend::SqlServer);
        QCOMPARE(BackendOf(QStringLiteral("SQLNCLI11")), DbBackend::SqlServer);
        QCOMPARE(BackendOf(QStringLiteral("MSOLEDBSQL")), DbBackend::SqlServer);
        QCOMPARE(BackendOf(QStringLiteral("sqlite")), DbBackend::Sqlite);
        QCOMPARE(BackendOf(QStringLiteral("Microsoft.Jet.OLEDB.4.0")), DbBackend::Unsupported);
        QCOMPARE(BackendOf(QString()), DbBackend::Unsupported);

        ConnectionSettings lite{QStringLiteral("SQLite"), {}, {}, QStringLiteral("KOVRA"), QStringLiteral("db")};
        QCOMPARE(SqliteFilePath(lite, QStringLiteral("/w")), QStringLiteral("/w/db/KOVRA.sqlite"));
        lite.dataSource = QStringLiteral("sqlite:demo\\data");
        QCOMPARE(SqliteFilePath(lite, QStringLiteral("/w")), QStringLiteral("/w/demo/data/KOVRA.sqlite"));
        lite.dataSource = QStringLiteral("/srv/kovra");
        QCOMPARE(SqliteFilePath(lite, QStringLiteral("/w")), QStringLiteral("/srv/kovra/KOVRA.sqlite"));
        lite.dataSource.clear();
        QCOMPARE(SqliteFilePath(lite, QStringLiteral("/w")), QStringLiteral("/w/KOVRA.sqlite"));
    }

    void collation_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("ASCII case") << QStringLiteral("Kovács") << QStringLiteral("KOVÁCS") << 0;
        QTest::newRow("Hungarian accents fold") << QStringLiteral("árvíztűrő tükörfúrógép")
                                                << QStringLiteral("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP") << 0;
        QTest::newRow("accents count") << QStringLiteral("a") << QStringLiteral("á") << -1;
        QTest::newRow("trailing blanks ignored") << QStringLiteral("abc   ") << QStringLiteral("ABC") << 0;
        QTest::newRow("leading blank counts") << QStringLiteral(" abc") << QStringLiteral("abc") << -1;
        QTest::newRow("order ignores case") << QStringLiteral("a") << QStringLiteral("B") << -1;
        QTest::newRow("prefix first") << QStringLiteral("ab") << QStringLiteral("ABC") << -1;
    }
    void collation()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(CompareCaseInsensitive(a, b), order);
        QCOMPARE(CompareCaseInsensitive(b, a), -order);
    }

    void fileTexts()
    {
        QCOMPARE(DecodeFileText("\xEF\xBB\xBFt\xC3\xBCk\xC3\xB6r"), QStringLiteral("tükör"));
        QCOMPARE(DecodeFileText("t\xFCk\xF6r \xF5\xFB"), QStringLiteral("tükör őű")); // Windows-1250
        QCOMPARE(EncodeWindows1250(QStringLiteral("őű€")), QByteArray("\xF5\xFB\x80"));
        QCOMPARE(SplitLines(QStringLiteral("a\r\nb\nc\rd\r\n")), (QStringList{"a", "b", "c", "d"}));
        QCOMPARE(SplitLines(QStringLiteral("a\n\nb")), (QStringList{"a", "", "b"}));
        QCOMPARE(SplitLines(QString()), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestUpdaterUnits)
#include "test_updater_units.moc"
