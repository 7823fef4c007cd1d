#include "ErrorCapture.h"

#include "Guard.h"

#include "Calendar.h"
#include "Connection.h"
#include "DbError.h"
#include "Hibakezeles.h"
#include "IniValue.h"
#include "LoginInfo.h"
#include "RecordOperations.h"
#include "StatementTrace.h"
#include "TextCodec.h"
#include "ThrowSite.h"
#include "Version.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTextEdit>
#include <QTextStream>
#include <QToolButton>
#include <cxxabi.h>
#include <pwd.h>
#include <unistd.h>

namespace {

QString timeOfDay() { return QTime::currentTime().toString(QStringLiteral("hh:mm:ss")); }

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return text;
}

QString accountName()
{
    if (const passwd *pw = getpwuid(getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

void pushLimited(QStringList &list, const QString &entry, int limit)
{
    list.prepend(entry);
    while (list.size() > limit)
        list.removeLast();
}

ExceptionFacts withSite(ExceptionFacts f, const void *object)
{
    const ThrowSite site = LookupThrowSite(object);
    if (f.className.isEmpty())
        f.className = TypeName(site.type);
    f.module = site.module;
    f.address = QStringLiteral("%1").arg(qulonglong(site.offset), 8, 16, QChar(u'0')).toUpper();
    return f;
}

} // namespace

ExceptionFacts DescribeException(std::exception_ptr error)
{
    ExceptionFacts f;
    if (!error)
        return f;
    try {
        std::rethrow_exception(error);
    } catch (const DbError &e) {
        f.className = TypeName(&typeid(e));
        f.message = e.message();
        f.nullViolation = e.message().contains(QLatin1String("column does not allow nulls"));
        return withSite(f, dynamic_cast<const void *>(&e));
    } catch (const std::exception &e) {
        f.className = TypeName(&typeid(e));
        f.message = QString::fromUtf8(e.what());
        return withSite(f, dynamic_cast<const void *>(&e));
    } catch (...) {
        f.className = TypeName(abi::__cxa_current_exception_type());
        return withSite(f, nullptr);
    }
}

QString ControlTraceValue(const QWidget *control)
{
    QString value;
    if (const auto *c = qobject_cast<const QCheckBox *>(control))
        return c->isChecked() ? QStringLiteral("True") : QStringLiteral("False");
    if (const auto *b = qobject_cast<const QPushButton *>(control))
        value = b->text();
    else if (const auto *t = qobject_cast<const QToolButton *>(control))
        value = t->text();
    else if (const auto *e = qobject_cast<const QLineEdit *>(control))
        value = e->text();
    else if (const auto *m = qobject_cast<const QPlainTextEdit *>(control))
        value = m->toPlainText();
    else if (const auto *r = qobject_cast<const QTextEdit *>(control))
        value = r->toPlainText();
    else if (const auto *cb = qobject_cast<const QComboBox *>(control))
        value = cb->currentText();
    return oneLine(value);
}

QString EncodeReport(const QString &text)
{
    const QByteArray bytes = EncodeText(text);
    QString encoded;
    encoded.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const int b = uchar(ch);
        encoded += QChar::fromLatin1(IniValueAlphabet[b & 15]);
        encoded += QChar::fromLatin1(IniValueAlphabet[(b & 128) / 4 + b / 16]);
    }
    QString out;
    for (qsizetype i = 0; i < encoded.size(); i += 70) {
        if (i > 0)
            out += QStringLiteral("\r\n");
        out += encoded.mid(i, 70);
    }
    return out;
}

TErrorCapture::TErrorCapture()
{
    standardErrorBox = [](const QString &text) {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Hiba"), text, QMessageBox::Ok);
        box.exec();
    };
}

TErrorCapture::~TErrorCapture() { delete m_window; }

void TErrorCapture::install()
{
    if (m_installed || !qApp)
        return;
    m_installed = true;
    // Handlers of the windows hand their exceptions to the capture.
    SetExceptionHandler([](std::exception_ptr error) { CaptureException(error); });
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &TErrorCapture::onFocusChanged);
}

void TErrorCapture::clearTraces()
{
    m_windowTrace.clear();
    m_controlTrace.clear();
}

bool TErrorCapture::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()) {
        const auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow())
            pushLimited(m_windowTrace,
                        QStringLiteral("%1\t(%2)\t%3\t'%4'")
                            .arg(timeOfDay(), QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                                 w->windowTitle()),
                        WindowTraceLimit);
    }
    return false;
}

void TErrorCapture::onFocusChanged(QWidget *, QWidget *now)
{
    if (!now)
        return;
    pushLimited(m_controlTrace,
                QStringLiteral("%1\t%2\t%3\t%4\t'%5'")
                    .arg(timeOfDay(), QString::fromLatin1(now->metaObject()->className()), now->window()->objectName(),
                         now->objectName(), ControlTraceValue(now)),
                ControlTraceLimit);
}

void TErrorCapture::setErrorLogConnection(Connection *connection) { m_connection = connection; }

Connection *TErrorCapture::errorLogConnection() const { return m_connection; }

QString TErrorCapture::reportText() const { return m_reportLines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"); }

void TErrorCapture::buildReport(const ExceptionFacts &facts)
{
    QStringList &r = m_reportLines;
    r.clear();
    r << QStringLiteral("Számítógép neve: ") + QSysInfo::machineHostName()
      << QStringLiteral("Belépett felhasználó: ") + accountName()
      << QStringLiteral("Program verzió:") + QLatin1String(ProgramVersion)
      << QStringLiteral("Adatbázis:") + LoginInfo.DatabaseName << QStringLiteral("Felhasználó:") + LoginInfo.UserName
      << QString()
      << QStringLiteral("A hiba keletkezésének időpontja: ")
             + QDateTime::currentDateTime().toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"))
      << QStringLiteral("Hibaüzenet típusa: ") + facts.className << QStringLiteral("A hiaüzenet:") + facts.message
      << QStringLiteral("Modul:") + facts.module << QStringLiteral("A hiba helye:") + facts.address
      << QStringLiteral("A hiba leírása:") << QString() << QStringLiteral("A használt ablakok listája");
    r << m_windowTrace;
    r << QString() << QStringLiteral("A használt kontrollok listája");
    r << m_controlTrace;
    r << QString();
    if (m_connection) {
        r << QStringLiteral("A futtatott SQL-ek listája");
        r << StatementTraceEntries();
    }
}

Tform_Hibakezeles *TErrorCapture::errorWindow()
{
    if (!m_window)
        m_window = new Tform_Hibakezeles;
    return m_window;
}

void TErrorCapture::handle(std::exception_ptr error)
{
    const ExceptionFacts facts = DescribeException(error);
    if (m_handling) {
        // An exception while the error window is up is not reported again.
        QTextStream(stderr) << "kovra: " << facts.className << ": " << facts.message << " (ignored during an error report)\n";
        return;
    }
    m_handling = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{m_handling};

    if (facts.nullViolation) {
        standardErrorBox(QStringLiteral("Egy kötelező mező nem lett kitöltve!"));
        return;
    }
    buildReport(facts);
    Tform_Hibakezeles *w = errorWindow();
    w->appendFacts(facts.className, facts.message);

    if (m_connection) {
        try {
            QString id;
            QString text = reportText();
            while (!text.isEmpty() && text.back().unicode() <= 32)
                text.chop(1);
            InsertRecord(QStringLiteral("hibanaplo"),
                         {QStringLiteral("felh_id=") + LoginInfo.UserId, QStringLiteral("hn_datum=") + ServerNow(2),
                          QStringLiteral("hn_leiras=") + text},
                         false, id);
            RemoveNewestStatementTraceEntry();
        } catch (...) {
            // The report is still shown; the log row is lost.
            const ExceptionFacts f = DescribeException(std::current_exception());
            QTextStream(stderr) << "kovra: the error log row could not be written: " << f.message << '\n';
        }
    }
    try {
        w->exec();
    } catch (...) {
    }
}

TErrorCapture &ErrorCapture()
{
    static TErrorCapture *capture = new TErrorCapture; // lives until the process ends
    return *capture;
}

void CaptureException(std::exception_ptr error) { ErrorCapture().handle(error); }

void SetErrorLogConnection(Connection *connection) { ErrorCapture().setErrorLogConnection(connection); }
