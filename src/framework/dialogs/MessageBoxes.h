#pragma once
// InfoBox and ConfirmBox as the program shows them: a borderless dark-red box with yellow bold
// text and glyph buttons, built fresh for every call, centred on the screen, modal.

#include "Messages.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class TMessageBox : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Info, Confirm };
    TMessageBox(Kind kind, const QString &text);

    Kind kind() const { return m_kind; }
    QFrame *panel = nullptr;
    QLabel *label = nullptr;          // "uzenet"
    QPushButton *okButton = nullptr;  // InfoBox: the only button; ConfirmBox: "Igen"
    QPushButton *noButton = nullptr;  // ConfirmBox: "Nem" (default and cancel); nullptr in InfoBox

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    Kind m_kind;
};

// The presenter behind InfoBox/ConfirmBox in the running program.
class TMessageBoxPresenter final : public MessagePresenter {
public:
    bool info(const QString &text) override;
    bool confirm(const QString &text) override;
};

// Installs the program's boxes as the message presenter (at start-up, after the application object).
void InstallMessageBoxes();
