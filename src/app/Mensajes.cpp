#include "app/Mensajes.h"

#include "app/Programa.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class CajasDeMensaje : public ServicioMensajes {
public:
    bool mostrar(TipoMensaje tipo, const QString &titulo, const QString &texto,
                 Botones botones) override {
        QMessageBox::Icon icono = QMessageBox::NoIcon;
        switch (tipo) {
        case TipoMensaje::Error:
            icono = QMessageBox::Critical;
            break;
        case TipoMensaje::Informacion:
            icono = QMessageBox::Information;
            break;
        case TipoMensaje::Atencion:
            icono = QMessageBox::Warning;
            break;
        case TipoMensaje::Confirmacion:
            icono = QMessageBox::Question;
            break;
        case TipoMensaje::Plano:
            break;
        }
        QString lineas = texto;
        lineas.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        lineas.replace('\r', '\n');
        QMessageBox caja(icono, titulo, lineas, QMessageBox::NoButton,
                         QApplication::activeWindow());
        QPushButton *si = nullptr;
        switch (botones) {
        case Botones::Aceptar:
            si = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            break;
        case Botones::SiNo:
            si = caja.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
            caja.setEscapeButton(caja.addButton(QStringLiteral("&No"), QMessageBox::NoRole));
            break;
        case Botones::AceptarCancelar:
            si = caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
            caja.setEscapeButton(
                caja.addButton(QStringLiteral("Cancelar"), QMessageBox::RejectRole));
            break;
        }
        caja.setDefaultButton(si);
        caja.exec();
        return caja.clickedButton() == si;
    }

    std::optional<QString> pedirTexto(const QString &titulo, const QString &pregunta,
                                      const QString &propuesto) override {
        QInputDialog dialogo(QApplication::activeWindow());
        dialogo.setWindowTitle(titulo);
        dialogo.setLabelText(pregunta);
        dialogo.setTextValue(propuesto);
        dialogo.setOkButtonText(QStringLiteral("Aceptar"));
        dialogo.setCancelButtonText(QStringLiteral("Cancelar"));
        if (dialogo.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialogo.textValue();
    }
};

CajasDeMensaje g_cajas;
ServicioMensajes *g_servicio = &g_cajas;

} // namespace

ServicioMensajes &ServicioMensajes::actual() {
    return *g_servicio;
}

ServicioMensajes *ServicioMensajes::instalar(ServicioMensajes *servicio) {
    ServicioMensajes *anterior = g_servicio;
    g_servicio = servicio ? servicio : &g_cajas;
    return anterior;
}

void msError(const QString &texto, const QString &titulo) {
    ServicioMensajes::actual().mostrar(TipoMensaje::Error, titulo, texto, Botones::Aceptar);
}

void msInfo(const QString &texto, const QString &titulo) {
    ServicioMensajes::actual().mostrar(TipoMensaje::Informacion, titulo, texto, Botones::Aceptar);
}

void msAtencion(const QString &texto, const QString &titulo) {
    ServicioMensajes::actual().mostrar(TipoMensaje::Atencion, titulo, texto, Botones::Aceptar);
}

bool msSi(const QString &texto, const QString &titulo) {
    return ServicioMensajes::actual().mostrar(TipoMensaje::Confirmacion, titulo, texto,
                                              Botones::SiNo);
}

bool msOK(const QString &texto, const QString &titulo) {
    return ServicioMensajes::actual().mostrar(TipoMensaje::Atencion, titulo, texto,
                                              Botones::AceptarCancelar);
}

void msPlano(const QString &texto) {
    ServicioMensajes::actual().mostrar(TipoMensaje::Plano, Programa::titulo(), texto,
                                       Botones::Aceptar);
}

std::optional<QString> pedirTexto(const QString &titulo, const QString &pregunta,
                                  const QString &propuesto) {
    return ServicioMensajes::actual().pedirTexto(titulo, pregunta, propuesto);
}
