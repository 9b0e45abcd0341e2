#pragma once

#include <QObject>
#include <QPointer>

class DataSet;

// What data-aware widgets and grids bind to; it can be switched to another table or query
// (a listing switches its grid from the table to a selection query).
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(DataSet *dataSet = nullptr, QObject *parent = nullptr)
        : QObject(parent), m_dataSet(dataSet) {}

    DataSet *dataSet() const { return m_dataSet; }
    void setDataSet(DataSet *dataSet) {
        if (dataSet == m_dataSet)
            return;
        m_dataSet = dataSet;
        Q_EMIT dataSetChanged();
    }

Q_SIGNALS:
    void dataSetChanged();

private:
    QPointer<DataSet> m_dataSet;
};
