// Every registered window at once: what a screen reader announces, the focus frame in a window
// with a splitter, and Qt's own dialogs in Hungarian.

#include "../attendance/AttendanceSeed.h"
#include "DataFixture.h"
#include "AllWindows.h"
#include "FocusHighlight.h"
#include "FrameworkTestKit.h"
#include "KovraApplication.h"
#include "ErrorCapture.h"
#include "OpenWindow.h"
#include "ScriptedMessages.h"
#include "ShellFixture.h"
#include "Translations.h"
#include "DBGrid.h"
#include "FileChooser.h"
#include "Indito2.h"
#include "form_JelenletTor_Unit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTextEdit>

namespace {

// An inner part of another control (a combo box's edit, a table's corner button, a line edit's clear button).
bool innerPart(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p)
            || qobject_cast<const QAbstractItemView *>(p) || qobject_cast<const QLineEdit *>(p)
            || qobject_cast<const QTabBar *>(p) || qobject_cast<const QScrollBar *>(p))
            return true;
    return false;
}

bool inputOrButton(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
           || qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QPlainTextEdit *>(w)
           || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QAbstractButton *>(w);
}

// "window: objectName (class)" for every shown input control or button without an accessible name.
QStringList unnamedControls(QWidget *window)
{
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || !inputOrButton(w) || innerPart(w, window))
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            out << window->objectName() + QStringLiteral(": ") + w->objectName() + QStringLiteral(" (")
                       + QLatin1String(w->metaObject()->className()) + u')';
    }
    return out;
}

} // namespace

class TestAllWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<DataFixture> fx;
    std::unique_ptr<ScriptedMessages> boxes;
    std::unique_ptr<RecordedErrors> errors;

private Q_SLOTS:
    void initTestCase() { RegisterAllWindows(); }
    void init()
    {
        fx = std::make_unique<DataFixture>(BaseSchema() + QString::fromUtf8(AttendanceSeed),
                                           QDateTime(QDate(2024, 3, 6), QTime(10, 0)));
        fx->conn().execute(QStringLiteral("t"),
                           QStringLiteral("insert into Jelentes (jel_datum, jel_szoveg, felh_id, kar_id) values "
                                          "('2024-03-01 08:00:00', 'Jelenlét rögzítés kezdete!  Kémia  AAA111', 7, 1), "
                                          "('2024-03-02 08:00:00', 'Neptun import   AAA111 felvéve', 7, 1)"));
        LoginInfo.FacultyId = QStringLiteral("1");
        LoginInfo.UserId = QStringLiteral("7");
        LoginInfo.RoleId = 1;
        boxes = std::make_unique<ScriptedMessages>();
        errors = std::make_unique<RecordedErrors>();
    }
    void cleanup()
    {
        errors.reset();
        boxes.reset();
        fx.reset();
        EditMode = EditState::Browse;
        ResetProcessValues();
    }

    // Every window registered by any layer, as it opens: a screen reader names every control.
    void everyControlIsNamed()
    {
        const QStringList names = RegisteredWindowNames();
        QVERIFY(names.contains(QStringLiteral("form_Felev")));
        QVERIFY(names.contains(QStringLiteral("form_Jelenlet")));
        QVERIFY(names.contains(QStringLiteral("form_Indito2")));
        QStringList unnamed;
        int checked = 0;
        for (const QString &name : names) {
            std::unique_ptr<QDialog> w(CreateRegisteredWindow(name));
            QVERIFY2(w, qPrintable(name));
            if (w->objectName().isEmpty())
                w->setObjectName(name);
            w->show();
            QVERIFY2(QTest::qWaitForWindowExposed(w.get()), qPrintable(name));
            for (QWidget *c : w->findChildren<QWidget *>())
                checked += c->isVisibleTo(w.get()) && inputOrButton(c) && !innerPart(c, w.get());
            unnamed << unnamedControls(w.get());
            EditMode = EditState::Browse;
            w->hide();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("controls without an accessible name:\n") + unnamed.join(u'\n')));
        QVERIFY(checked > 40);
    }

    // A click into the journal list frames the list without giving the splitter a third pane.
    void journalRowClickKeepsPanes()
    {
        TFocusHighlight highlight;
        Tform_JelenletTor w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto *split = w.findChild<QSplitter *>();
        QVERIFY(split);
        QCOMPARE(split->count(), 2);
        const QList<int> panes = split->sizes();
        const int nameWidth = w.dbg_lista->columnWidth(2);
        QVERIFY(w.dbg_lista->model()->rowCount() >= 2);

        const QRect row = w.dbg_lista->visualRect(w.dbg_lista->model()->index(1, 1));
        QTest::mouseClick(w.dbg_lista->viewport(), Qt::LeftButton, {}, row.center());
        QTRY_VERIFY(w.dbg_lista->hasFocus());
        QCOMPARE(w.SZURES.recNo(), 2);
        QCOMPARE(split->count(), 2);
        QCOMPARE(split->sizes(), panes);
        QCOMPARE(w.dbg_lista->columnWidth(2), nameWidth);
        QCOMPARE(w.dbg_lista->width(), panes[0]);
        // The frame lies over the window, 3 pixels around the list.
        QFrame *frame = highlight.frame();
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->parentWidget(), static_cast<QWidget *>(&w));
        const auto frameAround = [&] {
            return QRect(w.dbg_lista->mapTo(&w, QPoint(0, 0)), w.dbg_lista->size()).adjusted(-3, -3, 3, 3);
        };
        QCOMPARE(frame->geometry(), frameAround());
        // It follows the list when the splitter is moved.
        split->setSizes({panes[0] + 60, panes[1] - 60});
        QTRY_COMPARE(frame->geometry(), frameAround());
        QCOMPARE(split->count(), 2);

        // The text pane too: still two panes.
        QTest::mouseClick(w.m_szoveg->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QTRY_VERIFY(w.m_szoveg->hasFocus());
        QCOMPARE(split->count(), 2);
        QCOMPARE(highlight.frame()->parentWidget(), static_cast<QWidget *>(&w));
    }

    // "Segítség" without a program for PDF files tells where the manual is, or that it is missing.
    void manualWithoutViewer()
    {
        const QString previousDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(fx->dir.path()));
        QStringList opened;
        const DocumentOpener previous = SetDocumentOpener([&](const QString &path) {
            opened << path;
            return false;
        });
        Tform_Indito2 d;
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(d.Label1, Qt::LeftButton);
        QFile pdf(fx->dir.filePath(QStringLiteral("KOVRA.pdf")));
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.close();
        QTest::mouseClick(d.Label3, Qt::LeftButton);
        SetDocumentOpener(previous);
        QDir::setCurrent(previousDir);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[1], fx->dir.filePath(QStringLiteral("KOVRA.pdf")));
        QCOMPARE(boxes->shown,
                 QStringList({QStringLiteral("A felhasználói leírás nem található. Helye: ") + QDir::toNativeSeparators(opened[0]),
                              QStringLiteral("Nincs program, amely a felhasználói leírást megnyitná. A fájl helye: ")
                                  + QDir::toNativeSeparators(opened[1])}));
    }

    // Qt's file dialog and context menus speak Hungarian, and numbers follow the Hungarian locale.
    void qtDialogsInHungarian()
    {
        QVERIFY(InstallHungarianTranslations());
        QCOMPARE(QLocale().language(), QLocale::Hungarian);
        const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
        const QString open = QCoreApplication::translate("QFileDialog", "&Open");
        const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QVERIFY(lookIn != QStringLiteral("Look in:"));
        QVERIFY(open != QStringLiteral("&Open"));
        QVERIFY(cancel != QStringLiteral("Cancel"));

        QFileDialog d(nullptr, QString(), fx->dir.path());
        d.setOption(QFileDialog::DontUseNativeDialog);
        d.setAcceptMode(QFileDialog::AcceptOpen);
        d.setFileMode(QFileDialog::ExistingFile);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto *lookInLabel = d.findChild<QLabel *>(QStringLiteral("lookInLabel"));
        QVERIFY(lookInLabel);
        QCOMPARE(lookInLabel->text(), lookIn);
        auto *nameLabel = d.findChild<QLabel *>(QStringLiteral("fileNameLabel"));
        QVERIFY(nameLabel);
        QCOMPARE(nameLabel->text(), QCoreApplication::translate("QFileDialog", "File &name:"));
        QVERIFY(nameLabel->text() != QStringLiteral("File &name:"));
        auto *buttons = d.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        QStringList texts;
        for (QAbstractButton *b : buttons->buttons())
            texts << b->text();
        QVERIFY2(texts.contains(open), qPrintable(texts.join(u'|')));
        QVERIFY2(texts.contains(cancel), qPrintable(texts.join(u'|')));
        qInfo("file dialog: %s / %s / %s", qPrintable(lookInLabel->text()), qPrintable(nameLabel->text()),
              qPrintable(texts.join(u'|')));
        d.reject();

        QLineEdit edit;
        std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction *a : menu->actions())
            if (!a->isSeparator())
                entries << a->text().section(u'\t', 0, 0); // without the shortcut
        QVERIFY(!entries.isEmpty());
        QCOMPARE(entries.first(), QCoreApplication::translate("QLineEdit", "&Undo"));
        QVERIFY(entries.first() != QStringLiteral("&Undo"));
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    }
};

KOVRA_GUI_TEST_MAIN(TestAllWindows)
#include "test_allwindows.moc"
