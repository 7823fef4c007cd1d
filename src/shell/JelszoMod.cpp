#include "JelszoMod.h"

#include "Adatmodul.h"
#include "Crc32.h"
#include "Glyphs.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tform_JelszoMod::Tform_JelszoMod(QWidget *parent) : QDialog(parent), felh(nullptr, QStringLiteral("felh"))
{
    setObjectName(QStringLiteral("form_JelszoMod"));
    setWindowTitle(QStringLiteral("Jelszó módosítás"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    if (form_Adatmodul)
        felh.setConnection(&form_Adatmodul->ADOConn);
    felh.setSql(QStringLiteral("Select felh_id, felh_jelszo From felhasznalo Where felh_jelszo = :jelszo and felh_nev = :nev"));

    auto edit = [this](const char *name, const QString &hint) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setToolTip(hint);
        e->setAccessibleName(hint);
        e->setEchoMode(QLineEdit::Password);
        e->setMinimumWidth(180);
        connect(e, &QLineEdit::textChanged, this, &Tform_JelszoMod::editChange);
        return e;
    };
    Eredeti = edit("Eredeti", QStringLiteral("Felhasználó eredeti jelszava"));
    Jelszo = edit("Jelszo", QStringLiteral("Felhasználó új jelszava"));
    Jelszo2 = edit("Jelszo2", QStringLiteral("Felhasználó új jelszavának megerősítése"));

    Belepes = new QPushButton(QIcon(Glyph("OK")), QStringLiteral("Módosítás"), this);
    Belepes->setObjectName(QStringLiteral("Belepes"));
    Belepes->setDefault(true);
    Kilepes = new QPushButton(QIcon(Glyph("MEGSEM")), QStringLiteral("Kilépés"), this);
    Kilepes->setObjectName(QStringLiteral("Kilepes"));
    Kilepes->setAutoDefault(false);
    connect(Belepes, &QPushButton::clicked, this, &Tform_JelszoMod::BelepesClick);
    connect(Kilepes, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("A jelszó módosításához adja meg az"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("eredeti jelszavát"), this), 1, 0);
    grid->addWidget(Eredeti, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("az új jelszavát"), this), 2, 0);
    grid->addWidget(Jelszo, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("az új jelszavát még egyszer"), this), 3, 0);
    grid->addWidget(Jelszo2, 3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Belepes);
    buttons->addWidget(Kilepes);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Tform_JelszoMod::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    Eredeti->clear();
    Jelszo->clear();
    Jelszo2->clear();
    Belepes->setEnabled(false);
    Eredeti->setFocus();
}

void Tform_JelszoMod::editChange()
{
    Belepes->setEnabled(!Eredeti->text().isEmpty() && !Jelszo->text().isEmpty() && !Jelszo2->text().isEmpty());
}

void Tform_JelszoMod::BelepesClick()
{
    if (Jelszo->text() != Jelszo2->text()) {
        InfoBox(QStringLiteral("A két jelszó nem egyezik!"));
        return;
    }
    felh.close();
    felh.clearParams();
    felh.setParam(QStringLiteral("jelszo"), PasswordHash(Eredeti->text()));
    felh.setParam(QStringLiteral("nev"), LoginInfo.UserName);
    felh.open();
    const bool found = !felh.isEmpty();
    felh.close();
    if (!found) {
        InfoBox(QStringLiteral("Nem megfelelő az eredeti jelszó!"));
        return;
    }
    UpdateRecord(QStringLiteral("felhasznalo"), {QStringLiteral("felh_jelszo=") + QString::number(PasswordHash(Jelszo->text()))},
                 QStringLiteral("felh_id=") + LoginInfo.UserId);
    InfoBox(QStringLiteral("A jelszavad megváltozott."));
}
