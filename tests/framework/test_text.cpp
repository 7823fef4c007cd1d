// Split, the trimming family and the Windows-1250 / ISO-8859-2 codec.

#include "TextCodec.h"
#include "TextUtils.h"

#include <QTest>

using OptList = std::optional<QStringList>;
Q_DECLARE_METATYPE(OptList)

class TestText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("delims");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<OptList>("expected");
        QTest::newRow("empty gives no list") << QString() << QStringLiteral(",") << false << -1 << OptList();
        QTest::newRow("empty piece") << QStringLiteral("a,b,,c") << QStringLiteral(",") << false << -1
                                     << OptList(QStringList{"a", "b", "", "c"});
        QTest::newRow("trailing delimiter") << QStringLiteral("a,b,") << QStringLiteral(",") << false << -1
                                            << OptList(QStringList{"a", "b", ""});
        QTest::newRow("maximum keeps rest") << QStringLiteral("a b c") << QStringLiteral(" ") << false << 1
                                            << OptList(QStringList{"a", "b c"});
        QTest::newRow("maximum with nothing left") << QStringLiteral("a,") << QStringLiteral(",") << false << 1
                                                   << OptList(QStringList{"a"});
        QTest::newRow("several delimiters") << QStringLiteral("a;b,c") << QStringLiteral(",;") << false << -1
                                            << OptList(QStringList{"a", "b", "c"});
        QTest::newRow("keep delimiters") << QStringLiteral("a,b;c") << QStringLiteral(",;") << true << -1
                                         << OptList(QStringList{"a", ",", "b", ";", "c"});
        QTest::newRow("no delimiter") << QStringLiteral("abc") << QStringLiteral(",") << false << -1
                                      << OptList(QStringList{"abc"});
        QTest::newRow("only delimiter") << QStringLiteral(",") << QStringLiteral(",") << false << -1
                                        << OptList(QStringList{"", ""});
        QTest::newRow("maximum zero is no limit reached") << QStringLiteral("a,b") << QStringLiteral(",") << false << 0
                                                          << OptList(QStringList{"a", "b"});
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QString, delims);
        QFETCH(bool, keep);
        QFETCH(int, maximum);
        QFETCH(OptList, expected);
        const OptList got = Split(text, delims, keep, maximum);
        QCOMPARE(got.has_value(), expected.has_value());
        if (got)
            QCOMPARE(*got, *expected);
    }

    void trimming()
    {
        QCOMPARE(TrimBlanksLeft(QStringLiteral(" \t a b \t")), QStringLiteral("a b \t"));
        QCOMPARE(TrimBlanksRight(QStringLiteral(" a b \t ")), QStringLiteral(" a b"));
        QCOMPARE(TrimBlanks(QStringLiteral("\t x \t")), QStringLiteral("x"));
        // Line breaks are not blanks.
        QCOMPARE(TrimBlanks(QStringLiteral("\r\n x \n")), QStringLiteral("\r\n x \n"));

        QCOMPARE(TrimChar(QStringLiteral("   "), u' ', u'0'), QStringLiteral("0"));
        QCOMPARE(TrimChar(QString(), u' ', u'0'), QStringLiteral("0"));
        QCOMPARE(TrimChar(QStringLiteral("0012300"), u'0', u'0'), QStringLiteral("123"));
        QCOMPARE(TrimCharLeft(QStringLiteral("0012300"), u'0', u'#'), QStringLiteral("12300"));
        QCOMPARE(TrimCharRight(QStringLiteral("0012300"), u'0', u'#'), QStringLiteral("00123"));
        QCOMPARE(TrimCharRight(QStringLiteral("xxx"), u'x', u'-'), QStringLiteral("-"));

        QCOMPARE(TrimControl(QStringLiteral("\r\n\t x y \x01")), QStringLiteral("x y"));

        // Codes compare with ASCII letters upper-cased only: accented letters keep their case.
        QCOMPARE(AsciiUpper(QStringLiteral("abc xyz-09 éő Á{")), QStringLiteral("ABC XYZ-09 éő Á{"));
    }

    void codec_data()
    {
        QTest::addColumn<int>("charset");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("1250 accents") << int(Charset::Windows1250) << QStringLiteral("őŐűŰáÁ")
                                      << QByteArray("\xF5\xD5\xFB\xDB\xE1\xC1");
        QTest::newRow("1250 quotes and euro") << int(Charset::Windows1250) << QStringLiteral("„€”")
                                              << QByteArray("\x84\x80\x94");
        QTest::newRow("8859-2 accents") << int(Charset::Iso8859_2) << QStringLiteral("őŐűŰ")
                                        << QByteArray("\xF5\xD5\xFB\xDB");
        QTest::newRow("8859-2 š differs from 1250") << int(Charset::Iso8859_2) << QStringLiteral("š")
                                                    << QByteArray("\xB9");
        QTest::newRow("ascii") << int(Charset::Windows1250) << QStringLiteral("Abc 123\r\n") << QByteArray("Abc 123\r\n");
    }
    void codec()
    {
        QFETCH(int, charset);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EncodeText(text, Charset(charset)), bytes);
        QCOMPARE(DecodeText(bytes, Charset(charset)), text);
        QVERIFY(CanEncode(text, Charset(charset)));
    }

    void codecUnmappable()
    {
        QCOMPARE(EncodeText(QStringLiteral("a日b")), QByteArray("a?b"));
        QVERIFY(!CanEncode(QStringLiteral("日")));
        // 0x81 is undefined in Windows-1250.
        QCOMPARE(DecodeText(QByteArray("a\x81z")), QStringLiteral("a\uFFFDz"));
    }
};

QTEST_GUILESS_MAIN(TestText)
#include "test_text.moc"
