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
#include "Alap_Form_Unit.h"
#include "MessageBoxes.h"
#include "Hibakezeles.h"
#include "form_GridMezok_Unit.h"
#include "ReportPreview.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QAbstractProxyModel>
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
           || qobject_cast<const QTextEdit *>(w) || qobject_cast<const QAbstractButton *>(w)
           || qobject_cast<const QAbstractItemView *>(w);
}

// The push and tool buttons of a window's bars and menus (not Qt's own inner parts).
QList<QAbstractButton *> barButtons(QWidget *window)
{
    QList<QAbstractButton *> out;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
        if ((qobject_cast<QPushButton *>(b) || qobject_cast<QToolButton *>(b)) && b->window() == window
            && b->isVisibleTo(window) && !innerPart(b, window) && !b->objectName().startsWith(QLatin1String("qt_")))
            out << b;
    return out;
}

// A button's Alt letter: the character after a single "&" of its caption, else an Alt shortcut of
// its own or of its action.
QChar altLetter(const QAbstractButton *b)
{
    const QString t = b->text();
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        if (t[i] == u'&' && t[i + 1] == u'&')
            ++i;
        else if (t[i] == u'&')
            return t[i + 1].toUpper();
    }
    QList<QKeySequence> keys{b->shortcut()};
    if (auto *tb = qobject_cast<const QToolButton *>(b); tb && tb->defaultAction())
        keys = tb->defaultAction()->shortcuts();
    for (const QKeySequence &k : keys)
        if (k.count() == 1 && k[0].keyboardModifiers() == Qt::AltModifier)
            return QChar(char16_t(k[0].key()));
    return {};
}

// "window: button (letter)" for every shown bar button without Tab focus, without an Alt letter,
// or with a letter an earlier button has.
QStringList keyboardFaults(QWidget *window)
{
    QStringList out;
    QHash<QChar, QString> taken;
    for (QAbstractButton *b : barButtons(window)) {
        const QString id = window->objectName() + QStringLiteral(": ") + b->objectName() + QStringLiteral(" \"")
                           + b->text() + QStringLiteral("\"");
        if (!(b->focusPolicy() & Qt::TabFocus))
            out << id + QStringLiteral(" takes no Tab focus");
        const QChar c = altLetter(b);
        if (c.isNull())
            out << id + QStringLiteral(" has no Alt letter");
        else if (taken.contains(c))
            out << id + QStringLiteral(" has Alt+") + c + QStringLiteral(" like ") + taken[c];
        else
            taken.insert(c, b->objectName());
    }
    return out;
}

// Tab presses from the focused control until target has the focus; -1 when it never does.
int tabsTo(QWidget *window, QWidget *target, int limit = 200)
{
    for (int n = 0; n <= limit; ++n) {
        QWidget *f = QApplication::focusWidget();
        if (f == target)
            return n;
        QTest::keyClick(f ? f : window, Qt::Key_Tab);
    }
    return -1;
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
            // Tables: their shown columns only, without the row strip's corner button.
            for (DBGrid *g : w->findChildren<DBGrid *>()) {
                QAccessibleInterface *a = QAccessible::queryAccessibleInterface(g);
                int shown = 0;
                for (int i = 0; i < g->columnCount(); ++i)
                    shown += !g->isColumnHidden(i);
                if (!a || !a->tableInterface() || a->tableInterface()->columnCount() != shown
                    || a->childCount() != shown * (g->model()->rowCount() + 1))
                    unnamed << name + QStringLiteral(": ") + g->objectName() + QStringLiteral(" announces hidden columns");
            }
            EditMode = EditState::Browse;
            w->hide();
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("controls without an accessible name:\n") + unnamed.join(u'\n')));
        QVERIFY(checked > 40);
    }

    // Every window by keyboard: each shown bar button takes the Tab focus and has its own Alt
    // letter; in every record window's edit, Tab walks from the first field to "Felvesz".
    void everyButtonByKeyboard()
    {
        QStringList faults;
        int editWindows = 0;
        for (const QString &name : RegisteredWindowNames()) {
            std::unique_ptr<QDialog> w(CreateRegisteredWindow(name));
            QVERIFY2(w, qPrintable(name));
            if (w->objectName().isEmpty())
                w->setObjectName(name);
            w->show();
            QVERIFY2(QTest::qWaitForWindowExposed(w.get()), qPrintable(name));
            QTest::qWait(1); // the letters are given again after the window's show handler
            faults << keyboardFaults(w.get());
            // Tab and Shift+Tab leave every list and table.
            if (QTest::qWaitForWindowActive(w.get()))
                for (QAbstractItemView *v : w->findChildren<QAbstractItemView *>()) {
                    if (!v->isVisible() || !v->isEnabled() || !(v->focusPolicy() & Qt::TabFocus) || innerPart(v, w.get()))
                        continue;
                    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
                        v->setFocus(Qt::TabFocusReason);
                        if (QApplication::focusWidget() != v)
                            continue;
                        QTest::keyClick(v, key);
                        if (QApplication::focusWidget() == v)
                            faults << name + QStringLiteral(": ") + v->objectName() + QStringLiteral(" keeps the Tab key");
                    }
                }
            if (auto *form = qobject_cast<TAlap_Form *>(w.get())) {
                QVERIFY2(QTest::qWaitForWindowActive(w.get()), qPrintable(name));
                for (QPushButton *b : {form->bb_uj, form->bb_modosit})
                    if (!form->bb_felvesz->isEnabled() && b->isVisible() && b->isEnabled())
                        b->click();
                if (form->bb_felvesz->isEnabled() && form->bb_felvesz->isVisible()) {
                    ++editWindows;
                    if (tabsTo(w.get(), form->bb_felvesz) < 0)
                        faults << name + QStringLiteral(": Tab never reaches Felvesz");
                    form->bb_megsem->click();
                }
            }
            EditMode = EditState::Browse;
            w->hide();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        QVERIFY(editWindows >= 8);
    }

    // A screen reader hears a table's shown columns, by their titles, and no nameless corner button.
    void tablesAnnounceShownColumns()
    {
        Tform_JelenletTor w; // its id column is hidden
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.dbg_lista->model()->rowCount() >= 2);
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w.dbg_lista);
        QVERIFY(a && a->tableInterface());
        int shown = 0;
        QStringList titles;
        for (int i = 0; i < w.dbg_lista->columnCount(); ++i)
            if (w.dbg_lista->column(i).visible) {
                ++shown;
                titles << w.dbg_lista->column(i).title;
            }
        QCOMPARE(a->tableInterface()->columnCount(), shown);
        QStringList heard;
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface *c = a->child(i);
            QVERIFY(c);
            QVERIFY2(c->role() != QAccessible::Button || !c->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(QStringLiteral("child %1").arg(i)));
            if (c->role() == QAccessible::ColumnHeader)
                heard << c->text(QAccessible::Name);
        }
        QCOMPARE(heard, titles);
        QAccessibleInterface *cell = a->tableInterface()->cellAt(0, 0);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), w.dbg_lista->model()->index(0, 1).data().toString());
    }

    // The print preview: its toolbar joins the Tab order, every button has its Alt letter, the
    // zoom combo a name; Ctrl+S saves the PDF, Tab reaches "Mentés PDF fájlba".
    void previewByKeyboard()
    {
        ScriptedFileChooser files;
        TReportPreview p;
        p.show();
        QVERIFY(QTest::qWaitForWindowActive(&p));
        QTest::qWait(1);
        QVERIFY2(keyboardFaults(&p).isEmpty(), qPrintable(keyboardFaults(&p).join(u'\n')));
        QVERIFY2(unnamedControls(&p).isEmpty(), qPrintable(unnamedControls(&p).join(u'\n')));
        QToolButton *pdf = nullptr;
        int buttons = 0;
        for (QAbstractButton *b : barButtons(&p)) {
            ++buttons;
            if (auto *t = qobject_cast<QToolButton *>(b); t && t->defaultAction() == p.a_pdf)
                pdf = t;
        }
        QVERIFY(buttons >= 10);
        QVERIFY(pdf);
        QVERIFY2(tabsTo(&p, pdf) > 0, "Tab never reaches the PDF button");
        QTest::keyClick(pdf, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(files.filters, QStringList{"PDF fájlok|*.pdf"});
        QTest::keyClick(pdf, altLetter(pdf).toLatin1(), Qt::AltModifier);
        QCOMPARE(files.filters.size(), 2);
        p.close();
    }

    // The windows opened outside the window opener: the column chooser and the error report.
    void chooserAndErrorWindowByKeyboard()
    {
        DBGrid grid;
        grid.addColumn(QStringLiteral("a"), QStringLiteral("A"));
        Tform_GridMezok chooser(&grid);
        Tform_Hibakezeles report;
        for (QDialog *d : std::initializer_list<QDialog *>{&chooser, &report}) {
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d));
            QVERIFY(barButtons(d).size() >= 3);
            QVERIFY2(keyboardFaults(d).isEmpty(), qPrintable(keyboardFaults(d).join(u'\n')));
            d->hide();
        }
    }

    // The message boxes: the box has a name, and so has every button (the glyph-only OK too).
    void messageBoxesNamed()
    {
        for (const auto kind : {TMessageBox::Kind::Info, TMessageBox::Kind::Confirm}) {
            TMessageBox box(kind, QStringLiteral("Biztos?"));
            box.show();
            QVERIFY(QTest::qWaitForWindowExposed(&box));
            QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&box);
            QVERIFY(a);
            QVERIFY(!a->text(QAccessible::Name).trimmed().isEmpty());
            QCOMPARE(a->text(QAccessible::Description), QStringLiteral("Biztos?"));
            QVERIFY2(unnamedControls(&box).isEmpty(), qPrintable(unnamedControls(&box).join(u'\n')));
            QVERIFY(keyboardFaults(&box).isEmpty() || kind == TMessageBox::Kind::Info);
            box.hide();
        }
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

        // The program's dialog: type names and dates of its list in Hungarian.
        QVERIFY(QDir(fx->dir.path()).mkdir(QStringLiteral("alfolder")));
        QFile txt(fx->dir.filePath(QStringLiteral("kodok.txt")));
        QVERIFY(txt.open(QIODevice::WriteOnly));
        txt.close();
        const QDateTime stamp(QDate(2026, 12, 11), QTime(14, 5));
        QVERIFY(txt.open(QIODevice::ReadWrite) && txt.setFileTime(stamp, QFileDevice::FileModificationTime));
        txt.close();
        std::unique_ptr<QFileDialog> own(NewFileDialog(nullptr, QStringLiteral("Szöveges fájlok|*.txt"), false));
        QVERIFY(own->testOption(QFileDialog::DontUseNativeDialog));
        own->setDirectory(fx->dir.path());
        own->show();
        QVERIFY(QTest::qWaitForWindowExposed(own.get()));
        auto *files = own->findChild<QFileSystemModel *>();
        QVERIFY(files && own->proxyModel());
        const auto shown = [&](const QString &name, int column) {
            const QModelIndex source = files->index(fx->dir.filePath(name), column);
            return own->proxyModel()->mapFromSource(source).data().toString();
        };
        QTRY_COMPARE(shown(QStringLiteral("alfolder"), 2), QStringLiteral("Mappa"));
        QTRY_COMPARE(shown(QStringLiteral("kodok.txt"), 2), QStringLiteral("TXT fájl"));
        QCOMPARE(shown(QStringLiteral("kodok.txt"), 3), QStringLiteral("2026.12.11 14:05"));
        qInfo("file list: %s, %s", qPrintable(shown(QStringLiteral("alfolder"), 2)), qPrintable(shown(QStringLiteral("kodok.txt"), 3)));
        own->reject();

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
