// kovra-manual on a small manual: A4 pages, text at reading size (so a long text takes pages),
// a picture wider than the text, the contents after the title.

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TestManual : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rendersReadablePages()
    {
        QTemporaryDir dir;
        QImage wide(1600, 400, QImage::Format_RGB32);
        wide.fill(Qt::darkGreen);
        QVERIFY(wide.save(dir.filePath(QStringLiteral("kep.png"))));
        QString md = QStringLiteral("# Próba leírás\n\nBevezető bekezdés.\n\n");
        for (int s = 1; s <= 6; ++s) {
            md += QStringLiteral("## %1. Fejezet\n\n").arg(s);
            for (int p = 0; p < 6; ++p)
                md += QStringLiteral("Ez egy hosszabb bekezdés a(z) %1. fejezetben, **félkövér** és `kód` részekkel, "
                                     "hogy a szöveg több sort is kitöltsön a lapon, ahogy egy igazi leírásban.\n\n")
                          .arg(s);
            md += QStringLiteral("- első pont\n- második pont\n\n| oszlop | érték |\n|---|---|\n| a | 1 |\n\n");
            if (s == 2)
                md += QStringLiteral("![Széles kép](kep.png)\n\n");
        }
        QFile f(dir.filePath(QStringLiteral("KOVRA.md")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(md.toUtf8());
        f.close();

        const QString pdf = dir.filePath(QStringLiteral("KOVRA.pdf"));
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.start(QStringLiteral(KOVRA_MANUAL_TOOL), {f.fileName(), pdf});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        // A4 portrait in points.
        QVERIFY(QString::fromLatin1(bytes).contains(QRegularExpression(QStringLiteral("/MediaBox \\[0 0 595(\\.0+)? 842(\\.0+)?\\]"))));
        // About 250 lines of 10.5 pt text fill several pages; at a few points they fit on one or two.
        const qsizetype pages = bytes.count("/Type /Page") - bytes.count("/Type /Pages");
        QVERIFY2(pages >= 4 && pages <= 8, qPrintable(QString::number(pages)));

        // Unusable arguments: a usage text and no file.
        QProcess bad;
        bad.start(QStringLiteral(KOVRA_MANUAL_TOOL), {dir.filePath(QStringLiteral("nincs.md")), pdf + u'x'});
        QVERIFY(bad.waitForFinished(60000));
        QCOMPARE(bad.exitCode(), 1);
        QVERIFY(!QFile::exists(pdf + u'x'));
    }
};

QTEST_GUILESS_MAIN(TestManual)
#include "test_manual.moc"
