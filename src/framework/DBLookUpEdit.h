#pragma once
// The type-ahead search edit over a dataset of the window: each released key locates the first
// row whose FieldName starts with the text (ignoring case), completes the text with the rest of
// that value when it begins with the typed text exactly, and remembers the row's Azonosito value.
// Arrow up and down move through the dataset.

#include <QLineEdit>
#include "Connection.h" // complete type for the dataset's connection pointer
#include "Dataset.h"
#include <QPointer>


class TDBLookUpEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBLookUpEdit(QWidget *parent = nullptr);

    QPointer<Dataset> DataSource;
    QString FieldName;
    QString Azonosito;
    QString Eredmeny;

    // The handler of a released key, by its Windows virtual key code.
    void handleKey(int virtualKey);

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
};
