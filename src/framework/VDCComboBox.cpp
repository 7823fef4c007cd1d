#include "VDCComboBox.h"

#include "Dataset.h"
#include "Guard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

TVDCComboBox::TVDCComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCurrentIndex(-1);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TVDCComboBox::userEdited);
    connect(this, &QComboBox::activated, this, [this] { commit(m_stepping ? Change::Stepped : Change::Chosen); });
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
    m_known = Eredmeny();
    m_typing = false;
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
            break;
        }
    }
    m_known = Eredmeny();
    m_typing = false;
}

void TVDCComboBox::clearChoice()
{
    setCurrentIndex(-1);
    setEditText(QString());
    m_known = Eredmeny();
    m_typing = false;
}

void TVDCComboBox::clearByUser()
{
    noteKnownValue();
    setCurrentIndex(-1);
    setEditText(QString());
    commit(Change::Typed);
}

void TVDCComboBox::noteKnownValue()
{
    if (!m_typing)
        m_known = Eredmeny();
}

void TVDCComboBox::commit(Change how)
{
    m_typing = false;
    const QString now = Eredmeny();
    // A pick from the list is a choice even of the item shown; a step or a typed text only when
    // it changes the id.
    if (now == m_known && how != Change::Chosen)
        return;
    m_known = now;
    emit valueChanged(how);
}

void TVDCComboBox::keyPressEvent(QKeyEvent *event)
{
    noteKnownValue();
    const int key = event->key();
    const bool step = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown
                      || ((key == Qt::Key_Home || key == Qt::Key_End) && !lineEdit());
    m_stepping = step && !(event->modifiers() & Qt::AltModifier);
    QComboBox::keyPressEvent(event);
    m_stepping = false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        commit(Change::Typed);
}

void TVDCComboBox::wheelEvent(QWheelEvent *event)
{
    noteKnownValue();
    m_stepping = true;
    QComboBox::wheelEvent(event);
    m_stepping = false;
}

void TVDCComboBox::focusInEvent(QFocusEvent *event)
{
    noteKnownValue();
    QComboBox::focusInEvent(event);
}

void TVDCComboBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    // Typed text is accepted on leaving the field; the opened list, another window coming to the
    // front or this window closing is no leaving.
    const Qt::FocusReason reason = event->reason();
    if (m_typing && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && window()->isVisible())
        commit(Change::Typed);
}

void TVDCComboBox::showPopup()
{
    noteKnownValue();
    QComboBox::showPopup();
}

void TVDCComboBox::userEdited(const QString &text)
{
    // Typed text chooses the item it names; text that names none leaves no choice.
    const int i = text.isEmpty() ? -1 : findText(text, Qt::MatchFixedString);
    if (i == currentIndex())
        return;
    const int caret = lineEdit()->cursorPosition();
    noteKnownValue();
    m_typing = true;
    setCurrentIndex(i);
    if (i < 0) {
        lineEdit()->setText(text);
        lineEdit()->setCursorPosition(caret);
    }
}
