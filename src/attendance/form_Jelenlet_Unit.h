#pragma once
// The attendance capture window: a reader types one student code per line into the code list;
// "Felvesz" runs the capture of the chosen lesson and shows the lesson's attendance matrix.

#include "Alap_Form_Unit.h"
#include "CaptureRun.h"
#include "ScanLookup.h"

#include <QElapsedTimer>
#include <QStringList>

class DBGrid;
class MaskEdit;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTimer;
class QToolButton;
class TRadioGroup;
class TSpinButton;
class TVDCComboBox;

class Tform_Jelenlet : public TAlap_Form {
    Q_OBJECT
public:
    explicit Tform_Jelenlet(QWidget *parent = nullptr);
    ~Tform_Jelenlet() override;

    MaskEdit *bi_datum;
    TVDCComboBox *vdc_felev;
    TVDCComboBox *vdc_orarend;
    QPlainTextEdit *m_jelenlet = nullptr;
    QLabel *l_szam;
    TRadioGroup *rg_mi;
    QLabel *l_datum;
    QLabel *l_hanyadik;
    QLabel *l_ido;
    QLabel *l_letszam;
    QLabel *l_betu;
    TSpinButton *SpinButton1;
    QLabel *l_numlock;
    QLabel *p_uzenet;
    QToolButton *sb_be;
    QPlainTextEdit *m_kulso;
    QPushButton *bb_lista;
    QProgressBar *pb_adat;
    QTimer *Timer1;
    DBGrid *dbg_lista;
    // What the last code read is: the student and whether enrolled in the chosen lesson.
    QLabel *l_olvasas;
    Dataset keres, lekerdez, ellenor;

    void FormShow() override;
    void bb_ujClick() override;
    void bb_felveszClick() override;
    void bb_megsemClick() override;
    void bb_torolClick() override;
    void sb_kilepClick() override;

    void bi_datumExit();
    void vdc_felevChange();
    // moveOn: the focus goes on to the code list (not after a step of the arrow keys).
    void vdc_orarendChange(bool moveOn = true);
    void rg_miClick();
    void sb_beClick();
    void dbg_listaDblClick();
    void DaySummary();

    // The code list as lines (a final line break adds no empty line).
    QStringList codeLines() const;
    // Shows the lines, each ended by a line break, the caret after them: the next code starts on a
    // line of its own.
    void setCodeLines(const QStringList &lines);
    // Adds codes at the end of the list and leaves the caret on the empty line after them.
    void appendCodes(const QStringList &codes);
    // The backup of the code list; its folder is the user's application data folder.
    static QString BackupFilePath();
    void SaveBackup() const;

    // Waits between reconnection attempts of the capture run (tests replace it).
    std::function<void(int ms)> connectionWait;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setFontSize(int size);
    void hideDateColumns();
    void enterReleased();
    bool checkConnection();
    void loadBackup();
    void caretToNewLine();
    void scanRead(const QString &code);
    void showScan();

    bool m_makeUp = false; // the chosen lesson accepts make-ups
    QElapsedTimer m_repainted;
    CaptureRun m_run;
    ScanLookup m_scan;
    QString m_pendingScan; // the latest code waiting for its lookup
    QString m_checkedDate; // the date text the last leaving of bi_datum accepted
    bool m_scanQueued = false;
};

extern Tform_Jelenlet *form_Jelenlet;

// Reads codes from an export: the first double-quoted field of every line, commas removed. Lines
// without a double quote are skipped.
QStringList ImportCodeLines(const QString &text);
