#pragma once
// A query on the connection: SQL text with ":NAME" parameters, opened with all rows fetched,
// a current row, field access by name, Locate, notifications and a table model for grids.

#include "Backend.h"
#include "Connection.h"

#include <QAbstractTableModel>
#include <QObject>
#include <QPointer>

class Dataset;

// One column of the current row.
class Field {
public:
    Field(const Dataset *ds, int column) : m_ds(ds), m_col(column) {}
    QVariant value() const;
    bool isNull() const { return value().isNull(); }
    QString asString() const;   // rendered text; NULL = ""
    int asInteger() const;      // NULL or no number = 0
    qint64 asLargeInt() const;
    double asFloat() const;
    bool asBoolean() const;     // "1" or "True"
    QDate asDate() const;
    QDateTime asDateTime() const;
    QString name() const;
    FieldType type() const;

private:
    const Dataset *m_ds;
    int m_col;
};

enum class LocateOption { CaseInsensitive = 1, PartialKey = 2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

class DatasetModel;

class Dataset : public QObject {
    Q_OBJECT
public:
    // name: the component name the statement trace shows.
    explicit Dataset(Connection *connection = nullptr, const QString &name = {}, QObject *parent = nullptr);
    ~Dataset() override;

    void setConnection(Connection *connection) { m_connection = connection; }
    Connection *connection() const { return m_connection; }

    void setSql(const QString &sql) { m_sql = sql; }
    const QString &sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    void clearParams() { m_params.clear(); }
    const StatementParams &params() const { return m_params; }

    void open();               // runs the SQL, fetches every row, goes to the first; throws DbError
    qint64 execSql();          // runs a command; the dataset stays closed
    void close();
    bool isActive() const { return m_active; }
    // Reopens with the same text and returns to the same row number where it still exists.
    void refresh();

    int recordCount() const { return m_active ? int(m_data.rows.size()) : 0; }
    int recNo() const { return m_active && !m_data.rows.isEmpty() ? m_row + 1 : 0; } // 1-based; 0 = none
    void setRecNo(int recNo);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const { return recordCount() == 0; }
    void first();
    void next();
    void prior();
    void last();

    int fieldCount() const { return int(m_data.columns.size()); }
    QString fieldName(int column) const { return m_data.columns.value(column).name; }
    FieldType fieldType(int column) const { return m_data.columns.value(column).type; }
    int fieldIndex(const QString &name) const; // case-insensitive; -1 when missing
    Field fieldByName(const QString &name) const; // throws DbError when missing
    Field field(int column) const { return Field(this, column); }
    QVariant value(int row, int column) const;
    QString text(int row, int column) const { return FieldText(value(row, column), fieldType(column)); }

    // Fields separated by ';', one value each; moves to the first matching row.
    bool locate(const QString &fields, const QVariantList &values, LocateOptions options = {});

    DatasetModel *model();
    const ResultSet &result() const { return m_data; }

Q_SIGNALS:
    void afterOpen();
    void afterClose();
    void afterScroll();

private:
    friend class Field;
    void moveTo(int row);

    QPointer<Connection> m_connection;
    QString m_sql;
    StatementParams m_params;
    ResultSet m_data;
    bool m_active = false;
    int m_row = 0;
    bool m_eof = true, m_bof = true;
    DatasetModel *m_model = nullptr;
};

// Opens sql on q (its parameters cleared) and returns the text of column in the first row, the
// empty text when there is no row. q is closed afterwards, also when the statement fails.
QString FirstValue(Dataset &q, const QString &sql, const QString &column);

// The rows of a dataset for a grid: display texts as FieldText renders them, titles = field names.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(Dataset *dataset);
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Column titles by field name (case-insensitive); kept across reopening.
    void setTitle(const QString &fieldName, const QString &title);
    QString title(int column) const;
    Dataset *dataset() const { return m_ds; }

private:
    friend class Dataset;
    Dataset *m_ds;
    QHash<QString, QString> m_titles; // lower-case field name -> title
};
