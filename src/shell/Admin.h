#pragma once
// The administration menu: a column of buttons opening the master data and timetable windows.

#include <QDialog>

class QToolButton;

class Tform_Admin : public QDialog {
    Q_OBJECT
public:
    explicit Tform_Admin(QWidget *parent = nullptr);

    QToolButton *sb_leltarszures;
    QToolButton *sb_felhasznalok;
    QToolButton *sb_oktatok;
    QToolButton *SpeedButton2;
    QToolButton *sb_hallgato;
    QToolButton *sb_tanorahallgato;
    QToolButton *sb_tanoraoktato;
    QToolButton *sb_felev;
    QToolButton *sb_tanszek;
    QToolButton *SpeedButton1; // closes the menu

    static QString WindowOf(const QString &buttonName);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QToolButton *addButton(const char *name, const QString &caption, const QString &hint);
};
