#pragma once

#include "store/Query.h"

#include <QObject>

class Connection;

// The chart data module: the query of the monthly totals chart, which rewrites its text before
// every use.
class TMDatos : public QObject {
    Q_OBJECT
public:
    explicit TMDatos(Connection *company, QObject *parent = nullptr);

    static TMDatos *instancia();

    Query *TCGastos;
};
