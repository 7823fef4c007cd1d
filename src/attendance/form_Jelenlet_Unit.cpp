#include "form_Jelenlet_Unit.h"

#include "Adatmodul.h"
#include "Calendar.h"
#include "Controls.h"
#include "DBGrid.h"
#include "DaySummary.h"
#include "FrozenColumn.h"
#include "DbError.h"
#include "FileChooser.h"
#include "FormFrame.h"
#include "Guard.h"
#include "IniFile.h"
#include "Keyboard.h"
#include "LoginInfo.h"
#include "Messages.h"
#include "TextCodec.h"
#include "TextUtils.h"
#include "VDCComboBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

Tform_Jelenlet *form_Jelenlet = nullptr;

namespace {
const QString DateMask = QStringLiteral("!9999/99/99/;1;_");
const QString BusyText = QStringLiteral("A feldolgozás folyamatban...");
constexpr int ReconnectMaximum = 10;

Connection *sharedConnection() { return form_Adatmodul ? &form_Adatmodul->ADOConn : nullptr; }

QLabel *infoLabel(QWidget *parent, const char *name)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

QStringList textLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = t.split(u'\n');
    if (t.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}
} // namespace

QStringList ImportCodeLines(const QString &text)
{
    QStringList codes;
    for (const QString &line : textLines(text)) {
        const std::optional<QStringList> pieces = Split(line, QStringLiteral("\""), false, 2);
        if (!pieces || pieces->size() < 2)
            continue;
        codes << QString(pieces->at(1)).remove(u',');
    }
    return codes;
}

Tform_Jelenlet::Tform_Jelenlet(QWidget *parent)
    : TAlap_Form(parent), keres(sharedConnection(), QStringLiteral("keres"), this),
      lekerdez(sharedConnection(), QStringLiteral("lekerdez"), this),
      ellenor(sharedConnection(), QStringLiteral("ellenor"), this), m_run(sharedConnection()),
      m_scan(sharedConnection())
{
    setObjectName(QStringLiteral("form_Jelenlet"));
    setWindowTitle(QStringLiteral("Jelenlét"));
    resize(1100, 680);

    bi_datum = new MaskEdit(DateMask, p_Adatok);
    bi_datum->setObjectName(QStringLiteral("bi_datum"));
    bi_datum->setMaximumWidth(120);
    vdc_felev = new TVDCComboBox(p_Adatok);
    vdc_felev->setObjectName(QStringLiteral("vdc_felev"));
    vdc_felev->ADOQuery = &UPDATEQuery;
    vdc_felev->TablaNev = QStringLiteral("felev");
    vdc_felev->IDMezo = QStringLiteral("felev_id");
    vdc_felev->NevMezo = QStringLiteral("felev_nev");
    vdc_orarend = new TVDCComboBox(p_Adatok);
    vdc_orarend->setObjectName(QStringLiteral("vdc_orarend"));
    vdc_orarend->ADOQuery = &UPDATEQuery;
    vdc_orarend->setMinimumWidth(320);

    l_datum = infoLabel(p_Adatok, "l_datum");
    l_hanyadik = infoLabel(p_Adatok, "l_hanyadik");
    l_ido = infoLabel(p_Adatok, "l_ido");

    rg_mi = new TRadioGroup(p_Adatok);
    rg_mi->setObjectName(QStringLiteral("rg_mi"));
    rg_mi->setItems({QStringLiteral("Óra végi olvasás"), QStringLiteral("Hozzá tesz (pl. késés)")}, 2);
    rg_mi->setToolTip(QStringLiteral("Az \"Óra végi olvasást\" csakegyszer, az óra végén használhatja."));

    m_jelenlet = new QPlainTextEdit(p_Adatok);
    m_jelenlet->setObjectName(QStringLiteral("m_jelenlet"));
    m_jelenlet->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_jelenlet->setTabChangesFocus(true);
    l_szam = infoLabel(p_Adatok, "l_szam");
    l_szam->setText(QStringLiteral("0"));
    sb_be = new QToolButton(p_Adatok);
    sb_be->setObjectName(QStringLiteral("sb_be"));
    sb_be->setToolTip(QStringLiteral("Beolvasás"));
    sb_be->setAccessibleName(sb_be->toolTip());
    sb_be->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    sb_be->setAutoRaise(true);
    m_kulso = new QPlainTextEdit(p_Adatok);
    m_kulso->setObjectName(QStringLiteral("m_kulso"));
    m_kulso->hide();

    l_betu = new QLabel(QStringLiteral("12"), p_Adatok);
    l_betu->setObjectName(QStringLiteral("l_betu"));
    SpinButton1 = new TSpinButton(p_Adatok);
    SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
    SpinButton1->setAccessibleName(QStringLiteral("Betűméret"));
    SpinButton1->upButton->setAccessibleName(QStringLiteral("Betűméret növelése"));
    SpinButton1->downButton->setAccessibleName(QStringLiteral("Betűméret csökkentése"));
    l_numlock = infoLabel(p_Adatok, "l_numlock");
    bb_lista = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogListView), QStringLiteral("Jelentések"), p_Adatok);
    bb_lista->setObjectName(QStringLiteral("bb_lista"));
    bb_lista->setAutoDefault(false);
    bb_lista->hide();
    pb_adat = new QProgressBar(p_Adatok);
    pb_adat->setObjectName(QStringLiteral("pb_adat"));
    pb_adat->setRange(0, ReconnectMaximum);
    pb_adat->setValue(0);
    pb_adat->hide();

    dbg_lista = new DBGrid(p_Adatok);
    dbg_lista->setObjectName(QStringLiteral("dbg_lista"));
    dbg_lista->setAccessibleName(QStringLiteral("Jelenléti adatok"));
    dbg_lista->setDataset(&SZURES);
    dbg_lista->addColumn(QStringLiteral("hallgato"), QStringLiteral("Hallgató"), true, 230);
    for (int n = 1; n <= MatrixDateColumns; ++n) {
        GridColumn &c = dbg_lista->addColumn(QString::number(n), QString::number(n), false, 52);
        c.alignment = Qt::AlignCenter;
        c.symbolFont = true;
    }
    FreezeFirstColumn(dbg_lista);
    // The matrix is read during a capture; its rows never touch the capture's fields.
    KeepListFreeWhileEditing(dbg_lista);
    l_letszam = infoLabel(p_Adatok, "l_letszam");
    l_olvasas = infoLabel(p_Adatok, "l_olvasas");
    l_olvasas->setWordWrap(true);
    l_olvasas->setMinimumHeight(l_olvasas->fontMetrics().height() * 2);

    // Left: the lesson and the code list; right: the matrix.
    auto *lesson = new QGridLayout;
    lesson->addWidget(BuddyLabel(QStringLiteral("Dátum"), bi_datum, p_Adatok), 0, 0);
    lesson->addWidget(bi_datum, 0, 1, Qt::AlignLeft);
    AddLabelledField(lesson, 1, 0, QStringLiteral("Félév"), vdc_felev);
    AddLabelledField(lesson, 2, 0, QStringLiteral("Órarend"), vdc_orarend);
    lesson->addWidget(l_datum, 3, 1);
    lesson->addWidget(l_hanyadik, 4, 1);
    lesson->addWidget(l_ido, 5, 1);
    lesson->setColumnStretch(1, 1);

    auto *codesHead = new QHBoxLayout;
    codesHead->addWidget(BuddyLabel(QStringLiteral("Résztvevő hallgatók Neptun kódja"), m_jelenlet, p_Adatok), 1);
    codesHead->addWidget(l_szam);
    codesHead->addWidget(sb_be);

    auto *font = new QHBoxLayout;
    font->addWidget(new QLabel(QStringLiteral("Betűméret:"), p_Adatok));
    font->addWidget(l_betu);
    font->addWidget(SpinButton1);
    font->addStretch(1);
    font->addWidget(l_numlock);

    auto *left = new QVBoxLayout;
    left->addLayout(lesson);
    left->addWidget(rg_mi);
    left->addLayout(codesHead);
    left->addWidget(m_jelenlet, 1);
    left->addWidget(l_olvasas);
    left->addLayout(font);
    left->addWidget(pb_adat);
    left->addWidget(bb_lista, 0, Qt::AlignLeft);

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("Jelenléti adatok"), p_Adatok));
    countRow->addWidget(l_letszam);
    countRow->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addLayout(countRow);
    right->addWidget(dbg_lista, 1);

    auto *layout = new QHBoxLayout(p_Adatok);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);

    p_uzenet = new QLabel(BusyText, this);
    p_uzenet->setObjectName(QStringLiteral("p_uzenet"));
    p_uzenet->setAlignment(Qt::AlignCenter);
    p_uzenet->setAutoFillBackground(true);
    p_uzenet->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p_uzenet->setLineWidth(2);
    QPalette bp = p_uzenet->palette();
    bp.setColor(QPalette::Window, colors::Yellow);
    bp.setColor(QPalette::WindowText, colors::Maroon);
    p_uzenet->setPalette(bp);
    QFont bf = p_uzenet->font();
    bf.setPointSize(16);
    bf.setBold(true);
    p_uzenet->setFont(bf);
    p_uzenet->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { l_szam->setText(QString::number(codeLines().size())); });
    Timer1->start();

    ConnectGuarded(vdc_felev, &TVDCComboBox::valueChanged, this, [this] { vdc_felevChange(); });
    ConnectGuarded(vdc_orarend, &TVDCComboBox::valueChanged, this,
                   [this](TVDCComboBox::Change how) { vdc_orarendChange(how != TVDCComboBox::Change::Stepped); });
    ConnectGuarded(rg_mi, &TRadioGroup::itemClicked, this, [this] { rg_miClick(); });
    ConnectGuarded(sb_be, &QToolButton::clicked, this, [this] { sb_beClick(); });
    ConnectGuarded(dbg_lista, &QAbstractItemView::doubleClicked, this, [this] { dbg_listaDblClick(); });
    ConnectGuarded(bb_lista, &QPushButton::clicked, this,
                   [this] { OpenRegisteredWindow(QStringLiteral("form_JelenletTor"), this); });
    connect(SpinButton1, &TSpinButton::upClick, this, [this] { setFontSize(l_betu->text().toInt() + 1); });
    connect(SpinButton1, &TSpinButton::downClick, this, [this] { setFontSize(l_betu->text().toInt() - 1); });

    m_run.progress = [this](const QStringList &lines) {
        // The list is repainted at most every 50 ms; a run over hundreds of students stays fast.
        if (m_repainted.isValid() && m_repainted.elapsed() < 50)
            return;
        m_repainted.start();
        setCodeLines(lines);
        m_jelenlet->repaint();
    };
    m_run.saveBackup = [this](const QStringList &) { SaveBackup(); };
    m_run.wait = [this](int ms) {
        pb_adat->setValue(std::min(m_run.connectionAttempts(), ReconnectMaximum));
        if (connectionWait)
            connectionWait(ms);
        else
            QThread::msleep(ulong(ms));
    };
}

Tform_Jelenlet::~Tform_Jelenlet()
{
    if (form_Jelenlet == this)
        form_Jelenlet = nullptr;
}

QString Tform_Jelenlet::BackupFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/mentes.txt");
}

QStringList Tform_Jelenlet::codeLines() const { return textLines(m_jelenlet->toPlainText()); }

void Tform_Jelenlet::setCodeLines(const QStringList &lines)
{
    m_jelenlet->setPlainText(lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n');
    l_szam->setText(QString::number(lines.size()));
    // The caret waits on the empty line below the codes: the next code never joins one of them.
    QTextCursor end = m_jelenlet->textCursor();
    end.movePosition(QTextCursor::End);
    m_jelenlet->setTextCursor(end);
}

void Tform_Jelenlet::appendCodes(const QStringList &codes)
{
    setCodeLines(codeLines() + codes);
    caretToNewLine();
}

void Tform_Jelenlet::caretToNewLine()
{
    QTextCursor end = m_jelenlet->textCursor();
    end.movePosition(QTextCursor::End);
    const QString text = m_jelenlet->toPlainText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        end.insertText(QStringLiteral("\n"));
    m_jelenlet->setTextCursor(end);
    m_jelenlet->ensureCursorVisible();
}

void Tform_Jelenlet::scanRead(const QString &line)
{
    QString code = line.trimmed();
    code.replace(u'ö', u'0');
    if (code.isEmpty())
        return;
    // Only the latest code waits: a fast reader never queues lookups behind its keys.
    m_pendingScan = code;
    if (m_scanQueued)
        return;
    m_scanQueued = true;
    QTimer::singleShot(0, this, [this] { showScan(); });
}

void Tform_Jelenlet::showScan()
{
    m_scanQueued = false;
    const QString code = std::exchange(m_pendingScan, QString());
    if (code.isEmpty())
        return;
    const QString lesson = vdc_orarend->currentIndex() >= 0 ? vdc_orarend->Eredmeny() : QString();
    ScanResult r;
    try {
        r = m_scan.lookup(code, lesson);
    } catch (...) {
        // The reading goes on; the line only tells that it could not look.
        r.code = code;
        r.kind = ScanResult::Failed;
    }
    QPalette p = l_olvasas->palette();
    p.setColor(QPalette::WindowText, r.kind == ScanResult::Enrolled ? QColor(0, 128, 0) : colors::Maroon);
    l_olvasas->setPalette(p);
    l_olvasas->setText(ScanLookup::Text(r));
}

void Tform_Jelenlet::SaveBackup() const
{
    QDir().mkpath(QFileInfo(BackupFilePath()).absolutePath());
    QString text;
    for (const QString &l : codeLines())
        text += l + QStringLiteral("\r\n");
    // Written whole or not at all: a crash while saving leaves the previous backup.
    QSaveFile f(BackupFilePath());
    if (f.open(QIODevice::WriteOnly)) {
        f.write(text.toUtf8());
        f.commit();
    }
}

void Tform_Jelenlet::loadBackup()
{
    QFile f(BackupFilePath());
    if (f.open(QIODevice::ReadOnly))
        setCodeLines(textLines(DecodeUtf8OrWindows1250(f.readAll())));
}

void Tform_Jelenlet::setFontSize(int size)
{
    l_betu->setText(QString::number(size));
    QFont f = m_jelenlet->font();
    f.setPointSize(std::max(size, 1));
    m_jelenlet->setFont(f);
}

void Tform_Jelenlet::FormShow()
{
    TAlap_Form::FormShow();
    const QString size = Config().ReadString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), QStringLiteral("12"));
    if (!size.isEmpty())
        setFontSize(size.toInt());
    m_makeUp = false;
    vdc_felev->Feltoltes();
    CurrentSemesterId = FindCurrentSemester();
    vdc_felev->Ertek(CurrentSemesterId);
    bb_lista->setVisible(LoginInfo.RoleId == 2);
    l_numlock->setText(NumLockOn() ? QStringLiteral("Num Lock bekapcsolva!") : QStringLiteral("Num Lock kikapcsolva!"));
    if (QFile::exists(BackupFilePath())) {
        InfoBox(QStringLiteral("Hiba történt a legútóbbi beolvasásnál!"));
        if (ConfirmBox(QStringLiteral("Szeretné visszatölteni a kódokat?"))) {
            bb_ujClick();
            loadBackup();
            // The reader's next code goes below the restored ones, not into the date.
            m_jelenlet->setFocus(Qt::OtherFocusReason);
            caretToNewLine();
        }
    }
}

void Tform_Jelenlet::bb_ujClick()
{
    TAlap_Form::bb_ujClick();
    hideDateColumns();
    m_jelenlet->clear();
    try {
        bi_datum->setMaskedText(ServerNow(1));
        bi_datumExit();
        bi_datum->setFocus();
    } catch (const DbError &) {
        checkConnection();
    }
}

bool Tform_Jelenlet::checkConnection()
{
    const bool ok = m_run.checkConnection();
    pb_adat->setValue(std::min(m_run.connectionAttempts(), ReconnectMaximum));
    return ok;
}

void Tform_Jelenlet::bi_datumExit()
{
    if (EditMode != EditState::New)
        return;
    vdc_orarend->clearChoice();
    vdc_felev->clearChoice();
    m_checkedDate.clear();
    if (!CheckDateText(bi_datum->maskedText())) {
        bi_datum->setFocus();
        return;
    }
    m_checkedDate = bi_datum->maskedText();
    if (SemesterOfDate(bi_datum->maskedText()).isEmpty())
        InfoBox(QStringLiteral("A dátum nem tartozik félévhez!"));
}

void Tform_Jelenlet::vdc_felevChange()
{
    const QString date = bi_datum->maskedText();
    if (DateTextToCompact(date).trimmed().isEmpty() || !ParseDateText(date).isValid())
        return;
    vdc_orarend->Lekerdezes = LessonListStatement(vdc_felev->Eredmeny(), DateTextToCompact(date));
    vdc_orarend->Feltoltes();
}

void Tform_Jelenlet::vdc_orarendChange(bool moveOn)
{
    CurrentTimetableWeekly = false;
    m_makeUp = false;
    l_ido->clear();
    CurrentTimetableId = vdc_orarend->Eredmeny();
    const LessonInfo info = ReadLesson(keres, vdc_felev->Eredmeny(), CurrentTimetableId);
    if (info.found) {
        const QDate date = ParseDateText(bi_datum->maskedText());
        l_datum->setText(LongDateText(date));
        QString week = QString::number(SemesterWeekNumber(date, CurrentTimetableId)) + QStringLiteral(". hét, ")
                       + SemesterWeekParity(date, CurrentTimetableId);
        m_makeUp = info.makeUpAllowed;
        if (info.weekly) {
            CurrentTimetableWeekly = true;
            week += QStringLiteral(" (heti elem)");
        }
        l_hanyadik->setText(week);
        l_ido->setText(info.start + QStringLiteral(" - ") + info.end);
    }
    DaySummary();
    if (moveOn)
        m_jelenlet->setFocus();
}

void Tform_Jelenlet::hideDateColumns()
{
    for (int i = 1; i < dbg_lista->columnCount(); ++i)
        dbg_lista->setColumnVisible(i, false);
}

void Tform_Jelenlet::DaySummary()
{
    const QString lesson = vdc_orarend->currentIndex() >= 0 ? vdc_orarend->Eredmeny() : QString();
    const QString semester = vdc_felev->currentIndex() >= 0 ? vdc_felev->Eredmeny() : QString();
    hideDateColumns();
    const DaySummaryResult r = ComputeDaySummary(lesson, semester, keres, SZURES, UPDATEQuery, ellenor);
    // Dates beyond the fifteenth have no column in the matrix.
    for (int k = 0; k < r.dateTitles.size() && k + 1 < dbg_lista->columnCount(); ++k) {
        dbg_lista->setColumnVisible(k + 1, true);
        dbg_lista->setTitle(k + 1, r.dateTitles[k]);
    }
    if (r.opened)
        l_letszam->setText(QString::number(r.count));
}

void Tform_Jelenlet::rg_miClick()
{
    if (rg_mi->itemIndex() == 0 && RecentEndOfLessonReading(ellenor, vdc_orarend->currentText()))
        InfoBox(QStringLiteral("Történt már újraolvasás. Használja a \"Hozzá tesz\" lehetőséget."));
}

void Tform_Jelenlet::sb_beClick()
{
    m_kulso->clear();
    const QString file = ChooseOpenFile(this, QString());
    if (file.isEmpty())
        return;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        throw KovraError(QStringLiteral("A fájl nem olvasható: ") + file);
    m_kulso->setPlainText(DecodeUtf8OrWindows1250(f.readAll()));
    appendCodes(ImportCodeLines(m_kulso->toPlainText()));
}

void Tform_Jelenlet::dbg_listaDblClick()
{
    if (!SZURES.isActive() || SZURES.isEmpty())
        return;
    appendCodes({SZURES.fieldByName(QStringLiteral("hallgato_kod")).asString()});
}

void Tform_Jelenlet::bb_felveszClick()
{
    p_uzenet->setText(BusyText);
    p_uzenet->setGeometry((width() - 420) / 2, (height() - 90) / 2, 420, 90);
    p_uzenet->show();
    p_uzenet->raise();
    p_uzenet->repaint();

    CaptureRequest request;
    request.dateText = bi_datum->maskedText();
    request.semesterId = vdc_felev->currentIndex() >= 0 ? vdc_felev->Eredmeny() : QString();
    request.lessonId = vdc_orarend->currentIndex() >= 0 ? vdc_orarend->Eredmeny() : QString();
    request.lessonName = vdc_orarend->currentText();
    request.mode = rg_mi->itemIndex() == 0 ? CaptureMode::EndOfLesson
                   : rg_mi->itemIndex() == 1 ? CaptureMode::Append
                                             : CaptureMode::None;
    request.makeUpAllowed = m_makeUp;

    QStringList lines = codeLines();
    // A database error leaves the busy panel, the rows written so far and the backup file.
    const CaptureOutcome outcome = m_run.run(request, lines);
    pb_adat->setValue(std::min(m_run.connectionAttempts(), ReconnectMaximum));
    if (outcome != CaptureOutcome::Done) {
        p_uzenet->hide();
        return;
    }
    setCodeLines(lines);
    DaySummary();
    TAlap_Form::bb_felveszClick();
    p_uzenet->hide();
    QFile::remove(BackupFilePath());
}

void Tform_Jelenlet::bb_megsemClick()
{
    TAlap_Form::bb_megsemClick();
    l_ido->clear();
    l_datum->clear();
    l_hanyadik->clear();
    SZURES.close();
}

void Tform_Jelenlet::bb_torolClick()
{
    const QString lesson = vdc_orarend->currentIndex() >= 0 ? vdc_orarend->Eredmeny() : QStringLiteral("null");
    DeleteDayAttendance(lesson, DateTextToCompact(bi_datum->maskedText()), keres);
    DaySummary();
    TAlap_Form::bb_torolClick();
}

void Tform_Jelenlet::sb_kilepClick()
{
    Config().WriteString(QStringLiteral("Hibakezeles"), QStringLiteral("BETU"), l_betu->text());
    TAlap_Form::sb_kilepClick();
}

void Tform_Jelenlet::enterReleased()
{
    QString text = m_jelenlet->toPlainText();
    if (text.contains(u'ö')) {
        text.replace(u'ö', u'0');
        m_jelenlet->setPlainText(text);
    }
    QTextCursor end = m_jelenlet->textCursor();
    end.movePosition(QTextCursor::End);
    m_jelenlet->setTextCursor(end);
    m_jelenlet->ensureCursorVisible();
}

bool Tform_Jelenlet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == bi_datum && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // A date left as it was checked changes nothing.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && (m_checkedDate.isEmpty() || bi_datum->maskedText() != m_checkedDate))
            RunGuarded([this] { bi_datumExit(); });
    } else if (watched == m_jelenlet && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (event->type() == QEvent::KeyPress) {
            NoteKeypadKey(key);
            l_numlock->setText(NumLockOn() ? QStringLiteral("Num Lock bekapcsolva!")
                                           : QStringLiteral("Num Lock kikapcsolva!"));
            if (enter) {
                SaveBackup();
                scanRead(m_jelenlet->textCursor().block().text());
            }
        } else if (enter && !key->isAutoRepeat()) {
            enterReleased();
        }
    } else if (event->type() == QEvent::MouseButtonRelease && m_jelenlet && watched == m_jelenlet->viewport()) {
        // A click below the last line starts a new line at the end, never the end of the last code.
        QTextCursor end = m_jelenlet->textCursor();
        end.movePosition(QTextCursor::End);
        end.movePosition(QTextCursor::StartOfBlock);
        const int lastLineBottom = m_jelenlet->cursorRect(end).bottom();
        if (static_cast<QMouseEvent *>(event)->position().y() > lastLineBottom)
            caretToNewLine();
    }
    return TAlap_Form::eventFilter(watched, event);
}
