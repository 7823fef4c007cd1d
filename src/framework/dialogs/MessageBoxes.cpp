#include "MessageBoxes.h"

#include "Glyphs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// The boxes were laid out for a window with a frame; removing the frame keeps the outer size,
// so the borderless box is larger than its designed content by the frame's width and height.
constexpr int FrameWidth = 8;
constexpr int FrameHeight = 30;

const QColor Maroon(128, 0, 0);

QPushButton *glyphButton(QWidget *parent, const char *glyph, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setIcon(QIcon(Glyph(glyph)));
    b->setIconSize(QSize(32, 32));
    b->setGeometry(geometry);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(true);
    return b;
}

} // namespace

TMessageBox::TMessageBox(Kind kind, const QString &text) : QDialog(nullptr), m_kind(kind)
{
    const bool info = kind == Kind::Info;
    setObjectName(info ? QStringLiteral("InfoBox") : QStringLiteral("ConfirmBox"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize((info ? 252 : 241) + FrameWidth, 96 + FrameHeight);
    // A screen reader announces the box by its kind and reads the message as its description.
    setWindowTitle(info ? QStringLiteral("Üzenet") : QStringLiteral("Kérdés"));
    setAccessibleName(windowTitle());
    setAccessibleDescription(text);

    panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(rect());
    panel->setAutoFillBackground(true);
    QPalette pp = panel->palette();
    pp.setColor(QPalette::Window, Maroon);
    panel->setPalette(pp);

    if (info) {
        okButton = glyphButton(panel, "OK", QStringLiteral(" "), QRect(206, 82, 36, 36));
        okButton->setObjectName(QStringLiteral("bb_ok"));
        okButton->setAccessibleName(QStringLiteral("OK"));
        okButton->setDefault(true);
        connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    } else {
        QFont f(QStringLiteral("Tahoma"));
        f.setPixelSize(11);
        f.setBold(true);
        okButton = glyphButton(panel, "OK", QStringLiteral("&Igen"), QRect(32, 80, 76, 36));
        okButton->setObjectName(QStringLiteral("bb_igen"));
        noButton = glyphButton(panel, "MEGSEM", QStringLiteral("&Nem"), QRect(166, 80, 76, 36));
        noButton->setObjectName(QStringLiteral("bb_nem"));
        noButton->setDefault(true);
        for (QPushButton *b : {okButton, noButton}) {
            b->setFont(f);
            QPalette bp = b->palette();
            bp.setColor(QPalette::ButtonText, Maroon);
            b->setPalette(bp);
        }
        connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
        connect(noButton, &QPushButton::clicked, this, &QDialog::reject);
    }

    label = new QLabel(text, panel);
    label->setObjectName(QStringLiteral("uzenet"));
    label->setGeometry(info ? QRect(18, 18, 216, 60) : QRect(18, 18, 205, 64));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    QFont lf = label->font();
    lf.setBold(true);
    if (info)
        lf.setPointSize(8);
    label->setFont(lf);
    QPalette lp = label->palette();
    lp.setColor(QPalette::WindowText, Qt::yellow);
    label->setPalette(lp);

    (info ? okButton : noButton)->setFocus();
}

void TMessageBox::showEvent(QShowEvent *event)
{
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    (m_kind == Kind::Info ? okButton : noButton)->setFocus();
    QDialog::showEvent(event);
}

void TMessageBox::keyPressEvent(QKeyEvent *event)
{
    // InfoBox has no cancel button: Esc does nothing.
    if (m_kind == Kind::Info && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

static bool runBox(TMessageBox::Kind kind, const QString &text)
{
    TMessageBox box(kind, text);
    try {
        box.exec();
    } catch (...) {
        // Whatever went wrong inside the box, the caller gets its answer from the result.
    }
    return box.result() == QDialog::Accepted;
}

bool TMessageBoxPresenter::info(const QString &text) { return runBox(TMessageBox::Kind::Info, text); }

bool TMessageBoxPresenter::confirm(const QString &text) { return runBox(TMessageBox::Kind::Confirm, text); }

void InstallMessageBoxes()
{
    static TMessageBoxPresenter presenter;
    SetMessagePresenter(&presenter);
}
