#include "FacultySelector.h"

#include "Connection.h"
#include "Dataset.h"

TFacultySelector::TFacultySelector(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void TFacultySelector::Feltoltes()
{
    if (!ADOQuery)
        return;
    if (!Lekerdezes.isEmpty())
        ADOQuery->setSql(Lekerdezes);
    ADOQuery->close();
    ADOQuery->clearParams();
    ADOQuery->open();
    clear();
    m_ids.clear();
    for (ADOQuery->first(); !ADOQuery->eof(); ADOQuery->next()) {
        addItem(ADOQuery->fieldByName(QStringLiteral("NEV")).asString());
        m_ids << ADOQuery->fieldByName(QStringLiteral("ID")).asString();
    }
    ADOQuery->close();
    setCurrentIndex(-1);
}

QString TFacultySelector::Eredmeny() const
{
    const int i = currentIndex();
    return i >= 0 && i < m_ids.size() ? m_ids[i] : QStringLiteral("null");
}

void TFacultySelector::Ertek(const QString &id) { setCurrentIndex(int(m_ids.indexOf(id))); }
