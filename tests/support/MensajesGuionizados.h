#pragma once

#include "app/Mensajes.h"

#include <QList>
#include <QString>

// The message service of the tests: every box must have been announced with esperar(), in
// order; it records what was shown and answers as scripted. A box nobody expected fails the
// running test.
class MensajesGuionizados : public ServicioMensajes {
public:
    struct Mensaje {
        TipoMensaje tipo;
        QString titulo;
        QString texto;
    };

    MensajesGuionizados();
    ~MensajesGuionizados() override;

    // The next box must be of this kind; `respuesta` is what the user chooses.
    MensajesGuionizados &esperar(TipoMensaje tipo, bool respuesta = true);
    bool mostrar(TipoMensaje tipo, const QString &titulo, const QString &texto,
                 Botones botones) override;
    // The next question box is answered with `respuesta`; std::nullopt cancels it.
    MensajesGuionizados &esperarTexto(std::optional<QString> respuesta);
    std::optional<QString> pedirTexto(const QString &titulo, const QString &pregunta,
                                      const QString &propuesto) override;

    const QList<Mensaje> &vistos() const { return m_vistos; }
    QString ultimoTexto() const { return m_vistos.isEmpty() ? QString() : m_vistos.last().texto; }
    int pendientes() const { return int(m_guion.size()); }
    void limpiar();

private:
    struct Paso {
        TipoMensaje tipo;
        bool respuesta;
        bool esTexto = false;
        std::optional<QString> texto;
    };
    QList<Paso> m_guion;
    QList<Mensaje> m_vistos;
    ServicioMensajes *m_anterior;
};
