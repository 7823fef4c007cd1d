#include "Alap_Form_Unit.h"

#include "Adatmodul.h"
#include "Calendar.h"
#include "Controls.h"
#include "DBGrid.h"
#include "FormFrame.h"
#include "Guard.h"
#include "Messages.h"
#include "TextUtils.h"
#include "VDCComboBox.h"
#include "XML_AblakLeiras.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

QString MissingFieldLabel;

// ---- field services

QColor EditStateColor(int state)
{
    switch (state) {
    case 1: return colors::NewRecord;
    case 2: return colors::Modify;
    case 22: return colors::MoneyGreen;
    default: return colors::Browse;
    }
}

namespace {

// Removes a trailing sort marker (" >" or " <") from a title.
QString withoutSortMarker(const QString &title)
{
    if (title.endsWith(QLatin1String(" >")) || title.endsWith(QLatin1String(" <")))
        return title.left(title.size() - 2);
    return title;
}

void clearCombo(QComboBox *c)
{
    if (auto *v = qobject_cast<TVDCComboBox *>(c)) {
        v->setCurrentIndex(-1);
        v->Ertek(QString());
        v->setEditText(QString());
        return;
    }
    c->setCurrentIndex(-1);
    if (c->isEditable())
        c->setEditText(QString());
}

} // namespace

void ClearFields(QWidget *container)
{
    ForEachControl(container, [](QWidget *w, ControlKind kind, const QString &) {
        switch (kind) {
        case ControlKind::Edit: static_cast<QLineEdit *>(w)->clear(); break;
        case ControlKind::MaskEdit: static_cast<MaskEdit *>(w)->clearMasked(); break;
        case ControlKind::CheckBox: static_cast<QCheckBox *>(w)->setChecked(false); break;
        case ControlKind::Combo: clearCombo(static_cast<QComboBox *>(w)); break;
        case ControlKind::DateTimePicker: {
            auto *p = static_cast<TDateTimePicker *>(w);
            const int tag = Tag(p);
            if (tag != 0)
                p->setDateTime(QDateTime(QDate(1899, 12, 30).addDays(tag), QTime(0, 0)));
            else
                p->setDateTime(QDateTime::currentDateTime());
            p->setChecked(false);
            break;
        }
        case ControlKind::RadioGroup: static_cast<TRadioGroup *>(w)->setItemIndex(-1); break;
        case ControlKind::Memo: static_cast<QPlainTextEdit *>(w)->clear(); break;
        case ControlKind::CheckListBox: {
            auto *l = static_cast<TCheckListBox *>(w);
            for (int i = 0; i < l->count(); ++i)
                l->setChecked(i, false);
            break;
        }
        case ControlKind::DataGrid: {
            auto *g = static_cast<DBGrid *>(w);
            for (int i = 0; i < g->columnCount(); ++i) {
                g->setTitleColor(i, colors::MoneyGreen);
                g->setTitle(i, withoutSortMarker(g->column(i).title));
            }
            break;
        }
        default: break;
        }
    });
}

void SetEditState(QWidget *container, int state)
{
    const QColor stateColor = EditStateColor(state);
    ForEachControl(container, [&](QWidget *w, ControlKind kind, const QString &) {
        QColor color = stateColor;
        if (state != 0) {
            const QString keyword = HelpKeyword(w);
            if (IsRequiredKeyword(keyword))
                color = colors::Required;
            else if (IsNeverEditableKeyword(keyword))
                color = colors::NeverEditable;
        }
        const bool browse = state == 0;
        // "as in 3": the colour, unless the control already has the never-editable colour.
        auto colourUnlessNever = [&] {
            if (ControlColor(w) != colors::NeverEditable)
                SetControlColor(w, color);
        };
        switch (kind) {
        case ControlKind::Edit: {
            SetControlColor(w, color);
            static_cast<QLineEdit *>(w)->setReadOnly(color == colors::NeverEditable || browse);
            break;
        }
        case ControlKind::MaskEdit:
            static_cast<QLineEdit *>(w)->setReadOnly(browse);
            colourUnlessNever();
            break;
        case ControlKind::Memo:
            static_cast<QPlainTextEdit *>(w)->setReadOnly(browse);
            colourUnlessNever();
            break;
        case ControlKind::RichEdit:
            static_cast<QTextEdit *>(w)->setReadOnly(browse);
            colourUnlessNever();
            break;
        case ControlKind::SpinEdit:
            static_cast<QAbstractSpinBox *>(w)->setReadOnly(browse);
            colourUnlessNever();
            break;
        case ControlKind::CheckListBox:
            w->setEnabled(!browse);
            colourUnlessNever();
            break;
        case ControlKind::Combo:
        case ControlKind::StringGrid:
        case ControlKind::ListBox:
        case ControlKind::DateTimePicker:
        case ControlKind::DataGrid:
            colourUnlessNever();
            break;
        default: break;
        }
    });
}

MissingField FindMissingRequired(QWidget *window)
{
    MissingField result;
    ForEachControl(window, [&](QWidget *w, ControlKind kind, const QString &) {
        if (result.control)
            return;
        if (auto *v = qobject_cast<TVDCComboBox *>(w); v && v->currentText().isEmpty())
            v->Ertek(QStringLiteral("0"));
        const QString keyword = HelpKeyword(w);
        if (!IsRequiredKeyword(keyword))
            return;
        bool missing = false;
        switch (kind) {
        case ControlKind::Edit: missing = static_cast<QLineEdit *>(w)->text().isEmpty(); break;
        case ControlKind::Combo: missing = static_cast<QComboBox *>(w)->currentText().isEmpty(); break;
        case ControlKind::Memo: missing = static_cast<QPlainTextEdit *>(w)->toPlainText().isEmpty(); break;
        case ControlKind::MaskEdit: missing = MaskEditIsEmpty(static_cast<QLineEdit *>(w)); break;
        default: break;
        }
        if (missing) {
            result.control = w;
            result.name = keyword.mid(2) + u' ';
        }
    });
    return result;
}

bool IsDateMask(const QString &editMask)
{
    QString pattern = editMask.section(u';', 0, 0);
    pattern.remove(u'!');
    return pattern.startsWith(QLatin1String("9999/99/99"));
}

bool MaskEditIsEmpty(const QLineEdit *edit)
{
    if (edit->inputMask().isEmpty())
        return edit->text().isEmpty();
    // text() keeps the mask's literals and drops its blanks: an untouched field gives the literals alone.
    QLineEdit untouched;
    untouched.setInputMask(edit->inputMask());
    return edit->text() == untouched.text();
}

QWidget *FindBadDate(QWidget *window)
{
    QWidget *bad = nullptr;
    ForEachControl(window, [&](QWidget *w, ControlKind kind, const QString &) {
        if (bad || kind != ControlKind::MaskEdit)
            return;
        auto *edit = static_cast<MaskEdit *>(w);
        if (!IsDateMask(edit->editMask()) || MaskEditIsEmpty(edit))
            return;
        const QString text = edit->maskedText();
        // The calendar check reports a malformed text; a half-typed one ("2027.1 .  .") is no date either.
        if (!CheckDateText(text))
            bad = w;
        else if (!ParseDateText(text).isValid()) {
            InfoBox(QStringLiteral("Rossz dátum!"));
            bad = w;
        }
    });
    return bad;
}

QString ReopenAndLocate(Dataset &query, const QString &id, const QString &keyField)
{
    if (id.isEmpty())
        return QString();
    bool ok = false;
    const qint64 n = id.trimmed().toLongLong(&ok);
    if (!ok)
        throw KovraError(QStringLiteral("'%1' nem érvényes egész szám").arg(id));
    query.close();
    query.open();
    // Whole-value matches: a partial key means nothing for an integer key.
    for (const qint64 candidate : {n, n + 1, n - 1})
        if (query.locate(keyField, {QString::number(candidate)}))
            break;
    return QString::number(n);
}

void KeepListFreeWhileEditing(DBGrid *grid) { grid->setProperty("kovraListFree", true); }

void LetTabLeaveMemos(QWidget *window)
{
    for (QPlainTextEdit *m : window->findChildren<QPlainTextEdit *>())
        m->setTabChangesFocus(true);
    for (QTextEdit *m : window->findChildren<QTextEdit *>())
        m->setTabChangesFocus(true);
}

void NameViewsByBuddies(QWidget *window)
{
    for (QLabel *l : window->findChildren<QLabel *>())
        if (auto *view = qobject_cast<QAbstractItemView *>(l->buddy()); view && view->accessibleName().isEmpty())
            view->setAccessibleName(QString(l->text()).remove(QRegularExpression(QStringLiteral("&(?!&)"))));
}

// ---- TAlap_Form

namespace {

QPushButton *actionButton(QWidget *parent, const char *name, const QString &caption, QStyle::StandardPixmap icon)
{
    auto *b = CaptionButton(parent, name, caption, icon);
    SetBarButtonColour(b, QColor(0, 128, 0));
    b->setAutoDefault(false);
    return b;
}

QToolButton *speedButton(QWidget *parent, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    return ToolButton(parent, name, hint, icon);
}

} // namespace

TAlap_Form::TAlap_Form(QWidget *parent)
    : QDialog(parent),
      SZURES(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("SZURES"), this),
      UPDATEQuery(form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr, QStringLiteral("UPDATEQuery"), this)
{
    const FormFrame frame = BuildFormFrame(this);
    p_Adatok = frame.dataPanel;
    p_Vezerlosav = frame.controlBar;

    bb_felvesz = actionButton(p_Vezerlosav, "bb_felvesz", QStringLiteral("Felvesz"), QStyle::SP_DialogSaveButton);
    bb_uj = actionButton(p_Vezerlosav, "bb_uj", QStringLiteral("Új"), QStyle::SP_FileIcon);
    bb_modosit = actionButton(p_Vezerlosav, "bb_modosit", QStringLiteral("Módosít"), QStyle::SP_FileDialogDetailedView);
    bb_megsem = actionButton(p_Vezerlosav, "bb_megsem", QStringLiteral("Mégsem"), QStyle::SP_DialogCancelButton);
    bb_torol = actionButton(p_Vezerlosav, "bb_torol", QStringLiteral("Töröl"), QStyle::SP_TrashIcon);
    bb_kilepes = GlyphButton(p_Vezerlosav, "bb_kilepes", QStringLiteral("Kilépés"), QStyle::SP_DialogCloseButton);
    sb_nyomtat = speedButton(p_Vezerlosav, "sb_nyomtat", QStringLiteral("Nyomtat"), QStyle::SP_FileDialogContentsView);
    sb_email = speedButton(p_Vezerlosav, "sb_email", QStringLiteral("Szűrés"), QStyle::SP_FileDialogInfoView);
    sb_nyomtat->setEnabled(false);
    sb_nyomtat->hide();
    sb_email->setEnabled(false);
    sb_email->hide();

    QHBoxLayout *bar = frame.buttons;
    for (QPushButton *b : {bb_felvesz, bb_uj, bb_modosit, bb_megsem, bb_torol})
        bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(sb_email);
    bar->addWidget(sb_nyomtat);
    bar->addWidget(bb_kilepes);
    setTabOrder(bb_felvesz, bb_uj);

    ConnectGuarded(bb_felvesz, &QPushButton::clicked, this, [this] { runStateChange([this] { bb_felveszClick(); }, true); });
    ConnectGuarded(bb_uj, &QPushButton::clicked, this, [this] { runStateChange([this] { bb_ujClick(); }); });
    ConnectGuarded(bb_modosit, &QPushButton::clicked, this, [this] { runStateChange([this] { bb_modositClick(); }); });
    ConnectGuarded(bb_megsem, &QPushButton::clicked, this, [this] { runStateChange([this] { bb_megsemClick(); }); });
    ConnectGuarded(bb_torol, &QPushButton::clicked, this, [this] { runStateChange([this] { bb_torolClick(); }); });
    ConnectGuarded(bb_kilepes, &QPushButton::clicked, this, [this] { sb_kilepClick(); });

    qApp->installEventFilter(this);
}

TAlap_Form::~TAlap_Form() { qApp->removeEventFilter(this); }

void TAlap_Form::setBrowseButtons(bool browse)
{
    bb_felvesz->setEnabled(!browse);
    bb_uj->setEnabled(browse);
    bb_modosit->setEnabled(browse);
    bb_megsem->setEnabled(!browse);
    bb_torol->setEnabled(!browse);
}

namespace {

// A control that takes typing in its present state.
bool isEditableField(const QWidget *w)
{
    switch (KindOf(w)) {
    case ControlKind::Edit:
    case ControlKind::MaskEdit: return !static_cast<const QLineEdit *>(w)->isReadOnly();
    case ControlKind::Memo: return !static_cast<const QPlainTextEdit *>(w)->isReadOnly();
    case ControlKind::RichEdit: return !static_cast<const QTextEdit *>(w)->isReadOnly();
    case ControlKind::SpinEdit:
    case ControlKind::DateTimePicker: return !static_cast<const QAbstractSpinBox *>(w)->isReadOnly();
    case ControlKind::Combo:
    case ControlKind::CheckBox:
    case ControlKind::RadioGroup:
    case ControlKind::ListBox:
    case ControlKind::CheckListBox: return true;
    default: return false;
    }
}

bool takesFocus(const QWidget *w)
{
    return w->isVisibleTo(w->window()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
}

// The input control a focus widget stands for (the inner line edit of a combo box, a radio button of a group).
QWidget *controlOf(QWidget *w, const QWidget *panel)
{
    for (QWidget *c = w; c && c != panel; c = c->parentWidget())
        if (KindOf(c) != ControlKind::None && KindOf(c) != ControlKind::Frame && KindOf(c) != ControlKind::PageControl)
            return c;
    return nullptr;
}

} // namespace

QWidget *TAlap_Form::FirstEditableField() const
{
    const bool editing = bb_felvesz->isEnabled();
    QWidget *first = nullptr;
    // The focus chain is the tab order.
    for (QWidget *w = p_Adatok->nextInFocusChain(); w && w != p_Adatok; w = w->nextInFocusChain()) {
        if (!p_Adatok->isAncestorOf(w) || !takesFocus(w))
            continue;
        QWidget *control = controlOf(w, p_Adatok);
        if (!control)
            continue;
        if (editing ? isEditableField(control) : KindOf(control) != ControlKind::None) {
            first = w;
            break;
        }
    }
    return first;
}

void TAlap_Form::runStateChange(const std::function<void()> &handler, bool save)
{
    const QPointer<QWidget> before = focusWidget();
    const EditState mode = EditMode;
    const bool editing = bb_felvesz->isEnabled();
    if (save && editing) {
        // Dates are checked before the window's handler writes anything.
        if (QWidget *bad = FindBadDate(this)) {
            bad->setFocus();
            throw SilentAbort();
        }
    }
    try {
        handler();
    } catch (const SilentAbort &) {
        throw;
    } catch (...) {
        // A write refused by the database: back to the edit, the typed values stay for correcting.
        if (save && editing && mode != EditState::Browse && !bb_felvesz->isEnabled()) {
            EditMode = mode;
            setBrowseButtons(false);
            SetEditState(this, int(mode));
        }
        throw;
    }
    QWidget *now = focusWidget();
    if (now && now != before && now->window() == this && p_Adatok->isAncestorOf(now))
        return; // the handler chose its control
    if (QWidget *first = FirstEditableField())
        first->setFocus(Qt::OtherFocusReason);
}

void TAlap_Form::FormShow()
{
    TAlap_Form::bb_megsemClick();
    SZURES.close();
}

bool TAlap_Form::FormClose()
{
    if (!bb_felvesz->isEnabled())
        return true;
    if (!ConfirmBox(QStringLiteral("Elmentetlen adatok vannak az ablakon. Mégis kilépsz?")))
        return false;
    EditMode = EditState::Browse;
    return true;
}

void TAlap_Form::bb_felveszClick()
{
    MissingFieldLabel.clear();
    const MissingField missing = FindMissingRequired(this);
    if (missing.control) {
        MissingFieldLabel = missing.name;
        InfoBox(QStringLiteral("A(z) ") + TrimBlanks(missing.name) + QStringLiteral(" megadása kötelező!"));
        missing.control->setFocus();
        throw SilentAbort();
    }
    if (EditMode != EditState::Browse) {
        if (QWidget *bad = FindBadDate(this)) {
            bad->setFocus();
            throw SilentAbort();
        }
    }
    EditMode = EditState::Browse;
    setBrowseButtons(true);
    SetEditState(this, 0);
}

void TAlap_Form::bb_ujClick()
{
    EditMode = EditState::New;
    setBrowseButtons(false);
    ClearFields(this);
    SetEditState(this, 1);
}

void TAlap_Form::bb_modositClick()
{
    EditMode = EditState::Modify;
    setBrowseButtons(false);
    SetEditState(this, 2);
}

void TAlap_Form::bb_megsemClick()
{
    const bool wasNew = EditMode == EditState::New;
    EditMode = EditState::Browse;
    setBrowseButtons(true);
    if (wasNew)
        ClearFields(this);
    SetEditState(this, 0);
}

void TAlap_Form::bb_torolClick()
{
    EditMode = EditState::Browse;
    setBrowseButtons(true);
    ClearFields(this);
    SetEditState(this, 0);
}

void TAlap_Form::sb_kilepClick()
{
    m_closeResult = QDialog::Accepted;
    if (close()) {
        EditMode = EditState::Browse;
        OpenPositioned = 0;
    }
    m_closeResult = QDialog::Rejected;
}

void TAlap_Form::reject() { RunGuarded([this] { sb_kilepClick(); }); }

void TAlap_Form::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    LetTabLeaveMemos(this);
    NameViewsByBuddies(this);
    RunGuarded([this] { FormShow(); });
    for (DBGrid *grid : findChildren<DBGrid *>())
        if (grid->dataset() == &SZURES && !grid->property("kovraListFree").toBool())
            grid->setRowLock([this] { return bb_felvesz->isEnabled(); });
}

void TAlap_Form::closeEvent(QCloseEvent *event)
{
    bool allow = true;
    RunGuarded([&] { allow = FormClose(); });
    if (!allow) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::done(m_closeResult);
}

bool TAlap_Form::FormShortCut(QKeyEvent *event, QWidget *focus)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_S && mods == Qt::ControlModifier) {
        RunGuarded([this] { runStateChange([this] { bb_felveszClick(); }, true); });
        return true;
    }
    if (key == Qt::Key_F7 && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        RunGuarded([this] { SaveWindowValues(this, QString()); });
        return true;
    }
    if (key == Qt::Key_F8 && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
        RunGuarded([this] { LoadWindowValues(this, QString()); });
        return true;
    }
    if (!focus)
        return false;
    if (key == Qt::Key_Delete && mods == Qt::NoModifier) {
        if (auto *lookup = qobject_cast<TVDCComboBox *>(focus)) {
            lookup->clearByUser();
            return true;
        }
        if (auto *combo = qobject_cast<QComboBox *>(focus)) {
            combo->setCurrentIndex(-1);
            return true;
        }
        return false;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        const ControlKind kind = KindOf(focus);
        if (kind == ControlKind::Edit || kind == ControlKind::MaskEdit || kind == ControlKind::Combo
            || kind == ControlKind::DateTimePicker) {
            focusNextChild();
            return true;
        }
    }
    return false;
}

bool TAlap_Form::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || w->window() != this)
        return false;
    // The inner line edit of a combo box or date picker stands for its control.
    QWidget *focus = w;
    if (qobject_cast<QLineEdit *>(w) && w->parentWidget()
        && (qobject_cast<QComboBox *>(w->parentWidget()) || qobject_cast<QAbstractSpinBox *>(w->parentWidget())))
        focus = w->parentWidget();
    if (focus == this)
        focus = nullptr;
    return FormShortCut(static_cast<QKeyEvent *>(event), focus);
}
