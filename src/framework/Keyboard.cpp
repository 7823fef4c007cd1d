#include "Keyboard.h"

#include <QDir>
#include <QFile>
#include <QKeyEvent>

namespace {
NumLockProbe &probe()
{
    static NumLockProbe p = ReadNumLockLeds;
    return p;
}
std::optional<bool> lastKeypadState;
} // namespace

std::optional<bool> ReadNumLockLeds()
{
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList names = leds.entryList({QStringLiteral("*::numlock")}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    std::optional<bool> state;
    for (const QString &name : names) {
        QFile f(leds.filePath(name + QStringLiteral("/brightness")));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const bool lit = f.readAll().trimmed().toInt() > 0;
        state = state.value_or(false) || lit;
    }
    return state;
}

NumLockProbe SetNumLockProbe(NumLockProbe p)
{
    NumLockProbe old = std::move(probe());
    probe() = p ? std::move(p) : NumLockProbe(ReadNumLockLeds);
    lastKeypadState.reset();
    return old;
}

void NoteKeypadKey(const QKeyEvent *event)
{
    if (!event || !(event->modifiers() & Qt::KeypadModifier))
        return;
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        lastKeypadState = true;
    else if (key == Qt::Key_Home || key == Qt::Key_End || key == Qt::Key_Left || key == Qt::Key_Right
             || key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown
             || key == Qt::Key_Insert || key == Qt::Key_Delete || key == Qt::Key_Clear)
        lastKeypadState = false;
}

bool NumLockOn()
{
    if (probe())
        if (const std::optional<bool> s = probe()())
            return *s;
    return lastKeypadState.value_or(true);
}
