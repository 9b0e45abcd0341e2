#include "store/TMDatos.h"

namespace {
TMDatos *g_instancia = nullptr;
}

TMDatos *TMDatos::instancia() {
    return g_instancia;
}

TMDatos::TMDatos(Connection *company, QObject *parent) : QObject(parent) {
    setObjectName(QStringLiteral("MDatos"));
    TCGastos = new Query(company, this);
    TCGastos->setObjectName(QStringLiteral("TCGastos"));
    TCGastos->setSqlLines({QStringLiteral("select Mes, ano, BeneficioToal, TotalKm, ConsumoMedio"),
                           QStringLiteral("from gastomes"), QStringLiteral("where Matricula = ''"),
                           QStringLiteral("order by Mes")});
    g_instancia = this;
}
