#pragma once
// The handler of last resort: every exception that no window handles becomes an error report with
// the last windows activated, the last controls focused and the last statements sent; the report
// is stored in hibanaplo (once a connection exists) and shown in form_Hibakezeles.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <exception>
#include <functional>

#include "Connection.h"

class QWidget;
class Tform_Hibakezeles;

inline constexpr int WindowTraceLimit = 10;
inline constexpr int ControlTraceLimit = 50;

// What the report says about one exception.
struct ExceptionFacts {
    QString className;
    QString message;
    QString module;
    QString address; // 8 hexadecimal digits (more when the offset needs them)
    bool nullViolation = false; // a database error "column does not allow nulls"
};

// Classifies the exception (call inside or outside a catch block).
ExceptionFacts DescribeException(std::exception_ptr error);

class TErrorCapture : public QObject {
    Q_OBJECT
public:
    TErrorCapture();
    ~TErrorCapture() override;

    // Subscribes to window activations and focus changes of the running application.
    void install();

    // Newest first.
    const QStringList &windowTrace() const { return m_windowTrace; }
    const QStringList &controlTrace() const { return m_controlTrace; }
    void clearTraces();

    // The lines of the last report, and its text (lines joined with CR LF, a final CR LF).
    const QStringList &reportLines() const { return m_reportLines; }
    QString reportText() const;

    // The open connection, handed over after the login; nullptr before.
    void setErrorLogConnection(Connection *connection);
    Connection *errorLogConnection() const;

    // Runs the whole handling of one exception: report, log row, error window.
    void handle(std::exception_ptr error);
    bool isHandling() const { return m_handling; }

    // The one error window, created on first use.
    Tform_Hibakezeles *errorWindow();

    // The standard error message box of the NULL-violation case (replaceable by tests).
    std::function<void(const QString &)> standardErrorBox;

    void buildReport(const ExceptionFacts &facts);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onFocusChanged(QWidget *old, QWidget *now);

    QStringList m_windowTrace, m_controlTrace, m_reportLines;
    QPointer<Connection> m_connection;
    Tform_Hibakezeles *m_window = nullptr;
    bool m_handling = false;
    bool m_installed = false;
};

// The process-wide capture (created on first use, at start-up before any window).
TErrorCapture &ErrorCapture();
// Hands one exception to the capture; the usual call is CaptureException(std::current_exception()).
void CaptureException(std::exception_ptr error);
void SetErrorLogConnection(Connection *connection);

// The control trace's value of a widget: caption of a button, text of an edit, memo or combo,
// "True"/"False" of a check box, otherwise empty; line breaks as the two characters "\n".
QString ControlTraceValue(const QWidget *control);

// The clipboard form of a report: every Windows-1250 byte as two characters of the scrambling
// alphabet (low nibble, then high nibble with the top bit moved up), CR LF after each 70 characters.
QString EncodeReport(const QString &text);
