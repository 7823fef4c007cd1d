#pragma once
// Keyboard toggle states the windows report to the user.

#include <functional>
#include <optional>

class QKeyEvent;

// True when Num Lock is on. Read from the keyboard LEDs where the system exposes them; otherwise
// inferred from the last key of the numeric keypad seen (a digit means on, a cursor key off);
// true while nothing tells.
bool NumLockOn();
// Lets NumLockOn learn from a key event (call it for every key press the window sees).
void NoteKeypadKey(const QKeyEvent *event);

// The platform probe: a state when it can read one. Tests replace it; returns the previous one.
using NumLockProbe = std::function<std::optional<bool>()>;
NumLockProbe SetNumLockProbe(NumLockProbe probe);
// The default probe: the numlock LEDs under /sys/class/leds.
std::optional<bool> ReadNumLockLeds();
