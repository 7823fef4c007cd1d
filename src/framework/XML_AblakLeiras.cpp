#include "XML_AblakLeiras.h"

#include "Calendar.h"
#include "Controls.h"
#include "FileChooser.h"
#include "Guard.h"
#include "TextCodec.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QXmlStreamReader>

namespace {

const QString Filter = QStringLiteral("Ablak mentések|*.ael");
const QString Eol = QStringLiteral("\r\n");

QString fieldLine(const QString &name, const QString &value, int tag)
{
    return QStringLiteral("  <mezo><nev>") + name + QStringLiteral("</nev><ertek>") + EscapeAelText(value)
           + QStringLiteral("</ertek><tag>") + QString::number(tag) + QStringLiteral("</tag></mezo>") + Eol;
}

QString gridLine(TStringGrid *g)
{
    QString s = QStringLiteral("  <mezo><nev>") + g->objectName() + QStringLiteral("</nev><ertek></ertek><tag>")
                + QString::number(Tag(g)) + QStringLiteral("</tag><sorokszama>") + QString::number(g->rowCount())
                + QStringLiteral("</sorokszama><oszlopokszama>") + QString::number(g->columnCount())
                + QStringLiteral("</oszlopokszama>");
    for (int y = 0; y < g->rowCount(); ++y)
        for (int x = 0; x < g->columnCount(); ++x)
            s += QStringLiteral("<cella x=\"") + QString::number(x) + QStringLiteral("\" y=\"") + QString::number(y)
                 + QStringLiteral("\">") + EscapeAelText(g->cell(x, y)) + QStringLiteral("</cella>");
    return s + QStringLiteral("</mezo>") + Eol;
}

struct Cell {
    int x = 0, y = 0;
    QString text;
};

struct Entry {
    QString nev, ertek, tag, rows, columns;
    QVector<Cell> cells;
};

int number(const QString &text, const QString &what)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok)
        throw KovraError(QStringLiteral("Az ablakmentésben a(z) %1 értéke nem szám: '%2'").arg(what, text));
    return n;
}

// The control named name directly in container: panels are searched, frames are not entered.
QWidget *findControl(QWidget *container, const QString &name)
{
    QWidget *found = nullptr;
    ForEachControl(container, [&](QWidget *w, ControlKind, const QString &prefix) {
        if (!found && prefix.isEmpty() && w->objectName() == name)
            found = w;
    });
    return found;
}

void apply(QWidget *window, const Entry &e)
{
    QWidget *w = nullptr;
    QWidget *in = window;
    for (const QString &part : e.nev.split(u'.')) {
        w = findControl(in, part);
        if (!w)
            return; // saved by another layout of the window
        in = w;
    }
    SetTag(w, number(e.tag, QStringLiteral("tag")));
    switch (KindOf(w)) {
    case ControlKind::Edit: static_cast<QLineEdit *>(w)->setText(e.ertek); break;
    case ControlKind::MaskEdit: static_cast<MaskEdit *>(w)->setMaskedText(e.ertek); break;
    case ControlKind::Combo: {
        auto *c = static_cast<QComboBox *>(w);
        if (c->isEditable())
            c->setEditText(e.ertek);
        else
            c->setCurrentIndex(c->findText(e.ertek));
        break;
    }
    case ControlKind::RichEdit: static_cast<QTextEdit *>(w)->setPlainText(e.ertek); break;
    case ControlKind::Memo: static_cast<QPlainTextEdit *>(w)->setPlainText(e.ertek); break;
    case ControlKind::SpinEdit: static_cast<QSpinBox *>(w)->setValue(number(e.ertek, e.nev)); break;
    case ControlKind::PageControl: static_cast<QTabWidget *>(w)->setCurrentIndex(number(e.ertek, e.nev)); break;
    case ControlKind::DateTimePicker: {
        const QString t = e.ertek.trimmed();
        const QDate d(t.size() == 8 ? t.left(4).toInt() : 0, t.mid(4, 2).toInt(), t.mid(6, 2).toInt());
        if (!d.isValid())
            throw KovraError(QStringLiteral("Az ablakmentésben a(z) %1 dátuma hibás: '%2'").arg(e.nev, e.ertek));
        static_cast<TDateTimePicker *>(w)->setDate(d);
        break;
    }
    case ControlKind::StringGrid: {
        auto *g = static_cast<TStringGrid *>(w);
        g->setRowCount(number(e.rows, QStringLiteral("sorokszama")));
        g->setColumnCount(number(e.columns, QStringLiteral("oszlopokszama")));
        for (const Cell &c : e.cells)
            g->setCell(c.x, c.y, c.text);
        break;
    }
    default: break;
    }
}

} // namespace

QString EscapeAelText(const QString &text)
{
    QString s = text;
    s.replace(u'&', QStringLiteral("&amp;"));
    s.replace(u'<', QStringLiteral("&lt;"));
    s.replace(u'>', QStringLiteral("&gt;"));
    return s;
}

void SaveWindowValues(QWidget *window, const QString &fileName)
{
    QString name = fileName;
    if (name.isEmpty()) {
        name = ChooseSaveFile(window, Filter, QStringLiteral("ael"));
        if (name.isEmpty())
            return;
    }
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" ?>") + Eol
                  + QStringLiteral("<ablak_ertekek>") + Eol + QStringLiteral(" <ablak_nev>") + window->objectName()
                  + QStringLiteral("</ablak_nev>") + Eol;
    ForEachControl(window, [&](QWidget *w, ControlKind kind, const QString &prefix) {
        if (w->objectName().isEmpty())
            return;
        const QString nev = prefix + w->objectName();
        const int tag = Tag(w);
        switch (kind) {
        case ControlKind::Edit: out += fieldLine(nev, static_cast<QLineEdit *>(w)->text(), tag); break;
        case ControlKind::MaskEdit: out += fieldLine(nev, static_cast<MaskEdit *>(w)->maskedText(), tag); break;
        case ControlKind::Combo: out += fieldLine(nev, static_cast<QComboBox *>(w)->currentText(), tag); break;
        case ControlKind::StringGrid: out += gridLine(static_cast<TStringGrid *>(w)); break;
        case ControlKind::SpinEdit: out += fieldLine(nev, QString::number(static_cast<QSpinBox *>(w)->value()), tag); break;
        case ControlKind::RichEdit: out += fieldLine(nev, static_cast<QTextEdit *>(w)->toPlainText(), tag); break;
        case ControlKind::Memo: {
            QString t = static_cast<QPlainTextEdit *>(w)->toPlainText();
            t.replace(u'\n', Eol);
            out += fieldLine(nev, t, tag);
            break;
        }
        case ControlKind::DateTimePicker:
            out += fieldLine(nev, CompactDateText(static_cast<TDateTimePicker *>(w)->date()), tag);
            break;
        case ControlKind::PageControl:
            out += fieldLine(nev, QString::number(static_cast<QTabWidget *>(w)->currentIndex()), tag);
            break;
        default: break;
        }
    });
    out += QStringLiteral("</ablak_ertekek>") + Eol;

    QSaveFile f(name);
    if (!f.open(QIODevice::WriteOnly) || f.write(EncodeText(out, Charset::Windows1250)) < 0 || !f.commit())
        throw KovraError(QStringLiteral("Az ablakmentés nem írható: %1 (%2)").arg(name, f.errorString()));
}

void LoadWindowValues(QWidget *window, const QString &fileName)
{
    QString name = fileName;
    if (name.isEmpty()) {
        name = ChooseOpenFile(window, Filter);
        if (name.isEmpty())
            return;
    }
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        throw KovraError(QStringLiteral("Az ablakmentés nem olvasható: %1 (%2)").arg(name, f.errorString()));
    const QString text = DecodeText(f.readAll(), Charset::Iso8859_2);

    // The whole document is parsed before anything is applied.
    QXmlStreamReader xml(text);
    QString windowName;
    QVector<Entry> entries;
    Entry *current = nullptr;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView el = xml.name();
        if (el == u"ablak_nev" && !current) {
            windowName = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (el == u"mezo") {
            entries.append(Entry{});
            current = &entries.last();
        } else if (current && el == u"nev") {
            current->nev = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (current && el == u"ertek") {
            current->ertek = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (current && el == u"tag") {
            current->tag = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (current && el == u"sorokszama") {
            current->rows = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (current && el == u"oszlopokszama") {
            current->columns = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (current && el == u"cella") {
            Cell c;
            c.x = number(xml.attributes().value(QLatin1String("x")).toString(), QStringLiteral("cella x"));
            c.y = number(xml.attributes().value(QLatin1String("y")).toString(), QStringLiteral("cella y"));
            c.text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            current->cells << c;
        }
    }
    if (xml.hasError())
        throw KovraError(QStringLiteral("Az ablakmentés hibás: %1 (%2. sor: %3)")
                             .arg(name)
                             .arg(xml.lineNumber())
                             .arg(xml.errorString()));
    if (windowName != window->objectName())
        return;
    for (const Entry &e : std::as_const(entries))
        apply(window, e);
}
