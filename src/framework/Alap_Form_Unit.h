#pragma once
// The base record form TAlap_Form and the field services of every window: ClearFields,
// SetEditState, the required-field check and ReopenAndLocate.
//
// A derived window puts its controls into p_Adatok, marks required fields with the help keyword
// "k_<name>" and never-editable ones with "t_…" (SetHelpKeyword), and overrides the handlers,
// calling the base part as the contract of each handler says. The state machine, colouring,
// clearing, the check, the shortcuts and the close question are the base's.

#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"
#include "OpenWindow.h"

#include <QDialog>
#include <functional>

class DBGrid;
class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;

// Field services (containers are windows or frames; every control below them is treated).
void ClearFields(QWidget *container);
// state: 0 browse, 1 new, 2 modify, 22 filter window.
void SetEditState(QWidget *container, int state);
QColor EditStateColor(int state);

// The first required control (help keyword "k" or "k_…") that is missing, in creation order: an
// edit box, combo box or memo with empty text. Empty lookup combos are first offered the id "0".
struct MissingField {
    QWidget *control = nullptr;
    QString name; // the keyword without its first two characters, followed by one blank
};
MissingField FindMissingRequired(QWidget *window);
// Mask edits: a date mask ("9999/99/99…"), and whether nothing but the mask is in the field.
bool IsDateMask(const QString &editMask);
bool MaskEditIsEmpty(const QLineEdit *edit);
// The first date mask edit of the window whose text is not a date (an empty one passes): the
// calendar check has shown "Rossz dátum!". nullptr when every date is sound.
QWidget *FindBadDate(QWidget *window);
// The label of the missing field found by the last check of bb_felveszClick.
extern QString MissingFieldLabel;

// Reopens query and makes the row whose keyField equals id current, else id + 1, else id - 1
// (else the first row). Returns id; an empty id reopens nothing and returns "". A non-numeric id
// throws KovraError.
QString ReopenAndLocate(Dataset &query, const QString &id, const QString &keyField);

// While a record is edited the window's list (the grids over SZURES) keeps its current row: keys
// and clicks in it change nothing, so the typed values stay with the record being edited. A
// window whose list is used during editing (where a row change does not touch the edit) frees it
// with this before it is shown.
void KeepListFreeWhileEditing(DBGrid *grid);
// Tab and Shift+Tab leave the memos of window (their text takes no tab characters).
void LetTabLeaveMemos(QWidget *window);
// A list or table of window without a screen-reader name takes its buddy label's text.
void NameViewsByBuddies(QWidget *window);

class TAlap_Form : public QDialog {
    Q_OBJECT
public:
    explicit TAlap_Form(QWidget *parent = nullptr);
    ~TAlap_Form() override;

    QWidget *p_Adatok;
    QFrame *p_Vezerlosav;
    QPushButton *bb_felvesz;
    QPushButton *bb_uj;
    QPushButton *bb_modosit;
    QPushButton *bb_megsem;
    QPushButton *bb_torol;
    QPushButton *bb_kilepes;
    QToolButton *sb_nyomtat;
    QToolButton *sb_email;
    Dataset SZURES;       // the window's list
    Dataset UPDATEQuery;  // scratch: combo loads and single statements

    // Handlers; derived windows override them and call the base part.
    virtual void FormShow();
    // false keeps the window open.
    virtual bool FormClose();
    // true when the key was handled.
    virtual bool FormShortCut(QKeyEvent *event, QWidget *focus);
    virtual void bb_felveszClick();
    virtual void bb_ujClick();
    virtual void bb_modositClick();
    virtual void bb_megsemClick();
    virtual void bb_torolClick();
    virtual void sb_kilepClick();

    // The first control a state change leaves the focus on: in an edit the first editable field,
    // in browsing the first input control (the list), in tab order; nullptr when there is none.
    QWidget *FirstEditableField() const;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Esc: the exit button.
    void reject() override;
    // Buttons for browsing (true) or editing (false).
    void setBrowseButtons(bool browse);
    // Runs a state-changing handler: afterwards the focus is on the control the handler chose,
    // else on FirstEditableField(). A save that fails past the checks returns to the edit with
    // the typed values on screen.
    void runStateChange(const std::function<void()> &handler, bool save = false);

private:
    int m_closeResult = QDialog::Rejected;
};
