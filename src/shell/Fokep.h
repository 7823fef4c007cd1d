#pragma once
// The main window: banner, the eight buttons of the work areas (enabled by role and by which
// windows exist), the login's user, database and faculty, the version, and for role 1 the faculty
// selector. Owns the focus highlight of the whole program.

#include <QWidget>

class QLabel;
class QToolButton;
class TFocusHighlight;
class TVDCComboBox;

class Tform_Fokep : public QWidget {
    Q_OBJECT
public:
    explicit Tform_Fokep(QWidget *parent = nullptr);
    ~Tform_Fokep() override;

    QToolButton *sb_felev;
    QToolButton *sb_orarend;
    QToolButton *sb_admin;
    QToolButton *sb_jelenlet;
    QToolButton *sb_kartya;
    QToolButton *sb_jelszo;
    QToolButton *sb_hiba;
    QToolButton *SpeedButton1;
    QLabel *l_felh;
    QLabel *l_db;
    QLabel *l_kar;
    QLabel *l_verzio;
    TVDCComboBox *vdc_kar;

    TFocusHighlight *focusHighlight() const { return m_highlight; }

    // The window each button opens.
    static QString WindowOf(const QString &buttonName);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void applyRoles();
    void vdc_karChange();
    QToolButton *addButton(const char *name, const QString &caption, const QString &hint, const char *glyph);

    TFocusHighlight *m_highlight;
    QString m_chosenFaculty; // id of the faculty last chosen in vdc_kar
};

// The one main window of the process (nullptr before it is created).
extern Tform_Fokep *form_Fokep;
