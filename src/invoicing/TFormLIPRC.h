#pragma once

#include <QWidget>

class CajaFecha;
class QTableWidget;
class Table;
class Connection;
struct Listado;

// "Importe de Velmora por cliente": the hauls and reports totals of every client over a date
// range, shown in a grid and printed.
class TFormLIPRC : public QWidget {
    Q_OBJECT
public:
    explicit TFormLIPRC(QWidget *parent = nullptr);
    ~TFormLIPRC() override;

    CajaFecha *desde() const { return m_desde; }
    CajaFecha *hasta() const { return m_hasta; }
    QTableWidget *rejilla() const { return m_rejilla; }
    // "&Filtrar": false (and the message shown) when it could not run.
    bool filtrar();
    Listado listado() const;
    void imprimir();

private:
    QString ficheroTT() const;

    CajaFecha *m_desde;
    CajaFecha *m_hasta;
    QTableWidget *m_rejilla;
};
