#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallHungarianTranslations()
{
    const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
    QLocale::setDefault(hungarian);
    // qtbase holds the dialogs, the widgets' context menus and the standard buttons.
    auto *t = new QTranslator(QCoreApplication::instance());
    if (!t->load(hungarian, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    return true;
}
