#include "Mnemonics.h"

#include <QAbstractItemView>
#include <QAction>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>

namespace {

bool innerPart(const QWidget *w, const QWidget *window)
{
    if (w->objectName().startsWith(QLatin1String("qt_")))
        return true; // Qt's own parts: toolbar extension, calendar navigation, …
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QComboBox *>(p) || qobject_cast<const QAbstractSpinBox *>(p)
            || qobject_cast<const QAbstractItemView *>(p) || qobject_cast<const QLineEdit *>(p)
            || qobject_cast<const QTabBar *>(p) || qobject_cast<const QScrollBar *>(p))
            return true;
    return false;
}

// Index in text of the character after a single "&", or -1.
qsizetype mnemonicIndex(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

QString withoutMnemonic(const QString &text)
{
    const qsizetype i = mnemonicIndex(text);
    return i < 0 ? text : text.left(i - 1) + text.mid(i);
}

bool usable(QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); }

// Candidate positions in text (raw, with "&&" kept): first letters of words, then the other
// letters, then digits.
QList<qsizetype> candidates(const QString &text)
{
    QList<qsizetype> first, other, digits;
    bool wordStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&' && i + 1 < text.size() && text[i + 1] == u'&') {
            ++i;
            wordStart = true;
            continue;
        }
        if (!c.isLetterOrNumber()) {
            wordStart = true;
            continue;
        }
        if (usable(c))
            (c.isDigit() ? digits : wordStart ? first : other) << i;
        wordStart = false;
    }
    return first + other + digits;
}

bool isAltLetter(const QKeySequence &s)
{
    return s.count() == 1 && s[0].keyboardModifiers() == Qt::AltModifier;
}

// The shortcuts a button answers to: its own, or its action's.
QList<QKeySequence> keysOf(const QAbstractButton *b)
{
    if (auto *t = qobject_cast<const QToolButton *>(b); t && t->defaultAction())
        return t->defaultAction()->shortcuts();
    return {b->shortcut()};
}

void assign(QWidget *window);

// Assigns again after each showing: a window's show handler may change captions and visibility.
class Keeper final : public QObject {
public:
    explicit Keeper(QWidget *window) : QObject(window), m_window(window) { window->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show)
            QTimer::singleShot(0, this, [this] { assign(m_window); });
        return false;
    }

private:
    QWidget *m_window;
};

constexpr auto HintPrefix = " (Alt+";

QString hintWithoutKey(const QString &hint)
{
    const qsizetype at = hint.lastIndexOf(QLatin1String(HintPrefix));
    return at >= 0 && hint.endsWith(u')') ? hint.left(at) : hint;
}

QKeySequence altKey(QChar letter) { return QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(letter.unicode()))); }

// A toolbar button shows its action: the action gets the Alt key beside its own shortcuts.
void setActionKey(QAction *a, QChar letter)
{
    QList<QKeySequence> keys = a->shortcuts();
    keys << altKey(letter);
    a->setShortcuts(keys);
    const QString hint = hintWithoutKey(a->toolTip().isEmpty() ? a->text() : a->toolTip());
    a->setToolTip(hint + QLatin1String(HintPrefix) + letter + u')');
}

void setGlyphKey(QAbstractButton *b, QChar letter)
{
    if (auto *t = qobject_cast<QToolButton *>(b); t && t->defaultAction()) {
        setActionKey(t->defaultAction(), letter);
        return;
    }
    if (b->accessibleName().isEmpty())
        b->setAccessibleName(hintWithoutKey(b->toolTip()));
    b->setShortcut(altKey(letter));
    const QString hint = hintWithoutKey(b->toolTip());
    b->setToolTip((hint.isEmpty() ? b->accessibleName() : hint) + QLatin1String(HintPrefix) + letter + u')');
}

void clearKey(QAbstractButton *b)
{
    if (auto *t = qobject_cast<QToolButton *>(b); t && t->defaultAction()) {
        QList<QKeySequence> keys = t->defaultAction()->shortcuts();
        keys.removeIf([](const QKeySequence &k) { return isAltLetter(k); });
        t->defaultAction()->setShortcuts(keys);
        return;
    }
    b->setText(withoutMnemonic(b->text()));
    if (b->shortcut()[0].keyboardModifiers() == Qt::AltModifier) {
        b->setShortcut(QKeySequence());
        b->setToolTip(hintWithoutKey(b->toolTip()));
    }
}

} // namespace

QList<QAbstractButton *> BarButtons(QWidget *window)
{
    QList<QAbstractButton *> shown, hidden;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (!qobject_cast<QPushButton *>(b) && !qobject_cast<QToolButton *>(b))
            continue;
        if (b->window() != window || innerPart(b, window))
            continue;
        (b->isVisibleTo(window) ? shown : hidden) << b;
    }
    return shown + hidden;
}

QChar MnemonicOf(const QAbstractButton *button)
{
    const QString text = button->text();
    if (const qsizetype i = mnemonicIndex(text); i >= 0)
        return text[i].toUpper();
    for (const QKeySequence &k : keysOf(button))
        if (isAltLetter(k))
            return QChar(char16_t(k[0].key()));
    return {};
}

void AssignMnemonics(QWidget *window)
{
    if (!window->property("kovraMnemonics").toBool()) {
        window->setProperty("kovraMnemonics", true);
        new Keeper(window);
    }
    assign(window);
}

namespace {
void assign(QWidget *window)
{
    const QList<QAbstractButton *> buttons = BarButtons(window);
    QSet<QChar> used;
    QList<QAbstractButton *> todo;
    for (QAbstractButton *b : buttons) {
        b->setFocusPolicy(Qt::FocusPolicy(b->focusPolicy() | Qt::TabFocus));
        const QChar m = MnemonicOf(b);
        if (!m.isNull() && !used.contains(m)) {
            used.insert(m);
            continue;
        }
        if (!m.isNull())
            clearKey(b);
        todo << b;
    }
    for (QAbstractButton *b : todo) {
        const QString text = b->text();
        auto *tool = qobject_cast<QToolButton *>(b);
        const bool captioned = !withoutMnemonic(text).trimmed().isEmpty() && !(tool && tool->defaultAction());
        const QString source = captioned ? text : (b->accessibleName().isEmpty() ? hintWithoutKey(b->toolTip()) : b->accessibleName());
        qsizetype chosen = -1;
        for (qsizetype i : candidates(source))
            if (!used.contains(source[i].toUpper())) {
                chosen = i;
                break;
            }
        QChar letter;
        if (chosen >= 0) {
            letter = source[chosen].toUpper();
        } else {
            // No letter of its own is free: the first free letter or digit.
            for (const char *c = "ABCDEFGHIJKLMNOPQRSTUVWXYZ123456789"; *c; ++c)
                if (!used.contains(QChar(*c))) {
                    letter = QChar(*c);
                    break;
                }
        }
        if (letter.isNull())
            continue; // every letter is taken
        used.insert(letter);
        if (captioned && chosen >= 0)
            b->setText(text.left(chosen) + u'&' + text.mid(chosen));
        else
            setGlyphKey(b, letter);
    }
}
} // namespace
