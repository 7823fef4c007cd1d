#pragma once
// Drives the login dialog as a user would: database choice, name, Tab, password, Enter.

#include "Indito.h"
#include "ShellFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

struct LoginAttempt {
    QString name;
    QString password;
    int database = 0;      // item of cb_ab
    bool leaveName = true; // Tab out of the name field before typing the password
};

// The dialog's result (LoginModalResult on success).
inline int RunLogin(const LoginAttempt &a)
{
    Tform_Indito d;
    d.show();
    d.activateWindow();
    if (!QTest::qWaitForWindowActive(&d))
        return -1;
    d.cb_ab->setCurrentIndex(a.database);
    d.FNev->setFocus(Qt::OtherFocusReason);
    TypeText(d.FNev, a.name);
    if (a.leaveName) {
        QTest::keyClick(d.FNev, Qt::Key_Tab);
        TypeText(d.FJelszo, a.password);
        QTest::keyClick(d.FJelszo, Qt::Key_Return);
    } else {
        QTest::keyClick(d.FNev, Qt::Key_Return);
    }
    return d.result();
}
