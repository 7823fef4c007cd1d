#pragma once
// The error report window "Hiba": apology, the user's description, copy (encoded) to the
// clipboard, send by mail, close. One instance, reused for every report of the run.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TErrorCapture;

class Tform_Hibakezeles : public QDialog {
    Q_OBJECT
public:
    explicit Tform_Hibakezeles(QWidget *parent = nullptr);

    // Adds the two lines of a new report to the description.
    void appendFacts(const QString &className, const QString &message);
    // The report text with the user's description after "A hiba leírása:" (one line).
    QString describedReport() const;

    QPlainTextEdit *memo_Uzenet;
    QPlainTextEdit *memo_Leiras;
    QPushButton *BitBtn2; // "Másolás vágólapra"
    QPushButton *bb_kuld; // "Küldés e-mailben"
    QPushButton *BitBtn1; // "Bezárás"

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BitBtn2Click();
    void bb_kuldClick();
};

// The report window's fixed recipient of error mails.
QString ErrorReportRecipient();
