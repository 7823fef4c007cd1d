#pragma once
// The open and save file dialogs behind a replaceable chooser (tests answer them by script), and
// the replaceable opener of finished documents (the desktop's default program).

#include <QString>
#include <functional>

class QWidget;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // filter in the window definitions' notation: "Szöveges fájlok|*.txt". Empty = cancelled.
    virtual QString saveFileName(QWidget *parent, const QString &filter) = 0;
    virtual QString openFileName(QWidget *parent, const QString &filter) = 0;
};

// Installs chooser (not owned); nullptr restores the file dialogs. Returns the previous one.
FileChooser *SetFileChooser(FileChooser *chooser);

// Asks for a file name to write; a name without extension gets defaultExtension ("txt").
QString ChooseSaveFile(QWidget *parent, const QString &filter, const QString &defaultExtension);
QString ChooseOpenFile(QWidget *parent, const QString &filter);

// The program's file dialog: Qt's own (not the platform's), listing type names ("Mappa",
// "TXT fájl") and dates ("2026.12.11 14:05") in Hungarian. save chooses the save mode.
class QFileDialog;
QFileDialog *NewFileDialog(QWidget *parent, const QString &filter, bool save);

// "Szöveges fájlok|*.txt" -> "Szöveges fájlok (*.txt)"; pairs separated by "|".
QString QtFileFilter(const QString &filter);

// Opens a finished document with the desktop's default program; false when nothing could.
using DocumentOpener = std::function<bool(const QString &path)>;
DocumentOpener SetDocumentOpener(DocumentOpener opener);
bool OpenDocument(const QString &path);
