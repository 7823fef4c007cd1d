// InfoBox and ConfirmBox as the program shows them: look, keys, results, clipping.

#include "MessageBoxes.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT

    // Runs action on the box as soon as it is up.
    static void onBox(std::function<void(TMessageBox *)> action)
    {
        QTimer::singleShot(0, [action] {
            auto *box = qobject_cast<TMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QVERIFY(QTest::qWaitForWindowExposed(box));
            action(box);
        });
    }

private Q_SLOTS:
    void initTestCase() { InstallMessageBoxes(); }

    void look_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("InfoBox") << false;
        QTest::newRow("ConfirmBox") << true;
    }
    void look()
    {
        QFETCH(bool, confirm);
        TMessageBox box(confirm ? TMessageBox::Kind::Confirm : TMessageBox::Kind::Info, QStringLiteral("Szöveg"));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(box.panel->palette().color(QPalette::Window), QColor(128, 0, 0));
        QCOMPARE(box.label->palette().color(QPalette::WindowText), QColor(Qt::yellow));
        QVERIFY(box.label->font().bold());
        QVERIFY(box.label->wordWrap());
        QCOMPARE(box.label->geometry(), confirm ? QRect(18, 18, 205, 64) : QRect(18, 18, 216, 60));
        QCOMPARE(box.findChildren<QPushButton *>().size(), confirm ? 2 : 1);
        QPushButton *focused = confirm ? box.noButton : box.okButton;
        QCOMPARE(box.focusWidget(), focused);
        QVERIFY(focused->isDefault());
        // Every button fits inside the box.
        for (QPushButton *b : box.findChildren<QPushButton *>())
            QVERIFY(box.rect().contains(b->geometry()));
        if (confirm) {
            QCOMPARE(box.okButton->text(), QStringLiteral("&Igen"));
            QCOMPARE(box.noButton->text(), QStringLiteral("&Nem"));
            QCOMPARE(box.noButton->geometry(), QRect(166, 80, 76, 36));
        } else {
            QCOMPARE(box.okButton->geometry(), QRect(206, 82, 36, 36));
        }
    }

    void answers_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("expected");
        QTest::newRow("InfoBox Enter") << false << "enter" << true;
        QTest::newRow("InfoBox click") << false << "click ok" << true;
        QTest::newRow("InfoBox Esc does nothing, then Enter") << false << "esc" << true;
        QTest::newRow("ConfirmBox Enter answers Nem") << true << "enter" << false;
        QTest::newRow("ConfirmBox Esc") << true << "esc" << false;
        QTest::newRow("ConfirmBox click Igen") << true << "click ok" << true;
        QTest::newRow("ConfirmBox click Nem") << true << "click no" << false;
        QTest::newRow("ConfirmBox Shift+Tab to Igen, Space") << true << "tab space" << true;
        QTest::newRow("ConfirmBox Alt+I") << true << "alt i" << true;
        QTest::newRow("ConfirmBox Alt+N") << true << "alt n" << false;
    }
    void answers()
    {
        QFETCH(bool, confirm);
        QFETCH(QString, action);
        QFETCH(bool, expected);
        bool stayedOpen = false;
        onBox([&](TMessageBox *box) {
            QWidget *focus = box->focusWidget();
            if (action == u"enter") {
                QTest::keyClick(focus, Qt::Key_Return);
            } else if (action == u"click ok") {
                QTest::mouseClick(box->okButton, Qt::LeftButton);
            } else if (action == u"click no") {
                QTest::mouseClick(box->noButton, Qt::LeftButton);
            } else if (action == u"esc") {
                QTest::keyClick(focus, Qt::Key_Escape);
                stayedOpen = box->isVisible();
                if (stayedOpen)
                    QTest::keyClick(box->focusWidget(), Qt::Key_Return);
            } else if (action == u"alt i" || action == u"alt n") {
                QTest::keyClick(focus, action == u"alt i" ? Qt::Key_I : Qt::Key_N, Qt::AltModifier);
            } else if (action == u"tab space") {
                QTest::keyClick(focus, Qt::Key_Backtab);
                QCOMPARE(box->focusWidget(), box->okButton);
                QTest::keyClick(box->okButton, Qt::Key_Space);
            }
        });
        const bool result = confirm ? ConfirmBox(QStringLiteral("Biztos?")) : InfoBox(QStringLiteral("Üzenet"));
        QCOMPARE(result, expected);
        if (action == u"esc")
            QCOMPARE(stayedOpen, !confirm);
    }

    void textIsClippedNotGrown()
    {
        TMessageBox empty(TMessageBox::Kind::Info, QString());
        TMessageBox longer(TMessageBox::Kind::Info, QStringLiteral("hosszú szöveg ").repeated(100));
        QCOMPARE(longer.size(), empty.size());
        QCOMPARE(longer.label->geometry(), empty.label->geometry());
        QVERIFY(longer.label->heightForWidth(216) > 60);
        QCOMPARE(empty.label->text(), QString());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
