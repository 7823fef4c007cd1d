#pragma once
// The information window "Segítség": the user manual, the developers' contact and the reset of
// every remembered window position.

#include <QDialog>

class QLabel;
class QPushButton;

class Tform_Indito2 : public QDialog {
    Q_OBJECT
public:
    explicit Tform_Indito2(QWidget *parent = nullptr);

    QLabel *Label3; // "Dokumentáció"
    QLabel *Label1; // "KOVRA felhasználói leírás"
    QLabel *Label2; // developers' name and telephone numbers
    QLabel *Label4; // developers' mail address
    QPushButton *bb_ablak;

    // ManualPathFor the working directory and this executable's folder.
    static QString ManualPath();
    // "KOVRA.pdf" in workDir, else beside the executable, else in the documentation folder of an
    // installed package (exeDir/../share/doc/kovra); the one beside the executable when none exists.
    static QString ManualPathFor(const QString &workDir, const QString &exeDir);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openManual();
    void bb_ablakClick();
};

inline constexpr const char *DeveloperContact = "KOVRA fejlesztői csoport\nTel.: +36 1 555 0142, +36 30 555 0142";
