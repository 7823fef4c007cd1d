#include "Indito2.h"

#include "FileChooser.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "UserSettings.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

Tform_Indito2::Tform_Indito2(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("form_Indito2"));
    setWindowTitle(QStringLiteral("Segítség"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto label = [this](const char *name, const QString &text, bool link) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        if (link) {
            l->setCursor(Qt::PointingHandCursor);
            QFont f = l->font();
            f.setUnderline(true);
            l->setFont(f);
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, Qt::blue);
            l->setPalette(p);
            l->installEventFilter(this);
        }
        return l;
    };
    Label3 = label("Label3", QStringLiteral("Dokumentáció"), false);
    QFont hf = Label3->font();
    hf.setBold(true);
    hf.setPointSize(hf.pointSize() + 2);
    Label3->setFont(hf);
    Label3->installEventFilter(this);
    Label1 = label("Label1", QStringLiteral("KOVRA felhasználói leírás"), true);
    Label2 = label("Label2", QString::fromUtf8(DeveloperContact), false);
    Label4 = label("Label4", QString::fromLatin1(DeveloperMailAddress), true);
    bb_ablak = new QPushButton(QStringLiteral("Ablak adatok törlése"), this);
    bb_ablak->setObjectName(QStringLiteral("bb_ablak"));
    bb_ablak->setAutoDefault(false);
    connect(bb_ablak, &QPushButton::clicked, this, &Tform_Indito2::bb_ablakClick);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label3);
    layout->addWidget(Label1);
    layout->addSpacing(12);
    layout->addWidget(Label2);
    layout->addWidget(Label4);
    layout->addSpacing(12);
    layout->addWidget(bb_ablak);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString Tform_Indito2::ManualPath()
{
    return ManualPathFor(QDir::currentPath(), QCoreApplication::applicationDirPath());
}

QString Tform_Indito2::ManualPathFor(const QString &workDir, const QString &exeDir)
{
    const QString here = workDir + QStringLiteral("/KOVRA.pdf");
    if (QFileInfo::exists(here))
        return here;
    const QString beside = exeDir + QStringLiteral("/KOVRA.pdf");
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/doc/kovra/KOVRA.pdf"));
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return installed;
    return beside;
}

bool Tform_Indito2::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label1 || watched == Label3) {
            openManual();
            return true;
        }
        if (watched == Label4) {
            // A missing mail handler shows nothing.
            QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + Label4->text()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tform_Indito2::openManual()
{
    const QString path = ManualPath();
    if (OpenDocument(path))
        return;
    if (QFileInfo::exists(path))
        InfoBox(QStringLiteral("Nincs program, amely a felhasználói leírást megnyitná. A fájl helye: ")
                + QDir::toNativeSeparators(path));
    else
        InfoBox(QStringLiteral("A felhasználói leírás nem található. Helye: ") + QDir::toNativeSeparators(path));
}

void Tform_Indito2::bb_ablakClick()
{
    if (ConfirmBox(QStringLiteral("Biztosan törölhetem az ablakok pozícióját és egyéb mentett tulajdonságát?")))
        ResetWindowPositions();
}
