// Configuration file, scrambled values, the password hash and the kovra-ini tool.

#include "Crc32.h"
#include "IniFile.h"
#include "IniValue.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestBase : public QObject {
    Q_OBJECT

    QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

private Q_SLOTS:
    void decodeKnownValues_data()
    {
        QTest::addColumn<QString>("scrambled");
        QTest::addColumn<QString>("plain");
        const QString a = QString::fromLatin1(IniValueAlphabet);
        // One character: its alphabet position minus one.
        QTest::newRow("single first") << a.mid(0, 1) << QString(QChar(0));
        QTest::newRow("single 66th code") << a.mid(10, 1) << QString(QChar(10));
        // Pair: low nibble from the first, high nibble from the second.
        QTest::newRow("pair 'A'") << (a.mid(1, 1) + a.mid(4, 1)) << QStringLiteral("A");
        QTest::newRow("surrounding blanks") << (QStringLiteral("  \t") + a.mid(1, 1) + a.mid(4, 1) + QStringLiteral(" \r\n"))
                                            << QStringLiteral("A");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks only") << QStringLiteral("   ") << QString();
        // Not in the alphabet: position 65 (low part 64 -> carries into the high nibble; wrong but no error).
        QTest::newRow("outside alphabet") << QStringLiteral("??") << QString(QChar(((64) + 16 * ((65 & 31) - 1)) & 255));
    }
    void decodeKnownValues()
    {
        QFETCH(QString, scrambled);
        QFETCH(QString, plain);
        QCOMPARE(DecodeIniValue(scrambled), plain);
    }

    void encodeRoundTrip_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::newRow("catalog") << QStringLiteral("KOVRA");
        QTest::newRow("server") << QStringLiteral("sqlite:demo");
        QTest::newRow("accents") << QStringLiteral("Jelszó őŐűŰ áÁ");
        QTest::newRow("inner blanks") << QStringLiteral("a b  c");
        QTest::newRow("odd and long") << QStringLiteral("x").repeated(101);
        // Every byte that Windows-1250 defines.
        QTest::newRow("all bytes") << DecodeText([] {
            QByteArray b;
            for (int i = 33; i < 256; ++i)
                b.append(char(i));
            return b;
        }()).remove(QChar(0xFFFD));
    }
    void encodeRoundTrip()
    {
        QFETCH(QString, plain);
        const QString enc = EncodeIniValue(plain);
        QCOMPARE(enc.size(), EncodeText(plain).size() * 2);
        for (QChar c : enc)
            QVERIFY(QByteArray(IniValueAlphabet).contains(char(c.toLatin1())));
        QCOMPARE(DecodeIniValue(enc), plain);
        QCOMPARE(DecodeIniValue(QStringLiteral("  ") + enc + QStringLiteral("\t")), plain);
    }

    void decodeOddLengthPairsWithMissingPartner()
    {
        // "AB" encoded and a lone trailing character: ceil(n/2) characters, the last one from the low nibble.
        const QString enc = EncodeIniValue(QStringLiteral("AB"));
        const QString dec = DecodeIniValue(enc + QString::fromLatin1(IniValueAlphabet).mid(5, 1));
        QCOMPARE(dec.size(), 3);
        QCOMPARE(dec.left(2), QStringLiteral("AB"));
        QCOMPARE(dec.at(2).unicode(), 5);
    }

    void passwordHash_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("hash");
        QTest::newRow("empty") << QString() << 65535;
        QTest::newRow("abc") << QStringLiteral("abc") << int(0xCADBBE3Du & 0xFFFF);
        // Hungarian letters hash over their Windows-1250 bytes: "ő" is 0xF5.
        QTest::newRow("o double acute") << QStringLiteral("ő") << int(~0x1FD5E91Eu & 0xFFFF);
    }
    void passwordHash()
    {
        QFETCH(QString, password);
        QFETCH(int, hash);
        QCOMPARE(PasswordHash(password), hash);
    }

    void crcComponent()
    {
        TCRC32Calc calc;
        QCOMPARE(calc.BufferSize(), 4096);
        calc.SetBufferSize(100);
        QCOMPARE(calc.BufferSize(), 4096);
        calc.SetBufferSize(2000000);
        QCOMPARE(calc.BufferSize(), 4096);
        calc.SetBufferSize(8192);
        QCOMPARE(calc.BufferSize(), 8192);
        QCOMPARE(calc.CalcBlock("abc", 3), 0xCADBBE3Du);

        // Blocks larger than the buffer give the same value and report every block.
        QByteArray big(20000, 'x');
        int blocks = 0;
        calc.OnData = [&](const uint8_t *, size_t) { ++blocks; };
        const uint32_t inBlocks = calc.CalcBlock(big.constData(), size_t(big.size()));
        QCOMPARE(blocks, 3);
        calc.OnData = nullptr;
        calc.SetBufferSize(1048576);
        QCOMPARE(calc.CalcBlock(big.constData(), size_t(big.size())), inBlocks);

        // Re-entering while busy is refused.
        QString message;
        calc.OnData = [&](const uint8_t *, size_t) {
            try {
                calc.CalcBlock("a", 1);
            } catch (const std::runtime_error &e) {
                message = QString::fromUtf8(e.what());
            }
        };
        calc.CalcBlock("abc", 3);
        QCOMPARE(message, QStringLiteral("CRC Calc is Busy"));
        QVERIFY(!calc.Busy());
    }

    void iniReadsWindows1250AndMissingAsEmpty()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kovra.ini"));
        IniFile ini(path);
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AU")), QString());
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("12")),
                 QStringLiteral("12"));

        writeFile(path, QByteArray("; comment kept\r\n[Hibakezeles]\r\nSMTP szerver=mail.example\r\n"
                                   "Megjegyz\xE9s=\xF5r\xFCl\xF5\r\n\r\n[Futtatas]\r\nAU=xyz\r\n"));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP szerver")), QStringLiteral("mail.example"));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("Megjegyzés")), QStringLiteral("őrülő"));
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AP")), QString());

        // Writing one key keeps the other lines and the comment.
        QVERIFY(ini.WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("14")));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU")), QStringLiteral("14"));
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AU")), QStringLiteral("xyz"));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("Megjegyzés")), QStringLiteral("őrülő"));
        QVERIFY(readFile(path).contains("; comment kept"));
        QVERIFY(readFile(path).contains("Megjegyz\xE9s"));
    }

    void iniSurvivesGarbage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kovra.ini"));
        writeFile(path, QByteArray("\x00\xFF\xFE garbage [[[ ==\n\x81\x83 = \x98\n", 22));
        IniFile ini(path);
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AU"), QStringLiteral("d")), QStringLiteral("d"));
        writeFile(path, QByteArray());
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AU")), QString());
        // Values that are not Windows-1250 text decode without loss of the other characters.
        writeFile(path, QByteArray("[Futtatas]\nAU=a\x81z\n"));
        QCOMPARE(ini.ReadString(QStringLiteral("Futtatas"), QStringLiteral("AU")), QStringLiteral("a\uFFFDz"));
    }

    // Beside the executable wins (a share installation), then the system file, else beside again.
    void defaultConfigFile_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("system");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("both") << true << true << "bin/kovra.ini";
        QTest::newRow("beside only") << true << false << "bin/kovra.ini";
        QTest::newRow("system only") << false << true << "etc/kovra.ini";
        QTest::newRow("none") << false << false << "bin/kovra.ini";
    }
    void defaultConfigFile()
    {
        QFETCH(bool, beside);
        QFETCH(bool, system);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")) && QDir(dir.path()).mkpath(QStringLiteral("etc")));
        if (beside)
            writeFile(dir.filePath(QStringLiteral("bin/kovra.ini")), "[Futtatas]\n");
        if (system)
            writeFile(dir.filePath(QStringLiteral("etc/kovra.ini")), "[Futtatas]\n");
        QCOMPARE(DefaultConfigFilePath(dir.filePath(QStringLiteral("bin")), dir.filePath(QStringLiteral("etc/kovra.ini"))),
                 dir.filePath(chosen));
    }

    void iniWriteToUnwritableFolderFails()
    {
        IniFile ini(QStringLiteral("/proc/kovra-no-such-dir/kovra.ini"));
        QVERIFY(!ini.WriteString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
    }

    void kovraIniTool()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kovra.ini"));
        writeFile(path, "[Hibakezeles]\nBETU=16\n");
        QProcess p;
        p.start(QStringLiteral(KOVRA_INI_TOOL),
                {QStringLiteral("write"), path, QStringLiteral("--database"), QStringLiteral("KOVRA"),
                 QStringLiteral("--server"), QStringLiteral("sqlite:."), QStringLiteral("--user"), QStringLiteral("sa"),
                 QStringLiteral("--password"), QStringLiteral("Tit'kos ő"), QStringLiteral("--smtp"), QStringLiteral("localhost")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 0);
        IniFile ini(path);
        const QString f = QStringLiteral("Futtatas");
        QCOMPARE(DecodeIniValue(ini.ReadString(f, QStringLiteral("Adatbazis neve"))), QStringLiteral("KOVRA"));
        QCOMPARE(DecodeIniValue(ini.ReadString(f, QStringLiteral("A_ELERES"))), QStringLiteral("sqlite:."));
        QCOMPARE(DecodeIniValue(ini.ReadString(f, QStringLiteral("AU"))), QStringLiteral("sa"));
        QCOMPARE(DecodeIniValue(ini.ReadString(f, QStringLiteral("AP"))), QStringLiteral("Tit'kos ő"));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU")), QStringLiteral("16"));
        QCOMPARE(ini.ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("SMTP szerver")), QStringLiteral("localhost"));

        // Unwritable target: clear message, non-zero exit.
        p.start(QStringLiteral(KOVRA_INI_TOOL),
                {QStringLiteral("write"), QStringLiteral("/proc/kovra-none/kovra.ini"), QStringLiteral("--database"),
                 QStringLiteral("K"), QStringLiteral("--server"), QStringLiteral("s")});
        QVERIFY(p.waitForFinished());
        QVERIFY(p.exitCode() != 0);
        QVERIFY(p.readAllStandardError().contains("cannot write"));

        p.start(QStringLiteral(KOVRA_INI_TOOL), {QStringLiteral("encode"), QStringLiteral("KOVRA")});
        QVERIFY(p.waitForFinished());
        QCOMPARE(DecodeIniValue(QString::fromLatin1(p.readAllStandardOutput())), QStringLiteral("KOVRA"));
    }
};

QTEST_GUILESS_MAIN(TestBase)
#include "test_base.moc"
