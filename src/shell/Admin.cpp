#include "Admin.h"

#include "Glyphs.h"
#include "LoginInfo.h"
#include "OpenWindow.h"

#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct ButtonWindow {
    const char *button;
    const char *window;
};

constexpr ButtonWindow ButtonWindows[] = {
    {"sb_leltarszures", "form_Orarend"},  {"sb_felhasznalok", "form_Felhasznalo"},
    {"sb_oktatok", "form_Oktatok"},       {"SpeedButton2", "form_Tanora"},
    {"sb_hallgato", "form_Hallgatok"},    {"sb_tanorahallgato", "form_TanoraHallgato"},
    {"sb_tanoraoktato", "form_TanoraOktato"}, {"sb_felev", "form_Felev"},
    {"sb_tanszek", "form_Szervezet"},
};

} // namespace

QString Tform_Admin::WindowOf(const QString &buttonName)
{
    for (const auto &bw : ButtonWindows)
        if (buttonName == QLatin1String(bw.button))
            return QString::fromLatin1(bw.window);
    return {};
}

QToolButton *Tform_Admin::addButton(const char *name, const QString &caption, const QString &hint)
{
    auto *b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setMinimumSize(200, 34);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setCursor(Qt::PointingHandCursor);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    const QString window = WindowOf(QLatin1String(name));
    connect(b, &QToolButton::clicked, this, [this, window] { OpenRegisteredWindow(window, this); });
    return b;
}

Tform_Admin::Tform_Admin(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("form_Admin"));
    setWindowTitle(QStringLiteral("Adminisztráció"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    sb_leltarszures = addButton("sb_leltarszures", QStringLiteral("Órarend"), QStringLiteral("Órarend szerkesztése"));
    sb_felhasznalok = addButton("sb_felhasznalok", QStringLiteral("Felhasználók"), QString());
    sb_oktatok = addButton("sb_oktatok", QStringLiteral("Oktatók"), QString());
    SpeedButton2 = addButton("SpeedButton2", QStringLiteral("Tanórák"), QString());
    sb_hallgato = addButton("sb_hallgato", QStringLiteral("Hallgatók"), QString());
    sb_tanorahallgato = addButton("sb_tanorahallgato", QStringLiteral("Tanórák - Hallgatók"), QString());
    sb_tanoraoktato = addButton("sb_tanoraoktato", QStringLiteral("Tanórák - Oktatók"), QString());
    sb_felev = addButton("sb_felev", QStringLiteral("Félévek"), QString());
    sb_tanszek = addButton("sb_tanszek", QStringLiteral("Tanszék"), QString());
    sb_felev->setEnabled(false);
    sb_tanszek->setEnabled(false);

    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(QIcon(Glyph("KILEP")));
    SpeedButton1->setIconSize(QSize(32, 32));
    SpeedButton1->setToolTip(QStringLiteral("Kilépés"));
    SpeedButton1->setAccessibleName(SpeedButton1->toolTip());
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    connect(SpeedButton1, &QToolButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    for (QToolButton *b : {sb_leltarszures, sb_felhasznalok, sb_oktatok, SpeedButton2, sb_hallgato, sb_tanorahallgato,
                           sb_tanoraoktato, sb_felev, sb_tanszek})
        layout->addWidget(b);
    layout->addWidget(SpeedButton1, 0, Qt::AlignRight);
}

void Tform_Admin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // The windows a menu button opens apply their own rules; a window not built yet cannot open.
    for (QToolButton *b : {sb_leltarszures, sb_felhasznalok, sb_oktatok, SpeedButton2, sb_hallgato, sb_tanorahallgato,
                           sb_tanoraoktato})
        b->setEnabled(IsWindowAvailable(WindowOf(b->objectName())));
    for (QToolButton *b : {sb_felev, sb_tanszek})
        b->setEnabled(LoginInfo.RoleId == 1 && IsWindowAvailable(WindowOf(b->objectName())));
}
