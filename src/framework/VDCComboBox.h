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

    const QStringList &ids() const { return m_ids; }
    bool isLoaded() const { return m_loaded; }

private:
    void userEdited(const QString &text);

    QStringList m_ids; // parallel to the items
    bool m_loaded = false;
};
