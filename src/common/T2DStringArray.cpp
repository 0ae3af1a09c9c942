#include "common/T2DStringArray.h"

#include <algorithm>

void T2DStringArray::SetColCount(int count)
{
    m_columnCount = std::max(0, count);
    for (QStringList &row : m_rows)
        row.resize(m_columnCount);
}

void T2DStringArray::SetRowCount(int count)
{
    m_rows.resize(std::max(0, count));
    for (QStringList &row : m_rows)
        row.resize(m_columnCount);
}

QString T2DStringArray::Cell(int column, int row) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columnCount)
        return QString();
    return m_rows.at(row).at(column);
}

void T2DStringArray::SetCell(int column, int row, const QString &value)
{
    if (column < 0 || row < 0)
        return;
    if (column >= m_columnCount)
        SetColCount(column + 1);
    if (row >= m_rows.size())
        SetRowCount(row + 1);
    m_rows[row][column] = value;
}

int T2DStringArray::AddRow(const QStringList &values)
{
    if (values.size() > m_columnCount)
        SetColCount(int(values.size()));
    QStringList row = values;
    row.resize(m_columnCount);
    m_rows.append(row);
    return int(m_rows.size()) - 1;
}

void T2DStringArray::DeleteRow(int row)
{
    if (row >= 0 && row < m_rows.size())
        m_rows.removeAt(row);
}

void T2DStringArray::Clear()
{
    m_rows.clear();
}

void T2DStringArray::Sort(const QList<SortColumn> &columns, Qt::CaseSensitivity cs)
{
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](const QStringList &a, const QStringList &b) {
        for (const SortColumn &c : columns) {
            if (c.column < 0 || c.column >= m_columnCount)
                continue;
            const int cmp = QString::compare(a.at(c.column), b.at(c.column), cs);
            if (cmp != 0)
                return c.descending ? cmp > 0 : cmp < 0;
        }
        return false;
    });
}
