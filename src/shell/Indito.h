#pragma once
// The login dialog: database choice, user name and password, the connection of kovra.ini, the
// login record. One attempt per program start; success closes it with LoginModalResult.

#include "Connection.h"
#include "Dataset.h"

#include <QDialog>
#include <QPoint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The only dialog result that lets the program go on.
inline constexpr int LoginModalResult = 38405126;

class Tform_Indito : public QDialog {
    Q_OBJECT
public:
    explicit Tform_Indito(QWidget *parent = nullptr);

    // The window outline in window pixels (alternate fill).
    static QPolygon Outline();
    // Current fade-in alpha (0 .. 220).
    int alpha() const { return m_alpha; }

    QLabel *l_kovra;
    QComboBox *cb_ab;
    QLineEdit *FNev;
    QLineEdit *FJelszo;
    QPushButton *Belepes;
    QPushButton *bb_kilep;
    QTimer *Timer1;
    Dataset felh;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateBelepes();
    void FNevExit();
    void BelepesClick();
    void Timer1Timer();

    int m_alpha = 0;
    QPoint m_dragOffset;
    bool m_capsWarned = false;
};
