#pragma once
// The main window's faculty selector: an editable combo filled from a statement with the columns
// ID and NEV, run on a given query; the window works with the id of the chosen item.

#include <QComboBox>
#include <QStringList>

class Dataset;

class TFacultySelector : public QComboBox {
    Q_OBJECT
public:
    explicit TFacultySelector(QWidget *parent = nullptr);

    QString Lekerdezes;
    Dataset *ADOQuery = nullptr;

    // Loads the items; any earlier selection is lost.
    void Feltoltes();
    // The id text of the selected item, "null" when none is selected.
    QString Eredmeny() const;
    // Selects the first item with that id text; none when no item has it.
    void Ertek(const QString &id);

private:
    QStringList m_ids;
};
