#include "form_OrarendDatum_Unit.h"

#include "Calendar.h"
#include "ContextMenu.h"
#include "Controls.h"
#include "DBGrid.h"
#include "Guard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "MonthCalendar.h"
#include "RecordOperations.h"
#include "SqlSplice.h"

#include <QAction>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

Tform_OrarendDatum *form_OrarendDatum = nullptr;

namespace {

const QString KeyField = QStringLiteral("od_id");

QToolButton *hintButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    return ToolButton(parent, name, hint, icon);
}

} // namespace

Tform_OrarendDatum::Tform_OrarendDatum(QWidget *parent) : TAlap_Form(parent)
{
    setObjectName(QStringLiteral("form_OrarendDatum"));
    setWindowTitle(QStringLiteral("Órarendi dátumok"));
    bb_kilepes->setAccessibleName(bb_kilepes->toolTip());
    resize(620, 400);

    p_naptar = new QLabel(p_Adatok);
    p_naptar->setObjectName(QStringLiteral("p_naptar"));
    p_naptar->setAlignment(Qt::AlignCenter);
    QFont captionFont = p_naptar->font();
    captionFont.setBold(true);
    p_naptar->setFont(captionFont);
    sb_eloho = hintButton(p_Adatok, "sb_eloho", QStringLiteral("Előző hónap"), QStyle::SP_ArrowLeft);
    sb_kovho = hintButton(p_Adatok, "sb_kovho", QStringLiteral("Következő hónap"), QStyle::SP_ArrowRight);
    sg_naptar = new TMonthCalendarGrid(p_Adatok);
    sg_naptar->setObjectName(QStringLiteral("sg_naptar"));
    sg_naptar->setAccessibleName(QStringLiteral("Naptár"));
    sb_felvesz = hintButton(p_Adatok, "sb_felvesz", QStringLiteral("A választott nap felvétele"), QStyle::SP_ArrowForward);
    sb_torol = hintButton(p_Adatok, "sb_torol", QStringLiteral("A kijelölt dátum törlése"), QStyle::SP_TrashIcon);
    dbg_datum = new DBGrid(p_Adatok);
    dbg_datum->setObjectName(QStringLiteral("dbg_datum"));
    dbg_datum->setAccessibleName(QStringLiteral("Dátumok"));
    dbg_datum->setDataset(&SZURES);
    dbg_datum->addColumn(QStringLiteral("datum"), QStringLiteral("dátum"), true, 110);
    pm_naptar = AddContextMenu(sg_naptar, QStringLiteral("pm_naptar"),
                               {{QStringLiteral("rls1"), QStringLiteral("Felvesz")}, {QStringLiteral("rls2"), QStringLiteral("Törlés")}});

    auto *head = new QHBoxLayout;
    head->addWidget(sb_eloho);
    head->addWidget(p_naptar, 1);
    head->addWidget(sb_kovho);
    auto *calendar = new QVBoxLayout;
    calendar->addLayout(head);
    calendar->addWidget(sg_naptar, 1);
    auto *middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(sb_felvesz);
    middle->addWidget(sb_torol);
    middle->addStretch(1);
    auto *layout = new QHBoxLayout(p_Adatok);
    layout->addLayout(calendar, 3);
    layout->addLayout(middle);
    layout->addWidget(dbg_datum, 2);

    connect(&SZURES, &Dataset::afterScroll, this, &Tform_OrarendDatum::SZURESAfterScroll);
    connect(sg_naptar, &TMonthCalendarGrid::monthShown, this, &Tform_OrarendDatum::showCaption);
    ConnectGuarded(sb_eloho, &QToolButton::clicked, this, [this] { sg_naptar->previousMonth(); });
    ConnectGuarded(sb_kovho, &QToolButton::clicked, this, [this] { sg_naptar->nextMonth(); });
    ConnectGuarded(sb_felvesz, &QToolButton::clicked, this, [this] { sb_felveszClick(); });
    ConnectGuarded(sb_torol, &QToolButton::clicked, this, [this] { sb_torolClick(); });
    // The calendar's double-click and menu run only the base form's save and delete steps.
    ConnectGuarded(sg_naptar, &QAbstractItemView::doubleClicked, this, [this] { TAlap_Form::bb_felveszClick(); });
    const QList<QAction *> items = pm_naptar->actions();
    if (items.size() == 2) {
        ConnectGuarded(items[0], &QAction::triggered, this, [this] { TAlap_Form::bb_felveszClick(); });
        ConnectGuarded(items[1], &QAction::triggered, this, [this] { TAlap_Form::bb_torolClick(); });
    }
    showCaption();
}

Tform_OrarendDatum::~Tform_OrarendDatum()
{
    if (form_OrarendDatum == this)
        form_OrarendDatum = nullptr;
}

void Tform_OrarendDatum::showCaption() { p_naptar->setText(sg_naptar->caption()); }

void Tform_OrarendDatum::reopenList(const QString &locateId)
{
    SZURES.close();
    SZURES.clearParams();
    SZURES.setSql(QStringLiteral("Select od_id, orarend_id, convert(varchar(10), od_datum, 102) as datum From "
                                 "orarend_datum Where orarend_id = :OR_ID Order By datum"));
    SZURES.setParam(QStringLiteral("OR_ID"), CurrentTimetableId);
    SZURES.open();
    if (!locateId.isEmpty())
        SZURES.locate(KeyField, {locateId});
    SZURESAfterScroll();
}

void Tform_OrarendDatum::FormShow()
{
    TAlap_Form::FormShow();
    reopenList(QString());
    const QDate today = QDate::currentDate();
    sg_naptar->showMonth(today.year(), today.month());
    sg_naptar->setFocus();
    sg_naptar->highlightCell(2, 2);
    if (OpenPositioned == 1)
        TAlap_Form::bb_ujClick();
}

void Tform_OrarendDatum::SZURESAfterScroll()
{
    if (!SZURES.isActive() || SZURES.isEmpty()) {
        m_dateId.clear();
        return;
    }
    m_dateId = SZURES.fieldByName(KeyField).asString();
}

void Tform_OrarendDatum::sb_felveszClick()
{
    if (CurrentTimetableId.isEmpty()) {
        InfoBox(QStringLiteral("Nincs órarend kiválasztva!"));
        return;
    }
    const int day = sg_naptar->chosenDay();
    if (day == 0) {
        InfoBox(QStringLiteral("Előbb válasszon egy napot a naptárban!"));
        return;
    }
    const QDate date(sg_naptar->year(), sg_naptar->month(), day);
    if (!date.isValid()) {
        // A day carried over from a longer month.
        InfoBox(QStringLiteral("%1 hónapban nincs %2. nap: válasszon egy napot a naptárban!").arg(sg_naptar->caption()).arg(day));
        return;
    }
    const QString compact = CompactDateText(date);
    if (!FirstValue(UPDATEQuery,
                    QStringLiteral("Select od_id From orarend_datum Where orarend_id=") + SqlId(CurrentTimetableId)
                        + QStringLiteral(" and od_datum='") + SqlQuoted(compact) + u'\'',
                    KeyField)
             .isEmpty()) {
        InfoBox(QStringLiteral("A(z) %1 dátum már szerepel az órarendben.").arg(date.toString(QStringLiteral("yyyy.MM.dd"))));
        return;
    }
    QString newId;
    InsertRecord(QStringLiteral("orarend_datum"),
                 {QStringLiteral("orarend_id=") + CurrentTimetableId, QStringLiteral("od_datum=") + compact}, true, newId);
    m_dateId = newId;
    reopenList(newId);
}

void Tform_OrarendDatum::sb_torolClick()
{
    if (!SZURES.isActive() || SZURES.isEmpty() || m_dateId.isEmpty())
        return;
    DeleteRecord(QStringLiteral("orarend_datum"), KeyField + u'=' + SqlId(m_dateId));
    reopenList(QString());
}
