#include "UserLogin.h"
#include "Indito.h"

#include "Adatmodul.h"
#include "Crc32.h"
#include "DatabaseConfig.h"
#include "Glyphs.h"
#include "IniFile.h"
#include "LoginInfo.h"
#include "Messages.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int FadeTarget = 220;

QLabel *caption(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(p);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// Caps Lock state as a typed letter shows it: upper case without Shift, or lower case with it.
bool capsLockShown(const QKeyEvent *event)
{
    const QString t = event->text();
    if (t.size() != 1 || !t[0].isLetter() || t[0].toUpper() == t[0].toLower())
        return false;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    return t[0].isUpper() != shift;
}

// Masks a password with "*", whatever character the platform style would use.
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *data) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

Tform_Indito::Tform_Indito(QWidget *parent) : QDialog(parent), felh(nullptr, QStringLiteral("felh"))
{
    setObjectName(QStringLiteral("form_Indito"));
    setWindowTitle(QStringLiteral("KOVRA"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(313, 143);
    setMask(QRegion(Outline(), Qt::OddEvenFill));
    setWindowOpacity(0.0);
    if (form_Adatmodul)
        felh.setConnection(&form_Adatmodul->ADOConn);

    l_kovra = new QLabel(QStringLiteral("KOVRA"), this);
    l_kovra->setObjectName(QStringLiteral("l_kovra"));
    l_kovra->setGeometry(10, 2, 100, 20);
    QFont kf = l_kovra->font();
    kf.setBold(true);
    kf.setPointSize(kf.pointSize() + 3);
    l_kovra->setFont(kf);
    QPalette kp = l_kovra->palette();
    kp.setColor(QPalette::WindowText, QColor(255, 230, 120));
    l_kovra->setPalette(kp);

    caption(QStringLiteral("Adatbázis"), this, QRect(12, 34, 70, 20));
    caption(QStringLiteral("Név"), this, QRect(12, 64, 70, 20));
    caption(QStringLiteral("Jelszó"), this, QRect(12, 94, 70, 20));

    cb_ab = new QComboBox(this);
    cb_ab->setObjectName(QStringLiteral("cb_ab"));
    cb_ab->setEditable(true);
    cb_ab->setInsertPolicy(QComboBox::NoInsert);
    cb_ab->addItems({QStringLiteral("KOVRA"), QStringLiteral("KOVRA_teszt")});
    cb_ab->setGeometry(84, 32, 150, 24);

    FNev = new QLineEdit(this);
    FNev->setObjectName(QStringLiteral("FNev"));
    FNev->setGeometry(84, 62, 150, 24);
    cb_ab->setAccessibleName(QStringLiteral("Adatbázis"));
    FNev->setAccessibleName(QStringLiteral("Név"));

    FJelszo = new QLineEdit(QStringLiteral("Ide írja jelszavát"), this);
    FJelszo->setObjectName(QStringLiteral("FJelszo"));
    FJelszo->setGeometry(84, 92, 150, 24);
    FJelszo->setAccessibleName(QStringLiteral("Jelszó"));
    auto *stars = new StarPasswordStyle;
    stars->setParent(FJelszo);
    FJelszo->setStyle(stars);

    Belepes = new QPushButton(this);
    Belepes->setObjectName(QStringLiteral("Belepes"));
    Belepes->setIcon(QIcon(Glyph("BELEP")));
    Belepes->setIconSize(QSize(32, 32));
    Belepes->setGeometry(246, 36, 52, 40);
    Belepes->setToolTip(QStringLiteral("Belépés"));
    Belepes->setAccessibleName(Belepes->toolTip());
    Belepes->setDefault(true);
    Belepes->setEnabled(false);

    bb_kilep = new QPushButton(this);
    bb_kilep->setObjectName(QStringLiteral("bb_kilep"));
    bb_kilep->setIcon(QIcon(Glyph("KILEP")));
    bb_kilep->setIconSize(QSize(32, 32));
    bb_kilep->setGeometry(246, 84, 52, 40);
    bb_kilep->setToolTip(QStringLiteral("Kilépés"));
    bb_kilep->setAccessibleName(bb_kilep->toolTip());
    bb_kilep->setAutoDefault(false);
    bb_kilep->setEnabled(true);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(10);

    FNev->installEventFilter(this);
    FJelszo->installEventFilter(this);
    connect(FNev, &QLineEdit::textChanged, this, &Tform_Indito::updateBelepes);
    connect(FJelszo, &QLineEdit::textChanged, this, &Tform_Indito::updateBelepes);
    connect(Belepes, &QPushButton::clicked, this, &Tform_Indito::BelepesClick);
    connect(bb_kilep, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer1, &QTimer::timeout, this, &Tform_Indito::Timer1Timer);
}

QPolygon Tform_Indito::Outline()
{
    return QPolygon({QPoint(117, 0), QPoint(119, 1), QPoint(124, 5), QPoint(133, 14), QPoint(141, 22), QPoint(142, 23),
                     QPoint(306, 23), QPoint(308, 24), QPoint(310, 26), QPoint(312, 27), QPoint(312, 138),
                     QPoint(310, 140), QPoint(308, 142), QPoint(4, 142), QPoint(2, 140), QPoint(0, 138), QPoint(0, 4),
                     QPoint(1, 2), QPoint(3, 1), QPoint(5, 0)});
}

void Tform_Indito::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    cb_ab->setCurrentIndex(0);
    FNev->setFocus();
    Timer1->start();
}

void Tform_Indito::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(20, 60, 120));
    g.setColorAt(1, QColor(10, 30, 70));
    p.fillRect(rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawEllipse(QPoint(270, 130), 90, 60);
    p.setPen(QPen(QColor(255, 230, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(Outline());
}

void Tform_Indito::mousePressEvent(QMouseEvent *event)
{
    // The whole client area drags the window.
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void Tform_Indito::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

bool Tform_Indito::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FNev || watched == FJelszo) {
        if (event->type() == QEvent::KeyRelease && static_cast<QKeyEvent *>(event)->key() == Qt::Key_CapsLock) {
            m_capsWarned = false;
            InfoBox(QStringLiteral("Figyelem, a CapsLock billentyűt nyomta meg!"));
        } else if (event->type() == QEvent::KeyPress && !m_capsWarned
                   && capsLockShown(static_cast<QKeyEvent *>(event))) {
            m_capsWarned = true;
            InfoBox(QStringLiteral("Figyelem, a CapsLock billentyű bekapcsolt állapotban van!"));
        } else if (watched == FNev && event->type() == QEvent::FocusOut) {
            // Leaving the field, not the window.
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                FNevExit();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tform_Indito::updateBelepes() { Belepes->setEnabled(!(FNev->text().isEmpty() && FJelszo->text().isEmpty())); }

void Tform_Indito::FNevExit()
{
    if (FNev->text().isEmpty()) {
        Belepes->setEnabled(false);
        return;
    }
    Belepes->setEnabled(true);
    FJelszo->setEchoMode(QLineEdit::Password);
    FJelszo->clear();
    QPalette p = FJelszo->palette();
    p.setColor(QPalette::Text, Qt::darkGreen);
    FJelszo->setPalette(p);
}

void Tform_Indito::Timer1Timer()
{
    if (m_alpha < FadeTarget) {
        ++m_alpha;
        setWindowOpacity(m_alpha / 255.0);
    } else {
        Timer1->stop();
    }
}

void Tform_Indito::BelepesClick()
{
    const bool testDatabase = cb_ab->currentIndex() == 1 && cb_ab->currentText() == cb_ab->itemText(1);
    switch (LoginWithConfig(Config(), testDatabase, FNev->text(), FJelszo->text(), *form_Adatmodul, felh)) {
    case LoginResult::NoConnection:
        InfoBox(QStringLiteral("Nincs kapcsolat az adatbázissal!"));
        done(QDialog::Rejected);
        return;
    case LoginResult::WrongUser:
        InfoBox(QStringLiteral("A megadott névvel és jelszóval nem tudja beléptetni a rendszer!\r\n\r\nPróbálja meg újra!"));
        done(QDialog::Rejected);
        return;
    case LoginResult::Ok:
        break;
    }
    done(LoginModalResult);
}
