#include "FormFrame.h"

#include "Controls.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormFrame BuildFormFrame(QDialog *form)
{
    form->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto *root = new QVBoxLayout(form);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    auto *data = new QWidget(form);
    data->setObjectName(QStringLiteral("p_Adatok"));
    data->setFont(DataPanelFont());
    QPalette dp = data->palette();
    dp.setColor(QPalette::WindowText, colors::Navy);
    data->setPalette(dp);
    root->addWidget(data, 1);

    auto *bar = new QFrame(form);
    bar->setObjectName(QStringLiteral("p_Vezerlosav"));
    bar->setFixedHeight(44);
    bar->setAutoFillBackground(true);
    QPalette vp = bar->palette();
    vp.setColor(QPalette::Window, colors::MoneyGreen);
    bar->setPalette(vp);
    root->addWidget(bar);

    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    return {data, bar, row};
}

QLabel *BuddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent ? parent : buddy->parentWidget());
    l->setBuddy(buddy);
    return l;
}

QLabel *AddLabelledField(QGridLayout *grid, int row, int column, const QString &caption, QWidget *control, int columnSpan)
{
    QLabel *label = BuddyLabel(caption, control, control->parentWidget() ? nullptr : grid->parentWidget());
    grid->addWidget(label, row, column);
    grid->addWidget(control, row, column + 1, 1, columnSpan);
    return label;
}

QFont ControlBarFont()
{
    QFont f(QStringLiteral("Calibri"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

void SetBarButtonColour(QPushButton *button, const QColor &colour)
{
    QPalette p = button->palette();
    p.setColor(QPalette::Active, QPalette::ButtonText, colour);
    p.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor::fromRgb(DisabledBarButtonText));
    button->setPalette(p);
}

QPushButton *CaptionButton(QWidget *bar, const char *name, const QString &caption, QStyle::StandardPixmap icon)
{
    auto *b = new QPushButton(bar->style()->standardIcon(icon), caption, bar);
    b->setObjectName(QLatin1String(name));
    b->setFont(ControlBarFont());
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(34);
    SetBarButtonColour(b, b->palette().color(QPalette::Active, QPalette::ButtonText));
    return b;
}

QPushButton *GlyphButton(QWidget *bar, const char *name, const QString &hint, QStyle::StandardPixmap icon)
{
    auto *b = new QPushButton(bar->style()->standardIcon(icon), QString(), bar);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(hint);
    b->setAccessibleName(hint);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    b->setMinimumSize(40, 34);
    return b;
}
