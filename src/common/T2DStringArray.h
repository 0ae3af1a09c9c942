#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Table of wide strings addressed by column and row.
class T2DStringArray
{
public:
    explicit T2DStringArray(int columnCount = 0) : m_columnCount(columnCount) {}

    struct SortColumn {
        int column = 0;
        bool descending = false;
    };

    int ColCount() const { return m_columnCount; }
    void SetColCount(int count);
    int RowCount() const { return int(m_rows.size()); }
    void SetRowCount(int count);

    QString Cell(int column, int row) const;
    void SetCell(int column, int row, const QString &value);

    // Appends a row whose values are given in column order; missing values stay empty,
    // surplus values widen the table. Returns the new row's index.
    int AddRow(const QStringList &values);
    void DeleteRow(int row);
    void Clear();

    // Stable sort by the given columns in order of precedence.
    void Sort(const QList<SortColumn> &columns, Qt::CaseSensitivity cs = Qt::CaseInsensitive);

private:
    int m_columnCount;
    QList<QStringList> m_rows;
};
