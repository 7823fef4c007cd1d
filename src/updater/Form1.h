#pragma once
// The updater's window: a borderless panel with the task list, progress bar, messages, version and the
// stop button. It starts the run 100 ms after it is created and ends the application when the run ends.

#include "Launcher.h"
#include "RunView.h"
#include "UpdateLog.h"
#include "UpdateRun.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace frissites {

class Form1 : public QWidget, public RunView {
    Q_OBJECT

public:
    // end receives the result code once the run is over (by default the application exits with it).
    // A launcher may be handed in; otherwise the window starts programs itself.
    explicit Form1(RunSetup setup, std::function<void(int)> end = {}, std::unique_ptr<Launcher> launcher = {},
                   QWidget *parent = nullptr);
    ~Form1() override;

    // Shows the window centred, minimised with "/REJTETT".
    void present();

    UpdateRun &updateRun() { return *m_run; }

    void processEvents() override;
    void wait(int ms) override;
    bool stopRequested() const override { return m_stop; }
    void showVersion(const QString &version) override;
    void showTick(int task) override;
    void setTaskEnabled(int task, bool enabled) override;
    void showProgress(qint64 maximum) override;
    void setProgress(qint64 position) override;
    void hideProgress() override;
    void setMessages(const QString &text) override;
    void showMessages() override;
    void bringToFront() override;

protected:
    // Closing the window by other means acts as the stop button.
    void closeEvent(QCloseEvent *event) override;

private:
    void onTimer();
    void onStop();

    QLabel *m_ticks[6] = {};
    QLabel *m_tasks[6] = {};
    QProgressBar *m_progress = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    QLabel *m_version = nullptr;
    QPushButton *m_stopButton = nullptr;
    QTimer *m_timer = nullptr;

    bool m_stop = false;
    bool m_ended = false;
    std::function<void(int)> m_end;
    UpdateLog m_log;
    std::unique_ptr<Launcher> m_launcher;
    std::unique_ptr<UpdateRun> m_run;
};

} // namespace frissites
