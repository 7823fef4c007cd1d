#include "VDCComboBox.h"

#include "Dataset.h"
#include "Guard.h"

#include <QLineEdit>

TVDCComboBox::TVDCComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCurrentIndex(-1);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TVDCComboBox::userEdited);
}

void TVDCComboBox::Feltoltes()
{
    if (!ADOQuery)
        throw KovraError(objectName() + QStringLiteral(": nincs lekérdezés megadva."));
    Dataset &q = *ADOQuery;
    q.close();
    if (!Lekerdezes.isEmpty())
        q.setSql(Lekerdezes);
    else if (!NevMezo.isEmpty() && !IDMezo.isEmpty() && !TablaNev.isEmpty())
        q.setSql(QStringLiteral("Select ") + NevMezo + QStringLiteral(" as NEV, ") + IDMezo + QStringLiteral(" as ID from ")
                 + TablaNev + QStringLiteral(" order by ") + NevMezo);
    q.open();
    clear();
    m_ids.clear();
    m_loaded = true;
    while (!q.eof()) {
        const QString name = q.fieldByName(QStringLiteral("NEV")).asString();
        const QString id = q.fieldByName(QStringLiteral("ID")).asString();
        addItem(name);
        m_ids << id;
        q.next();
    }
    q.close();
    setCurrentIndex(-1);
}

QString TVDCComboBox::Eredmeny() const
{
    const int i = currentIndex();
    if (!m_loaded || i < 0 || i >= m_ids.size())
        return QStringLiteral("null");
    return m_ids[i];
}

void TVDCComboBox::Ertek(const QString &id)
{
    setCurrentIndex(-1);
    const int n = std::min(count(), int(m_ids.size()));
    for (int i = 0; i < n; ++i) {
        if (m_ids[i] == id) {
            setCurrentIndex(i);
            return;
        }
    }
}

void TVDCComboBox::clearChoice()
{
    setCurrentIndex(-1);
    setEditText(QString());
}

void TVDCComboBox::userEdited(const QString &text)
{
    // Typed text chooses the item it names; text that names none leaves no choice.
    const int i = text.isEmpty() ? -1 : findText(text, Qt::MatchFixedString);
    if (i == currentIndex())
        return;
    const int caret = lineEdit()->cursorPosition();
    setCurrentIndex(i);
    if (i < 0) {
        lineEdit()->setText(text);
        lineEdit()->setCursorPosition(caret);
    }
}
