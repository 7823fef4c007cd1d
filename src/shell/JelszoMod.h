#pragma once
// Password change of the logged-in user.

#include "Connection.h"
#include "Dataset.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

class Tform_JelszoMod : public QDialog {
    Q_OBJECT
public:
    explicit Tform_JelszoMod(QWidget *parent = nullptr);

    QLineEdit *Eredeti;
    QLineEdit *Jelszo;
    QLineEdit *Jelszo2;
    QPushButton *Belepes;  // "Módosítás"
    QPushButton *Kilepes;
    Dataset felh;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void editChange();
    void BelepesClick();
};
