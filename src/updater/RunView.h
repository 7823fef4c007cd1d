#pragma once
// What the update run needs from its window: responsiveness, the stop flag and the visible state.
// The window Form1 implements it; EventLoopView serves runs without a window.

#include <QString>

namespace frissites {

class RunView {
public:
    virtual ~RunView() = default;

    // Handles pending events (the stop button works through them).
    virtual void processEvents() = 0;
    // Waits ms milliseconds while events go on being handled.
    virtual void wait(int ms) = 0;
    virtual bool stopRequested() const = 0;

    virtual void showVersion(const QString &) {}
    virtual void showTick(int) {}                 // 1 to 6
    virtual void setTaskEnabled(int, bool) {}     // tasks 1 to 6
    virtual void showProgress(qint64) {}          // maximum: the announced size in bytes
    virtual void setProgress(qint64) {}
    virtual void hideProgress() {}
    virtual void setMessages(const QString &) {}  // the message memo, shown once it has text
    virtual void showMessages() {}                // the message memo, shown even when empty
    virtual void bringToFront() {}
};

// Runs on the application's event loop without any window; the stop flag is set by the owner.
class EventLoopView : public RunView {
public:
    void processEvents() override;
    void wait(int ms) override;
    bool stopRequested() const override { return m_stop; }
    void requestStop() { m_stop = true; }

private:
    bool m_stop = false;
};

// The wait shared by the window and EventLoopView: an event loop that quits after ms.
void WaitProcessingEvents(int ms);

} // namespace frissites
