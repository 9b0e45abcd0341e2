#pragma once

#include <QDate>
#include <QDialog>

class QAction;
class QCalendarWidget;
class QLabel;
class QToolBar;

// The date picker: a month calendar the user moves through and picks a day from. The picked
// day goes to the main window's picked value as a date box text (dd/mm/yy); closing without
// picking leaves that value empty.
class TFormCalendario : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalendario(QWidget *parent = nullptr);

    QDate seleccion() const;
    void setSeleccion(QDate fecha);

    QAction *accion(const QString &nombre) const;

    // Commands.
    void mesAnterior() { mover(-1, 0); }
    void mesSiguiente() { mover(1, 0); }
    void anoAnterior() { mover(0, -1); }
    void anoSiguiente() { mover(0, 1); }
    void irAHoy();
    void sumarDias();
    void seleccionar();

protected:
    void showEvent(QShowEvent *e) override;

private:
    QAction *crearAccion(const char *nombre, const QString &texto, const QString &ayuda,
                         const QKeySequence &tecla);
    void mover(int meses, int anos);
    void aplicarAjustes();
    void mostrarSeleccion();
    static QString textoFecha(QDate fecha);

    QToolBar *m_barra;
    QCalendarWidget *m_calendario;
    QLabel *m_hoy;
    QLabel *m_seleccion;
};
