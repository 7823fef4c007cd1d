#include "Hibakezeles.h"

#include "Mnemonics.h"
#include "ErrorCapture.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "SendMail.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QString ErrorReportRecipient() { return QString::fromLatin1(DeveloperMailAddress); }

Tform_Hibakezeles::Tform_Hibakezeles(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("form_Hibakezeles"));
    setWindowTitle(QStringLiteral("Hiba"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(480, 400);

    auto *header = new QFrame(this);
    header->setObjectName(QStringLiteral("p_fejlec"));
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto *hl = new QHBoxLayout(header);
    auto *icon = new QLabel(header);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    auto *title = new QLabel(QStringLiteral("Hiba!"), header);
    QFont tf = title->font();
    tf.setPointSize(tf.pointSize() + 6);
    tf.setBold(true);
    title->setFont(tf);
    hl->addWidget(icon);
    hl->addWidget(title, 1);

    memo_Uzenet = new QPlainTextEdit(this);
    memo_Uzenet->setObjectName(QStringLiteral("memo_Uzenet"));
    memo_Uzenet->setFrameStyle(QFrame::NoFrame);
    memo_Uzenet->setReadOnly(true);
    memo_Uzenet->setFocusPolicy(Qt::NoFocus);
    memo_Uzenet->setPlainText(QStringLiteral("Hiba történt a program futása közben. Az okozott \n"
                                             "kellemetlenségért elnézést kérünk! Kérjük segítse munkánkat \n"
                                             "a hibanapló elküldésével. Köszönjük!"));
    memo_Uzenet->setFixedHeight(64);

    memo_Leiras = new QPlainTextEdit(this);
    memo_Leiras->setObjectName(QStringLiteral("memo_Leiras"));
    memo_Leiras->setPlainText(QStringLiteral("Kérjük, írja le pár szóban, hogyan jelentkezett a hiba!"));

    BitBtn2 = new QPushButton(QStringLiteral("Másolás vágólapra"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    bb_kuld = new QPushButton(QStringLiteral("Küldés e-mailben"), this);
    bb_kuld->setObjectName(QStringLiteral("bb_kuld"));
    BitBtn1 = new QPushButton(QStringLiteral("Bezárás"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    for (QPushButton *b : {BitBtn2, bb_kuld, BitBtn1})
        b->setAutoDefault(false);
    BitBtn1->setAutoDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn2);
    buttons->addWidget(bb_kuld);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addWidget(memo_Uzenet);
    layout->addWidget(memo_Leiras, 1);
    layout->addLayout(buttons);

    connect(BitBtn2, &QPushButton::clicked, this, &Tform_Hibakezeles::BitBtn2Click);
    connect(bb_kuld, &QPushButton::clicked, this, &Tform_Hibakezeles::bb_kuldClick);
    // Bezárás is also the cancel button: Esc reaches reject() through QDialog.
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    AssignMnemonics(this);
}

void Tform_Hibakezeles::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    bb_kuld->setFocus();
}

void Tform_Hibakezeles::appendFacts(const QString &className, const QString &message)
{
    memo_Leiras->appendPlainText(QStringLiteral("\nHibaüzenet típusa: ") + className);
    memo_Leiras->appendPlainText(QStringLiteral("\nA hiaüzenet:") + message);
}

QString Tform_Hibakezeles::describedReport() const
{
    QString d = memo_Leiras->toPlainText();
    d.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    d.replace(u'\n', QStringLiteral("\\n"));
    QString t = ErrorCapture().reportText();
    const QString marker = QStringLiteral("A hiba leírása:");
    const qsizetype at = t.indexOf(marker);
    if (at >= 0)
        t.replace(at, marker.size(), marker + u' ' + d);
    return t;
}

void Tform_Hibakezeles::BitBtn2Click() { QApplication::clipboard()->setText(EncodeReport(describedReport())); }

void Tform_Hibakezeles::bb_kuldClick()
{
    const bool sent = SendMail(LoginInfo.UserEmail, ErrorReportRecipient(), QStringLiteral("KOVRA hibajelentés"), {}, {},
                               describedReport());
    if (sent) {
        InfoBox(QStringLiteral("Köszönjük, hogy hibajelentésével segíti munkánkat!"));
        accept();
    } else {
        InfoBox(QStringLiteral("Hiba történt az e-mail küldésekor. Kérjük másolja ki a vágólapra és küldje el a "
                               "fejelsztőnek! Köszönjük!"));
    }
}
