#include "Fokep.h"

#include "Adatmodul.h"
#include "FocusHighlight.h"
#include "Glyphs.h"
#include "LoginInfo.h"
#include "Mnemonics.h"
#include "OpenWindow.h"
#include "UserSettings.h"
#include "VDCComboBox.h"
#include "Version.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Fokep *form_Fokep = nullptr;

namespace {

struct ButtonWindow {
    const char *button;
    const char *window;
};

constexpr ButtonWindow ButtonWindows[] = {
    {"sb_felev", "form_TantargyJelent"}, {"sb_orarend", "form_JelenletLista"}, {"sb_admin", "form_Admin"},
    {"sb_jelenlet", "form_Jelenlet"},    {"sb_kartya", "form_Kartyak"},        {"sb_jelszo", "form_JelszoMod"},
    {"sb_hiba", "form_Hibanaplo"},       {"SpeedButton1", "form_Indito2"},
};

// The banner: a painted picture with the title.
class Banner : public QWidget {
public:
    explicit Banner(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("i_banner"));
        setMinimumHeight(90);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(20, 60, 120));
        g.setColorAt(1, QColor(90, 140, 200));
        p.fillRect(rect(), g);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 30));
        for (int i = 0; i < 6; ++i)
            p.drawEllipse(QPoint(width() - 60 * i, height() / 2 + (i % 2) * 20), 40, 40);
        QFont f = font();
        f.setPointSize(20);
        f.setBold(true);
        p.setFont(f);
        p.setPen(QColor(255, 230, 120));
        p.drawText(rect().adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Jelenlét nyilvántartás"));
    }
};

} // namespace

QString Tform_Fokep::WindowOf(const QString &buttonName)
{
    for (const auto &bw : ButtonWindows)
        if (buttonName == QLatin1String(bw.button))
            return QString::fromLatin1(bw.window);
    return {};
}

QToolButton *Tform_Fokep::addButton(const char *name, const QString &caption, const QString &hint, const char *glyph)
{
    auto *b = new QToolButton(this);
    b->setObjectName(QLatin1String(name));
    b->setText(caption);
    b->setToolTip(hint);
    b->setIcon(QIcon(Glyph(glyph)));
    b->setIconSize(QSize(32, 32));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setMinimumSize(92, 72);
    b->setCursor(Qt::PointingHandCursor);
    const QString window = WindowOf(QLatin1String(name));
    connect(b, &QToolButton::clicked, this, [this, window] { OpenRegisteredWindow(window, this); });
    return b;
}

Tform_Fokep::Tform_Fokep(QWidget *parent) : QWidget(parent)
{
    form_Fokep = this;
    setObjectName(QStringLiteral("form_Fokep"));
    setWindowTitle(QStringLiteral("Hallgatói jelenlét nyilvántartása"));
    resize(820, 330);

    // Every date text of the program uses "yyyy.MM.dd" (FieldText, ParseDateText); nothing to set here.
    m_highlight = new TFocusHighlight(this);

    sb_felev = addButton("sb_felev", QStringLiteral("Jelentkezés"), QString(), "JELENTKEZES");
    sb_orarend = addButton("sb_orarend", QStringLiteral("Listák"), QStringLiteral("Jelenlét lista"), "LISTA");
    sb_admin = addButton("sb_admin", QStringLiteral("Adminisztráció"), QStringLiteral("Adminisztráció"), "ADMIN");
    sb_jelenlet = addButton("sb_jelenlet", QStringLiteral("Jelenlét"), QStringLiteral("Jelenlét"), "JELENLET");
    sb_kartya = addButton("sb_kartya", QStringLiteral("Kártya"), QStringLiteral("Kártya adatok"), "KARTYA");
    sb_jelszo = addButton("sb_jelszo", QStringLiteral("Jelszó"), QStringLiteral("Jelszó módosítása"), "JELSZO");
    sb_hiba = addButton("sb_hiba", QStringLiteral("Hibák"), QStringLiteral("Hibakezelés"), "HIBA");
    SpeedButton1 = addButton("SpeedButton1", QStringLiteral("Segítség"), QStringLiteral("Segítség"), "SEGITSEG");

    auto value = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    l_felh = value("l_felh", QStringLiteral("Felhasználó"));
    l_db = value("l_db", QStringLiteral("Adatbázis"));
    l_kar = value("l_kar", QStringLiteral("Kar"));
    l_verzio = value("l_verzio", QStringLiteral("Verzió"));

    vdc_kar = new TVDCComboBox(this);
    vdc_kar->setObjectName(QStringLiteral("vdc_kar"));
    vdc_kar->Lekerdezes = QStringLiteral("Select kar_id as ID, kar_nev as NEV From kar Where kar_aktiv=1 Order By NEV");
    vdc_kar->setMinimumWidth(240);
    vdc_kar->setVisible(false);
    // Only the user changes the choice; loading the list leaves the login's faculty alone.
    connect(vdc_kar, &TVDCComboBox::valueChanged, this, &Tform_Fokep::vdc_karChange);

    auto *buttons = new QHBoxLayout;
    for (QToolButton *b : {sb_felev, sb_orarend, sb_admin, sb_jelenlet, sb_kartya, sb_jelszo, sb_hiba, SpeedButton1})
        buttons->addWidget(b);
    buttons->addStretch(1);

    auto *info = new QGridLayout;
    const QStringList captions{QStringLiteral("Felhasználó:"), QStringLiteral("Adatbázis:"), QStringLiteral("Kar:"),
                               QStringLiteral("Verzió:")};
    const QList<QLabel *> values{l_felh, l_db, l_kar, l_verzio};
    for (int i = 0; i < 4; ++i) {
        info->addWidget(new QLabel(captions[i], this), i, 0);
        info->addWidget(values[i], i, 1);
    }
    info->addWidget(vdc_kar, 2, 2);
    info->setColumnStretch(3, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new Banner(this));
    layout->addLayout(buttons);
    layout->addLayout(info);
    layout->addStretch(1);
    // Every button by Tab and by its Alt letter.
    AssignMnemonics(this);
}

Tform_Fokep::~Tform_Fokep()
{
    delete m_highlight;
    if (form_Fokep == this)
        form_Fokep = nullptr;
}

void Tform_Fokep::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    RestoreWindowPosition(this, objectName());
    l_felh->setText(LoginInfo.UserName);
    l_db->setText(LoginInfo.DatabaseName);
    l_kar->setText(LoginInfo.FacultyName);
    l_verzio->setText(QLatin1String(ProgramVersion));
    applyRoles();
}

void Tform_Fokep::applyRoles()
{
    struct Rights {
        bool felev, orarend, kartya, jelenlet, hiba, jelszo, admin;
    };
    Rights r{true, true, true, true, true, true, true};
    switch (LoginInfo.RoleId) {
    case 2: r = {true, true, true, true, false, true, true}; break;
    case 3: r = {false, true, false, true, false, true, false}; break;
    case 4: r = {false, true, true, true, false, true, false}; break;
    default: break;
    }
    // A button whose window is not part of the program yet stays disabled.
    auto set = [](QToolButton *b, bool allowed) { b->setEnabled(allowed && IsWindowAvailable(WindowOf(b->objectName()))); };
    set(sb_felev, r.felev);
    set(sb_orarend, r.orarend);
    set(sb_kartya, r.kartya);
    set(sb_jelenlet, r.jelenlet);
    set(sb_hiba, r.hiba);
    set(sb_jelszo, r.jelszo);
    set(sb_admin, r.admin);
    set(SpeedButton1, true);
    if (LoginInfo.RoleId == 1) {
        // The window is created before the data module: its query is taken when first needed.
        if (!vdc_kar->ADOQuery && form_Adatmodul)
            vdc_kar->ADOQuery = &form_Adatmodul->Query3;
        if (vdc_kar->ADOQuery)
            vdc_kar->Feltoltes();
        m_chosenFaculty.clear();
        vdc_kar->setVisible(true);
    } else {
        vdc_kar->setVisible(false);
    }
}

void Tform_Fokep::vdc_karChange()
{
    // Typed text that names no faculty keeps the current one: an empty faculty id would break every
    // statement that later windows build with it.
    if (vdc_kar->currentIndex() < 0 || vdc_kar->Eredmeny() == m_chosenFaculty)
        return;
    m_chosenFaculty = vdc_kar->Eredmeny();
    Dataset &q = form_Adatmodul->Query3;
    q.close();
    q.clearParams();
    q.setSql(QStringLiteral("Select kar_id, kar_kod, kar_nev From kar Where kar_id=") + m_chosenFaculty);
    q.open();
    const bool found = !q.isEmpty();
    LoginInfo.FacultyId = found ? q.fieldByName(QStringLiteral("kar_id")).asString() : QString();
    LoginInfo.FacultyCode = found ? q.fieldByName(QStringLiteral("kar_kod")).asString() : QString();
    LoginInfo.FacultyName = found ? q.fieldByName(QStringLiteral("kar_nev")).asString() : QString();
    q.close();
    l_kar->setText(LoginInfo.FacultyName);
}

void Tform_Fokep::closeEvent(QCloseEvent *event)
{
    SaveWindowPosition(this, objectName());
    QWidget::closeEvent(event);
}
