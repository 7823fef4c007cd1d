#include "FileChooser.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace {

class DialogChooser final : public FileChooser {
public:
    QString saveFileName(QWidget *parent, const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, QString(), QString(), QtFileFilter(filter));
    }
    QString openFileName(QWidget *parent, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), QtFileFilter(filter));
    }
};

DialogChooser g_dialogs;
FileChooser *g_chooser = nullptr;

FileChooser &chooser() { return g_chooser ? *g_chooser : g_dialogs; }

DocumentOpener &opener()
{
    static DocumentOpener o;
    return o;
}

} // namespace

FileChooser *SetFileChooser(FileChooser *c)
{
    FileChooser *old = g_chooser;
    g_chooser = c;
    return old;
}

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + QString(parts[i + 1]).replace(u';', u' ') + u')';
    return out.join(QStringLiteral(";;"));
}

QString ChooseSaveFile(QWidget *parent, const QString &filter, const QString &defaultExtension)
{
    QString name = chooser().saveFileName(parent, filter);
    if (name.isEmpty())
        return name;
    if (QFileInfo(name).suffix().isEmpty() && !defaultExtension.isEmpty()) {
        if (!name.endsWith(u'.'))
            name += u'.';
        name += defaultExtension;
    }
    return name;
}

QString ChooseOpenFile(QWidget *parent, const QString &filter) { return chooser().openFileName(parent, filter); }

DocumentOpener SetDocumentOpener(DocumentOpener o)
{
    DocumentOpener old = std::move(opener());
    opener() = std::move(o);
    return old;
}

bool OpenDocument(const QString &path)
{
    if (opener())
        return opener()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
