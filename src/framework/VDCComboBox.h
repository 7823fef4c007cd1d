#pragma once
// The lookup combo box: items loaded from a statement with the columns ID and NEV; the user sees
// the names, the window reads and sets the choice by id.

#include <QComboBox>
#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"
#include <QPointer>
#include <QStringList>


class TVDCComboBox : public QComboBox {
    Q_OBJECT
public:
    // How the user changed the choice: from the opened list, by a step of the arrow keys or the
    // wheel (the focus stays), or by typed text accepted with Enter or on leaving the field.
    enum class Change { Chosen, Stepped, Typed };

    explicit TVDCComboBox(QWidget *parent = nullptr);

    QString Lekerdezes; // the statement; when set it wins over the three names below
    QPointer<Dataset> ADOQuery;
    QString IDMezo;
    QString NevMezo;
    QString TablaNev;

    // Loads the items; an earlier choice is lost. Database errors propagate.
    void Feltoltes();
    // The id of the chosen item, or "null" when none is chosen (never fails).
    QString Eredmeny() const;
    // Chooses the first item whose id equals id exactly; otherwise nothing stays chosen.
    void Ertek(const QString &id);
    // No choice and an empty text.
    void clearChoice();
    // The same as the user's Delete key: raises valueChanged when a choice was made.
    void clearByUser();
    void showPopup() override;

    const QStringList &ids() const { return m_ids; }
    bool isLoaded() const { return m_loaded; }

signals:
    // The user changed the chosen id (arrow keys, wheel, typed text accepted) or picked an item
    // from the opened list (also the one shown). Choices made by the program (Feltoltes, Ertek,
    // clearChoice) raise nothing.
    void valueChanged(TVDCComboBox::Change how);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void userEdited(const QString &text);
    // The value the windows know is the current one unless typed text is still waiting.
    void noteKnownValue();
    void commit(Change how);

    QStringList m_ids; // parallel to the items
    bool m_loaded = false;
    QString m_known = QStringLiteral("null"); // the id the windows were last told of or set
    bool m_typing = false;                    // typed text changed the choice, not yet accepted
    bool m_stepping = false;                  // inside a key or wheel step
};
