#include "Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace frissites {

namespace {

const char *const TaskTexts[6] = {
    "Frissítési feladatok lekérdezése", "Indítóprogram frissítés", "Adatbázis frissítés",
    "Programfrissítés", "Egyéb fájlok frissítése", "Programindítás",
};

// The picture on the left: two arrows turning round a navy disc.
QPixmap updatePicture()
{
    QPixmap pixmap(72, 72);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawEllipse(QRectF(4, 4, 64, 64));
    QPen pen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF arc(20, 20, 32, 32);
    p.drawArc(arc, 30 * 16, 150 * 16);
    p.drawArc(arc, 210 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath head1;
    head1.moveTo(50, 18);
    head1.lineTo(54, 32);
    head1.lineTo(41, 28);
    head1.closeSubpath();
    p.drawPath(head1);
    QPainterPath head2;
    head2.moveTo(22, 54);
    head2.lineTo(18, 40);
    head2.lineTo(31, 44);
    head2.closeSubpath();
    p.drawPath(head2);
    return pixmap;
}

// frissites.log in the working folder; standard error when that folder belongs to a package.
QString logPath(const RunSetup &setup)
{
    const QString workDir = setup.workDir.isEmpty() ? QDir::currentPath() : setup.workDir;
    if (!PackageFolderOf(workDir, setup.packageFolders).isEmpty())
        return {};
    return QDir(workDir).filePath(QString::fromLatin1(LogFileName));
}

} // namespace

Form1::Form1(RunSetup setup, std::function<void(int)> end, std::unique_ptr<Launcher> launcher, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_end(std::move(end)),
      m_log(logPath(setup))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Programindítás"));
    if (!m_end)
        m_end = [](int code) { QCoreApplication::exit(code); };
    if (!launcher)
        launcher = std::make_unique<Launcher>(m_log, setup.workDir.isEmpty() ? QDir::currentPath() : setup.workDir);
    m_launcher = std::move(launcher);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("p_keret"));
    panel->setStyleSheet(QStringLiteral("QFrame#p_keret { background: white; border: 1px solid navy; }"));
    outer->addWidget(panel);

    auto *body = new QVBoxLayout(panel);
    body->setContentsMargins(12, 12, 12, 8);
    auto *top = new QHBoxLayout;
    body->addLayout(top);
    auto *picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("img_frissites"));
    picture->setPixmap(updatePicture());
    picture->setAlignment(Qt::AlignTop);
    top->addWidget(picture);

    auto *tasks = new QGridLayout;
    tasks->setHorizontalSpacing(6);
    tasks->setVerticalSpacing(4);
    top->addLayout(tasks, 1);
    for (int i = 0; i < 6; ++i) {
        m_ticks[i] = new QLabel(QStringLiteral("✔"), panel);
        m_ticks[i]->setObjectName(QStringLiteral("l_%1").arg(i + 1));
        m_ticks[i]->setStyleSheet(QStringLiteral("color: green;"));
        m_ticks[i]->setFixedWidth(16);
        m_ticks[i]->hide();
        m_tasks[i] = new QLabel(QString::fromUtf8(TaskTexts[i]), panel);
        m_tasks[i]->setObjectName(QStringLiteral("l_feladat%1").arg(i + 1));
        m_tasks[i]->setEnabled(i == 0 || i == 5);
        tasks->addWidget(m_ticks[i], i, 0);
        tasks->addWidget(m_tasks[i], i, 1);
    }

    m_progress = new QProgressBar(panel);
    m_progress->setObjectName(QStringLiteral("progressbar"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    body->addWidget(m_progress);

    m_memo = new QPlainTextEdit(panel);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setFixedHeight(64);
    m_memo->hide();
    body->addWidget(m_memo);

    auto *bottom = new QHBoxLayout;
    body->addLayout(bottom);
    m_version = new QLabel(panel);
    m_version->setObjectName(QStringLiteral("l_verzio"));
    m_version->setStyleSheet(QStringLiteral("color: gray;"));
    bottom->addWidget(m_version);
    bottom->addStretch(1);
    m_stopButton = new QPushButton(QStringLiteral("Leállítás"), panel);
    m_stopButton->setObjectName(QStringLiteral("BitBtn1"));
    bottom->addWidget(m_stopButton);
    connect(m_stopButton, &QPushButton::clicked, this, &Form1::onStop);

    setFixedSize(440, 300);

    m_run = std::make_unique<UpdateRun>(*this, *m_launcher, m_log, std::move(setup));
    m_run->start();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timer_Futtatas"));
    m_timer->setInterval(100);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &Form1::onTimer);
    m_timer->start();
}

Form1::~Form1() = default;

void Form1::present()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (m_run->switches().hidden)
        showMinimized();
    else
        show();
}

void Form1::onTimer()
{
    m_timer->stop();
    m_run->run();
    if (!m_ended) {
        m_ended = true;
        m_end(m_run->resultCode());
    }
}

void Form1::onStop()
{
    m_stop = true;
    hide();
}

void Form1::closeEvent(QCloseEvent *event)
{
    m_stop = true;
    QWidget::closeEvent(event);
}

void Form1::processEvents()
{
    QCoreApplication::processEvents();
}

void Form1::wait(int ms)
{
    WaitProcessingEvents(ms);
}

void Form1::showVersion(const QString &version)
{
    m_version->setText(version);
}

void Form1::showTick(int task)
{
    // The ticks of the self-update and the program update are never shown.
    if (task >= 1 && task <= 6 && task != 2 && task != 4)
        m_ticks[task - 1]->show();
}

void Form1::setTaskEnabled(int task, bool enabled)
{
    if (task >= 1 && task <= 6)
        m_tasks[task - 1]->setEnabled(enabled);
}

void Form1::showProgress(qint64 maximum)
{
    m_progress->setRange(0, int(std::clamp<qint64>(maximum, 0, std::numeric_limits<int>::max())));
    m_progress->setValue(0);
    m_progress->show();
}

void Form1::setProgress(qint64 position)
{
    if (m_progress->maximum() > 0)
        m_progress->setValue(int(std::min<qint64>(position, m_progress->maximum())));
}

void Form1::hideProgress()
{
    m_progress->hide();
}

void Form1::setMessages(const QString &text)
{
    m_memo->setPlainText(text);
    m_memo->setVisible(!text.isEmpty());
}

void Form1::showMessages()
{
    m_memo->show();
}

void Form1::bringToFront()
{
    showNormal();
    raise();
    activateWindow();
}

} // namespace frissites
