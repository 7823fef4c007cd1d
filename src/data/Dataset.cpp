#include "Dataset.h"

#include "Connection.h"
#include "DbError.h"

// ---- Field

QVariant Field::value() const
{
    if (!m_ds->m_active || m_ds->m_data.rows.isEmpty())
        return {};
    return m_ds->value(m_ds->m_row, m_col);
}

QString Field::asString() const { return FieldText(value(), type()); }

int Field::asInteger() const { return int(asLargeInt()); }

qint64 Field::asLargeInt() const
{
    const QVariant v = value();
    if (v.isNull())
        return 0;
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    if (ok)
        return n;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? qint64(d) : 0;
}

double Field::asFloat() const { return value().toDouble(); }

bool Field::asBoolean() const
{
    const QString s = asString();
    return s == u"1" || s.compare(u"True", Qt::CaseInsensitive) == 0;
}

QDate Field::asDate() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QString s = v.toString();
    QDate d = QDate::fromString(s.left(10), QStringLiteral("yyyy.MM.dd"));
    if (!d.isValid())
        d = QDate::fromString(s.left(10), Qt::ISODate);
    return d;
}

QDateTime Field::asDateTime() const
{
    const QVariant v = value();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    const QString s = v.toString();
    QDateTime dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(s.left(19), QStringLiteral("yyyy.MM.dd HH:mm:ss"));
    return dt;
}

QString Field::name() const { return m_ds->fieldName(m_col); }

FieldType Field::type() const { return m_ds->fieldType(m_col); }

// ---- Dataset

Dataset::Dataset(Connection *connection, const QString &name, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::setParam(const QString &name, const QVariant &value)
{
    for (auto &p : m_params) {
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    }
    m_params.append({name, value});
}

static Connection &need(Connection *c, const QString &name)
{
    if (!c)
        throw DbError(QStringLiteral("%1: nincs adatbázis-kapcsolat.").arg(name));
    return *c;
}

void Dataset::open()
{
    close();
    Connection &c = need(m_connection, objectName());
    ResultSet data = c.query(objectName(), m_sql, m_params);
    if (m_model)
        m_model->beginResetModel();
    m_data = std::move(data);
    m_active = true;
    m_row = 0;
    m_bof = true;
    m_eof = m_data.rows.isEmpty();
    if (m_model)
        m_model->endResetModel();
    Q_EMIT afterOpen();
    Q_EMIT afterScroll();
}

qint64 Dataset::execSql()
{
    close();
    return need(m_connection, objectName()).execute(objectName(), m_sql, m_params);
}

void Dataset::close()
{
    if (!m_active)
        return;
    if (m_model)
        m_model->beginResetModel();
    m_active = false;
    m_data = ResultSet{};
    m_row = 0;
    m_eof = m_bof = true;
    if (m_model)
        m_model->endResetModel();
    Q_EMIT afterClose();
}

void Dataset::refresh()
{
    const int rec = recNo();
    open();
    if (rec > 1)
        setRecNo(std::min(rec, recordCount()));
}

void Dataset::moveTo(int row)
{
    m_row = row;
    Q_EMIT afterScroll();
}

void Dataset::setRecNo(int recNo)
{
    if (!m_active || m_data.rows.isEmpty() || recNo < 1 || recNo > recordCount())
        return;
    m_bof = m_eof = false;
    moveTo(recNo - 1);
}

void Dataset::first()
{
    m_bof = true;
    m_eof = m_data.rows.isEmpty();
    if (m_active && !m_data.rows.isEmpty())
        moveTo(0);
}

void Dataset::last()
{
    m_eof = true;
    m_bof = m_data.rows.isEmpty();
    if (m_active && !m_data.rows.isEmpty())
        moveTo(int(m_data.rows.size()) - 1);
}

void Dataset::next()
{
    if (!m_active || m_data.rows.isEmpty() || m_row + 1 >= m_data.rows.size()) {
        m_eof = true;
        return;
    }
    m_bof = false;
    m_eof = false;
    moveTo(m_row + 1);
}

void Dataset::prior()
{
    if (!m_active || m_data.rows.isEmpty() || m_row == 0) {
        m_bof = true;
        return;
    }
    m_eof = false;
    m_bof = false;
    moveTo(m_row - 1);
}

int Dataset::fieldIndex(const QString &name) const
{
    for (int c = 0; c < m_data.columns.size(); ++c)
        if (m_data.columns[c].name.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

Field Dataset::fieldByName(const QString &name) const
{
    const int c = fieldIndex(name);
    if (c < 0)
        throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    return Field(this, c);
}

QVariant Dataset::value(int row, int column) const
{
    if (row < 0 || row >= m_data.rows.size() || column < 0 || column >= m_data.columns.size())
        return {};
    return m_data.rows[row][column];
}

bool Dataset::locate(const QString &fields, const QVariantList &values, LocateOptions options)
{
    if (!m_active)
        return false;
    const QStringList names = fields.split(u';', Qt::SkipEmptyParts);
    if (names.size() != values.size())
        return false;
    QVector<int> cols;
    for (const QString &n : names) {
        const int c = fieldIndex(n.trimmed());
        if (c < 0)
            throw DbError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), n.trimmed()));
        cols << c;
    }
    const Qt::CaseSensitivity cs = options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int r = 0; r < m_data.rows.size(); ++r) {
        bool all = true;
        for (int i = 0; i < cols.size() && all; ++i) {
            const QVariant &want = values[i];
            const QString have = text(r, cols[i]);
            if (want.isNull()) {
                all = value(r, cols[i]).isNull();
                continue;
            }
            const QString w = FieldText(want, fieldType(cols[i]));
            all = options.testFlag(LocateOption::PartialKey) ? have.startsWith(w, cs) : have.compare(w, cs) == 0;
        }
        if (all) {
            m_bof = m_eof = false;
            moveTo(r);
            return true;
        }
    }
    return false;
}

DatasetModel *Dataset::model()
{
    if (!m_model)
        m_model = new DatasetModel(this);
    return m_model;
}

QString FirstValue(Dataset &q, const QString &sql, const QString &column)
{
    struct Closer {
        Dataset &q;
        ~Closer() { q.close(); }
    } closer{q};
    q.close();
    q.clearParams();
    q.setSql(sql);
    q.open();
    return q.isEmpty() ? QString() : q.fieldByName(column).asString();
}

// ---- DatasetModel

DatasetModel::DatasetModel(Dataset *dataset) : QAbstractTableModel(dataset), m_ds(dataset) {}

int DatasetModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_ds->recordCount(); }

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_ds->isActive() ? 0 : m_ds->fieldCount();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return m_ds->text(index.row(), index.column());
    if (role == Qt::EditRole)
        return m_ds->value(index.row(), index.column());
    return {};
}

void DatasetModel::setTitle(const QString &fieldName, const QString &title)
{
    m_titles.insert(fieldName.toLower(), title);
    const int c = m_ds->fieldIndex(fieldName);
    if (c >= 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, c, c);
}

QString DatasetModel::title(int column) const
{
    const QString name = m_ds->fieldName(column);
    return m_titles.value(name.toLower(), name);
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return title(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}
