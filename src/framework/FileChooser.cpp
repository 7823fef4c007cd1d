#include "FileChooser.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QUrl>
#include <memory>

namespace {

// The file system model's type and date columns in Hungarian (its headers are translated by the
// catalogue; its own texts follow the system locale and English type names).
class HungarianFileColumns final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        auto *files = qobject_cast<QFileSystemModel *>(sourceModel());
        if (role == Qt::DisplayRole && files && (index.column() == 2 || index.column() == 3)) {
            const QFileInfo info = files->fileInfo(mapToSource(index));
            if (index.column() == 3)
                return info.lastModified().toString(QStringLiteral("yyyy.MM.dd HH:mm"));
            return FileTypeName(info);
        }
        return QIdentityProxyModel::data(index, role);
    }
    static QString FileTypeName(const QFileInfo &info)
    {
        if (info.isRoot())
            return QStringLiteral("Meghajtó");
        if (info.isDir())
            return QStringLiteral("Mappa");
        const QString suffix = info.suffix();
        return suffix.isEmpty() ? QStringLiteral("Fájl") : suffix.toUpper() + QStringLiteral(" fájl");
    }
};

class DialogChooser final : public FileChooser {
public:
    QString saveFileName(QWidget *parent, const QString &filter) override { return run(parent, filter, true); }
    QString openFileName(QWidget *parent, const QString &filter) override { return run(parent, filter, false); }

private:
    static QString run(QWidget *parent, const QString &filter, bool save)
    {
        std::unique_ptr<QFileDialog> d(NewFileDialog(parent, filter, save));
        if (d->exec() != QDialog::Accepted || d->selectedFiles().isEmpty())
            return QString();
        return d->selectedFiles().constFirst();
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

QFileDialog *NewFileDialog(QWidget *parent, const QString &filter, bool save)
{
    auto *d = new QFileDialog(parent, QString(), QString(), QtFileFilter(filter));
    d->setOption(QFileDialog::DontUseNativeDialog);
    d->setProxyModel(new HungarianFileColumns(d));
    d->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    d->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        d->setOption(QFileDialog::DontConfirmOverwrite, false);
    return d;
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
