#include "FocusHighlight.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolButton>

bool HasFieldColour(const QWidget *control)
{
    return qobject_cast<const QLineEdit *>(control) || qobject_cast<const QAbstractSpinBox *>(control)
           || qobject_cast<const QComboBox *>(control) || qobject_cast<const QPlainTextEdit *>(control)
           || qobject_cast<const QTextEdit *>(control) || qobject_cast<const QAbstractItemView *>(control);
}

QColor FieldColour(const QWidget *control)
{
    return HasFieldColour(control) ? control->palette().color(QPalette::Base) : QColor();
}

void SetFieldColour(QWidget *control, const QColor &colour)
{
    if (!HasFieldColour(control) || !colour.isValid())
        return;
    QPalette p = control->palette();
    p.setColor(QPalette::Base, colour);
    control->setPalette(p);
}

TFocusHighlight::TFocusHighlight(QObject *parent) : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this, &TFocusHighlight::onFocusChanged);
}

TFocusHighlight::~TFocusHighlight()
{
    disconnect(qApp, &QApplication::focusChanged, this, &TFocusHighlight::onFocusChanged);
    delete m_frame;
}

void TFocusHighlight::onFocusChanged(QWidget *, QWidget *now)
{
    try {
        delete m_frame;
        if (!now || now->isWindow() || !now->parentWidget())
            return;

        auto *frame = new QFrame(now->parentWidget());
        frame->setObjectName(QStringLiteral("FokuszKeret"));
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        frame->setFocusPolicy(Qt::NoFocus);
        frame->setStyleSheet(QStringLiteral("QFrame#FokuszKeret { border: 3px solid rgb(255,0,0); background: transparent; }"));
        frame->setGeometry(now->geometry().adjusted(-3, -3, 3, 3));
        frame->show();
        frame->raise();
        m_frame = frame;

        if (m_control)
            SetFieldColour(m_control, m_former);
        m_control = nullptr;

        if (qobject_cast<QPushButton *>(now) || qobject_cast<QToolButton *>(now))
            return;
        m_control = now;
        m_former = FieldColour(now);
        if (HasFieldColour(now))
            SetFieldColour(now, m_former == RequiredFieldColour ? FocusedRequiredColour : FocusedFieldColour);
    } catch (...) {
        // The highlight is skipped for this change.
    }
}
