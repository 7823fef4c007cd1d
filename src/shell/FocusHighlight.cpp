#include "FocusHighlight.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
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
    unwatch();
    delete m_frame;
}

void TFocusHighlight::unwatch()
{
    for (const QPointer<QWidget> &w : std::as_const(m_watched))
        if (w)
            w->removeEventFilter(this);
    m_watched.clear();
}

void TFocusHighlight::placeFrame()
{
    if (!m_frame || !m_target)
        return;
    QWidget *window = m_frame->parentWidget();
    if (!m_target->isVisibleTo(window)) {
        m_frame->hide();
        return;
    }
    const QRect outer = QRect(m_target->mapTo(window, QPoint(0, 0)), m_target->size()).adjusted(-3, -3, 3, 3);
    m_frame->setGeometry(outer);
    // Only the ring is the frame's: the control below stays uncovered. Inside a scroll area only
    // the part within its viewport shows.
    const QRect ring(QPoint(0, 0), outer.size());
    QRegion shape = QRegion(ring).subtracted(QRegion(ring.adjusted(3, 3, -3, -3)));
    for (QWidget *a = m_target->parentWidget(); a && a != window; a = a->parentWidget()) {
        auto *area = qobject_cast<QAbstractScrollArea *>(a->parentWidget());
        if (area && area->viewport() == a)
            shape &= QRegion(QRect(a->mapTo(window, QPoint(0, 0)) - outer.topLeft(), a->size()));
    }
    if (shape.isEmpty()) {
        m_frame->hide();
        return;
    }
    m_frame->setMask(shape);
    m_frame->show();
    m_frame->raise();
}

bool TFocusHighlight::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ParentChange:
        if (m_target && watched->isWidgetType())
            placeFrame();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void TFocusHighlight::onFocusChanged(QWidget *, QWidget *now)
{
    try {
        unwatch();
        delete m_frame;
        m_target = nullptr;
        if (!now || now->isWindow() || !now->parentWidget())
            return;

        // The frame lies over the window, outside every layout, splitter and scroll area of the
        // control's parents; it follows the control as they move it.
        QWidget *window = now->window();
        if (!qobject_cast<QSplitter *>(window) && !qobject_cast<QAbstractScrollArea *>(window)) {
            auto *frame = new QFrame(window);
            frame->setObjectName(QStringLiteral("FokuszKeret"));
            frame->setAttribute(Qt::WA_TransparentForMouseEvents);
            frame->setFocusPolicy(Qt::NoFocus);
            frame->setStyleSheet(
                QStringLiteral("QFrame#FokuszKeret { border: 3px solid rgb(255,0,0); background: transparent; }"));
            m_frame = frame;
            m_target = now;
            for (QWidget *w = now; w && w != window; w = w->parentWidget()) {
                w->installEventFilter(this);
                m_watched << w;
            }
            placeFrame();
        }

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
