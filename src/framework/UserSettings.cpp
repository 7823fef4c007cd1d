#include "UserSettings.h"

#include <QWidget>

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KOVRA"),
                                       QStringLiteral("kovra"));
}

static QString positionGroup(const QString &windowName) { return QStringLiteral("Software/KOVRA/Ablakok/") + windowName; }

bool RestoreWindowPosition(QWidget *window, const QString &windowName)
{
    auto s = UserSettings();
    s->beginGroup(positionGroup(windowName));
    int values[4];
    const char *keys[4] = {"Top", "Left", "Width", "Height"};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = s->value(QLatin1String(keys[i])).toInt(&ok);
        // Out-of-range hand edits count as missing.
        if (!ok || values[i] < -10000 || values[i] > 20000 || (i >= 2 && values[i] <= 0))
            return false;
        switch (i) {
        case 0: window->move(window->x(), values[0]); break;
        case 1: window->move(values[1], window->y()); break;
        case 2: window->resize(values[2], window->height()); break;
        case 3: window->resize(window->width(), values[3]); break;
        }
    }
    return true;
}

void SaveWindowPosition(const QWidget *window, const QString &windowName)
{
    auto s = UserSettings();
    s->beginGroup(positionGroup(windowName));
    s->setValue(QStringLiteral("Top"), window->y());
    s->setValue(QStringLiteral("Left"), window->x());
    s->setValue(QStringLiteral("Width"), window->width());
    s->setValue(QStringLiteral("Height"), window->height());
}

void ResetWindowPositions()
{
    auto s = UserSettings();
    s->remove(QStringLiteral("Software/KOVRA/Ablakok"));
}
