#include "form_Oktatok_Unit.h"

#include "Controls.h"
#include "Crc32.h"
#include "DBGrid.h"
#include "DbError.h"
#include "FormFrame.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "RecordOperations.h"
#include "SqlSplice.h"
#include "TextUtils.h"
#include "VDCComboBox.h"
#include "form_GridMezok_Unit.h"

#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

Tform_Oktatok *form_Oktatok = nullptr;

namespace {

const QString KeyField = QStringLiteral("oktato_id");
// The role of the accounts this window creates: a teacher sees lists, attendance and password only.
const QString TeacherRole = QStringLiteral("3");
constexpr int MaxCodeLength = 10;

QToolButton *iconButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    QToolButton *b = ToolButton(parent, name, hint, icon, 22);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

QString Tform_Oktatok::OfferingChoiceStatement(const QString &facultyId)
{
    return QStringLiteral("Select a.ft_id as ID, (b.tantargy_nev + ' - ' + (Select x.kurzus_kod From Kurzus x Where "
                          "x.kurzus_id=a.kurzus_id)) as NEV From felvett_tantargy a, tantargy b Where "
                          "a.tantargy_id=b.tantargy_id and a.kar_id=")
           + SqlId(facultyId) + QStringLiteral(" Order By NEV");
}

Tform_Oktatok::Tform_Oktatok(QWidget *parent)
    : TAlap_Form(parent), Tantargy(SZURES.connection(), QStringLiteral("Tantargy"), this)
{
    setObjectName(QStringLiteral("form_Oktatok"));
    setWindowTitle(QStringLiteral("Oktatói adatok"));
    resize(860, 540);

    auto *split = new QSplitter(Qt::Horizontal, p_Adatok);

    // Left: search and the teachers.
    auto *left = new QWidget(split);
    p_kereso = new QFrame(left);
    p_kereso->setObjectName(QStringLiteral("p_kereso"));
    auto *searchLabel = new QLabel(QStringLiteral("Keresett név"), p_kereso);
    e_keres = new QLineEdit(p_kereso);
    e_keres->setObjectName(QStringLiteral("e_keres"));
    searchLabel->setBuddy(e_keres);
    bb_felttorol = GlyphButton(p_kereso, "bb_felttorol", QStringLiteral("Feltételek törlése"), QStyle::SP_DialogResetButton);
    bb_felttorol->setAccessibleName(bb_felttorol->toolTip());
    auto *search = new QHBoxLayout(p_kereso);
    search->setContentsMargins(0, 0, 0, 0);
    search->addWidget(searchLabel);
    search->addWidget(e_keres, 1);
    search->addWidget(bb_felttorol);

    dbg_lista = new DBGrid(left);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->setAccessibleName(QStringLiteral("Oktatók"));
    dbg_lista->addColumn(KeyField, QStringLiteral("id"), false, 40);
    dbg_lista->addColumn(QStringLiteral("oktato_nev"), QStringLiteral("név"), true, 220);
    dbg_lista->addColumn(QStringLiteral("oktato_kod"), QStringLiteral("kód"), true, 90).alignment = Qt::AlignCenter;
    WireGridServices(dbg_lista);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(p_kereso);
    leftLayout->addWidget(dbg_lista, 1);

    // Right: the teacher's fields and offerings.
    auto *right = new QWidget(split);
    e_nev = new QLineEdit(right);
    e_nev->setObjectName(QStringLiteral("e_nev"));
    SetHelpKeyword(e_nev, QStringLiteral("k_név"));
    e_kod = new QLineEdit(right);
    e_kod->setObjectName(QStringLiteral("e_kod"));
    SetHelpKeyword(e_kod, QStringLiteral("k_kód"));
    e_jelszo = new QLineEdit(right);
    e_jelszo->setObjectName(QStringLiteral("e_jelszo"));
    e_jelszo->setEchoMode(QLineEdit::Password);
    vdc_tantargy = new TVDCComboBox(right);
    vdc_tantargy->setObjectName(QStringLiteral("vdc_tantargy"));
    vdc_tantargy->ADOQuery = &UPDATEQuery;
    sb_felvesz = iconButton(right, "sb_felvesz", QStringLiteral("Tantárgy hozzáadása"), QStyle::SP_ArrowDown);
    sb_torles = iconButton(right, "sb_torles", QStringLiteral("Kijelölt tantárgy törlése az adott oktatótól."),
                           QStyle::SP_TrashIcon);
    dbg_tantargy = new DBGrid(right);
    dbg_tantargy->setObjectName(QStringLiteral("dbg_tantargy"));
    dbg_tantargy->setDataset(&Tantargy);
    dbg_tantargy->setAccessibleName(QStringLiteral("Az oktató tantárgyai"));
    dbg_tantargy->addColumn(QStringLiteral("ft_id"), QStringLiteral("id"), false, 40);
    dbg_tantargy->addColumn(QStringLiteral("tantargy"), QStringLiteral("tantárgy"), true, 200);
    dbg_tantargy->addColumn(QStringLiteral("kurzus"), QStringLiteral("kurzus"), true, 90);
    dbg_tantargy->addColumn(QStringLiteral("forma"), QStringLiteral("forma"), true, 90);
    WireGridServices(dbg_tantargy);

    auto *fields = new QGridLayout;
    AddLabelledField(fields, 0, 0, QStringLiteral("Név"), e_nev, 3);
    AddLabelledField(fields, 1, 0, QStringLiteral("Kód"), e_kod, 3);
    AddLabelledField(fields, 2, 0, QStringLiteral("Jelszó"), e_jelszo, 3);
    AddLabelledField(fields, 3, 0, QStringLiteral("Tantárgy"), vdc_tantargy);
    fields->addWidget(sb_felvesz, 3, 2);
    fields->addWidget(sb_torles, 3, 3);
    fields->setColumnStretch(1, 1);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(fields);
    rightLayout->addWidget(dbg_tantargy, 1);
    split->addWidget(left);
    split->addWidget(right);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    auto *layout = new QVBoxLayout(p_Adatok);
    layout->addWidget(split, 1);

    sb_rendben = iconButton(p_Vezerlosav, "sb_rendben", QStringLiteral("Rendben"), QStyle::SP_DialogApplyButton);
    sb_rendben->setIconSize(QSize(28, 28));
    if (auto *bar = qobject_cast<QHBoxLayout *>(p_Vezerlosav->layout()))
        bar->insertWidget(bar->indexOf(bb_kilepes), sb_rendben);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_Oktatok::SZURESAfterScroll);
    connect(&Tantargy, &Dataset::afterScroll, this, &Tform_Oktatok::TantargyAfterScroll);
    ConnectGuarded(sb_rendben, &QToolButton::clicked, this, [this] { sb_rendbenClick(); });
    ConnectGuarded(sb_felvesz, &QToolButton::clicked, this, [this] { sb_felveszClick(); });
    ConnectGuarded(sb_torles, &QToolButton::clicked, this, [this] { sb_torlesClick(); });
    ConnectGuarded(e_keres, &QLineEdit::textEdited, this, [this] { e_keresChange(); });
    ConnectGuarded(bb_felttorol, &QPushButton::clicked, this, [this] { e_keres->setReadOnly(false); });
}

Tform_Oktatok::~Tform_Oktatok()
{
    if (form_Oktatok == this)
        form_Oktatok = nullptr;
}

void Tform_Oktatok::showSearch()
{
    p_kereso->show();
    e_keres->setReadOnly(false);
}

void Tform_Oktatok::FormShow()
{
    TAlap_Form::FormShow();
    LoadGridLayout(dbg_lista);
    LoadGridLayout(dbg_tantargy);
    vdc_tantargy->Lekerdezes = OfferingChoiceStatement(LoginInfo.FacultyId);
    vdc_tantargy->Feltoltes();
    SZURES.setSql(QStringLiteral("Select a.oktato_id, a.felh_id, a.oktato_kod, a.oktato_nev From oktato a "
                                 "Order By a.oktato_nev"));
    SZURES.open();
    showSearch();
}

bool Tform_Oktatok::FormClose()
{
    if (!TAlap_Form::FormClose())
        return false;
    SaveGridLayout(dbg_lista);
    SaveGridLayout(dbg_tantargy);
    // A picker hands a teacher back only when one was confirmed.
    if (!m_confirmed)
        CurrentTeacherId.clear();
    return true;
}

void Tform_Oktatok::reopenOfferings()
{
    Tantargy.close();
    Tantargy.setSql(QStringLiteral(
        "Select b.oktato_id, a.ft_id, (Select x.tantargy_nev From tantargy x Where x.tantargy_id=a.tantargy_id) as "
        "tantargy, (Select x.kurzus_nev From kurzus x Where x.kurzus_id=a.kurzus_id) as kurzus, (Select x.nyelv_nev "
        "From nyelv x Where x.nyelv_id=a.nyelv_id) as nyelv, (Select x.felev_nev From felev x Where "
        "x.felev_id=a.felev_id) as felev, (Select x.tof_nev From tanora_forma x Where x.tof_id=a.tof_id) as forma "
        "From felvett_tantargy a, tan_okt b Where a.ft_id=b.ft_id and b.oktato_id=:OKT_ID"));
    Tantargy.setParam(QStringLiteral("OKT_ID"), CurrentTeacherId.trimmed().isEmpty() ? QVariant() : QVariant(CurrentTeacherId));
    Tantargy.open();
}

void Tform_Oktatok::SZURESAfterScroll()
{
    // While a new record is entered, moving the list leaves the typed fields and the current id.
    if (EditMode == EditState::New)
        return;
    e_jelszo->clear();
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        CurrentTeacherId.clear();
        CurrentUserId.clear();
        e_nev->clear();
        e_kod->clear();
    } else {
        CurrentTeacherId = SZURES.fieldByName(KeyField).asString();
        CurrentUserId = SZURES.fieldByName(QStringLiteral("felh_id")).asString();
        e_nev->setText(SZURES.fieldByName(QStringLiteral("oktato_nev")).asString());
        e_kod->setText(SZURES.fieldByName(QStringLiteral("oktato_kod")).asString());
    }
    reopenOfferings();
}

void Tform_Oktatok::TantargyAfterScroll()
{
    CurrentOfferingId = Tantargy.isActive() && !Tantargy.isEmpty() ? Tantargy.fieldByName(QStringLiteral("ft_id")).asString()
                                                                   : QString();
}

void Tform_Oktatok::e_keresChange()
{
    const QString text = e_keres->text();
    if (text.isEmpty())
        return;
    const QString id = FirstValue(UPDATEQuery,
                                  QStringLiteral("Select oktato_id From oktato Where oktato_nev like '%") + SqlQuoted(text)
                                      + QStringLiteral("%'"),
                                  KeyField);
    if (!id.isEmpty())
        SZURES.locate(KeyField, {id});
}

void Tform_Oktatok::e_kodExit()
{
    if (e_kod->text().size() > MaxCodeLength)
        InfoBox(QStringLiteral("A kód maximum 10 karakter lehet!)"));
}

bool Tform_Oktatok::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == e_kod && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            RunGuarded([this] { e_kodExit(); });
    }
    return TAlap_Form::eventFilter(watched, event);
}

void Tform_Oktatok::bb_felveszClick()
{
    const EditState mode = EditMode;
    // The account needs a login name and the teacher a name: nothing is written without them.
    if (mode != EditState::Browse) {
        const MissingField missing = FindMissingRequired(this);
        if (missing.control) {
            InfoBox(QStringLiteral("A(z) ") + TrimBlanks(missing.name) + QStringLiteral(" megadása kötelező!"));
            missing.control->setFocus();
            throw SilentAbort();
        }
    }
    const QString password = e_jelszo->text();
    const QString stored = password.isEmpty() ? QString() : QString::number(PasswordHash(password));
    if (loginNameTaken(mode, stored))
        return;
    QStringList account;
    if (!stored.isEmpty())
        account << QStringLiteral("felh_jelszo=") + stored;
    account << QStringLiteral("felh_nev=") + e_kod->text() << QStringLiteral("felh_teljes=") + e_nev->text();
    if (mode == EditState::New) {
        QString userId;
        InsertRecord(QStringLiteral("felhasznalo"),
                     QStringList{QStringLiteral("felh_aktiv=1")} + account
                         + QStringList{QStringLiteral("szerep_id=") + TeacherRole},
                     true, userId);
        CurrentUserId = userId;
        QString teacherId;
        InsertRecord(QStringLiteral("oktato"),
                     {QStringLiteral("felh_id=") + CurrentUserId, QStringLiteral("oktato_kod=") + e_kod->text(),
                      QStringLiteral("oktato_nev=") + e_nev->text()},
                     true, teacherId);
        CurrentTeacherId = teacherId;
    } else if (mode == EditState::Modify) {
        // A teacher without a login account keeps having none.
        if (!CurrentUserId.trimmed().isEmpty())
            UpdateRecord(QStringLiteral("felhasznalo"), account, QStringLiteral("felh_id=") + SqlId(CurrentUserId));
        if (!CurrentTeacherId.trimmed().isEmpty())
            UpdateRecord(QStringLiteral("oktato"),
                         {QStringLiteral("oktato_kod=") + e_kod->text(), QStringLiteral("oktato_nev=") + e_nev->text()},
                         QStringLiteral("oktato_id=") + SqlId(CurrentTeacherId));
    }
    const QString id = CurrentTeacherId;
    TAlap_Form::bb_felveszClick();
    showSearch();
    ReopenAndLocate(SZURES, id, KeyField);
}

bool Tform_Oktatok::loginNameTaken(EditState mode, const QString &storedPassword)
{
    const QString login = QStringLiteral("felh_nev='") + SqlQuoted(e_kod->text().trimmed()) + u'\'';
    auto count = [this](const QString &condition) {
        return FirstValue(UPDATEQuery, QStringLiteral("Select Count(*) as DB From felhasznalo Where ") + condition,
                          QStringLiteral("DB"))
            .toInt();
    };
    bool taken = false;
    if (mode == EditState::New) {
        // The account the save would reuse (the users window made it for this teacher) is not a clash.
        QString reusable = login + QStringLiteral(" and felh_aktiv=1 and felh_teljes='") + SqlQuoted(e_nev->text().trimmed())
                           + QStringLiteral("' and szerep_id=") + TeacherRole;
        if (!storedPassword.isEmpty())
            reusable += QStringLiteral(" and felh_jelszo=") + storedPassword;
        taken = count(login) > 0 && count(reusable) == 0;
    } else if (mode == EditState::Modify && !CurrentUserId.trimmed().isEmpty()) {
        taken = count(login + QStringLiteral(" and felh_id<>") + SqlId(CurrentUserId)) > 0;
    }
    if (taken) {
        InfoBox(QStringLiteral("A(z) ") + e_kod->text().trimmed() + QStringLiteral(" belépő név már foglalt!"));
        e_kod->setFocus();
    }
    return taken;
}

void Tform_Oktatok::bb_ujClick()
{
    TAlap_Form::bb_ujClick();
    p_kereso->hide();
    e_nev->setFocus();
}

void Tform_Oktatok::bb_modositClick()
{
    TAlap_Form::bb_modositClick();
    p_kereso->hide();
    e_nev->setFocus();
}

void Tform_Oktatok::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    showSearch();
    ReopenAndLocate(SZURES, CurrentTeacherId, KeyField);
}

void Tform_Oktatok::bb_torolClick()
{
    // A new teacher not yet saved is only discarded.
    const bool wasNew = EditMode == EditState::New;
    TAlap_Form::bb_torolClick();
    if (!wasNew && SZURES.isActive() && !SZURES.isEmpty() && !CurrentTeacherId.isEmpty()
        && ConfirmBox(QStringLiteral("Biztos törli az oktatót?"))) {
        try {
            DeleteRecord(QStringLiteral("oktato"), QStringLiteral("oktato_id=") + SqlId(CurrentTeacherId));
        } catch (const DbError &) {
            InfoBox(QStringLiteral("A felhasználó adatkapcsolatok miatt nem törölhető!"));
        }
    }
    showSearch();
    ReopenAndLocate(SZURES, CurrentTeacherId, KeyField);
}

void Tform_Oktatok::sb_rendbenClick()
{
    CurrentTeacherId = SZURES.isActive() && !SZURES.isEmpty() ? SZURES.fieldByName(KeyField).asString() : QString();
    m_confirmed = true;
    if (!close())
        m_confirmed = false;
}

void Tform_Oktatok::sb_felveszClick()
{
    // Nothing chosen, no teacher, or a new teacher not saved yet: nothing to assign.
    const QString offering = vdc_tantargy->Eredmeny();
    if (EditMode == EditState::New || !SZURES.isActive() || SZURES.isEmpty() || CurrentTeacherId.isEmpty()
        || IsNullFieldValue(offering))
        return;
    QString newId;
    InsertRecord(QStringLiteral("tan_okt"),
                 {QStringLiteral("oktato_id=") + CurrentTeacherId, QStringLiteral("ft_id=") + offering}, true, newId);
    reopenOfferings();
}

void Tform_Oktatok::sb_torlesClick()
{
    if (EditMode == EditState::New || !Tantargy.isActive() || Tantargy.isEmpty() || CurrentOfferingId.isEmpty())
        return;
    DeleteRecord(QStringLiteral("tan_okt"), QStringLiteral("ft_id=") + SqlId(CurrentOfferingId)
                                                + QStringLiteral(" and oktato_id=") + SqlId(CurrentTeacherId));
    reopenOfferings();
}
