#pragma once
// Marks the active input control of every window: a red frame 3 pixels around it, and a field
// colour while it has the focus (pink for a required field, pale green otherwise). The frame is a
// child of the control's window, never of the control's parent, so no layout or splitter takes it.

#include <QColor>
#include <QFrame> // complete type for the QPointer below
#include <QObject>
#include <QList>
#include <QPointer>

inline const QColor RequiredFieldColour(255, 177, 155);
inline const QColor FocusedRequiredColour(255, 128, 255);
inline const QColor FocusedFieldColour(233, 236, 217);

// The field colour of an input control (its palette's base colour); invalid for controls without one.
bool HasFieldColour(const QWidget *control);
QColor FieldColour(const QWidget *control);
void SetFieldColour(QWidget *control, const QColor &colour);

class TFocusHighlight : public QObject {
    Q_OBJECT
public:
    explicit TFocusHighlight(QObject *parent = nullptr);
    ~TFocusHighlight() override;

    void onFocusChanged(QWidget *old, QWidget *now);

    QFrame *frame() const { return m_frame; }
    QWidget *recoloured() const { return m_control; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeFrame();
    void unwatch();

    QPointer<QFrame> m_frame;
    QPointer<QWidget> m_target;
    QList<QPointer<QWidget>> m_watched;
    QPointer<QWidget> m_control;
    QColor m_former;
};
