#include "MensajesGuionizados.h"

#include <QTest>

namespace {
const char *nombreTipo(TipoMensaje t) {
    switch (t) {
    case TipoMensaje::Error:
        return "Error";
    case TipoMensaje::Informacion:
        return "Informacion";
    case TipoMensaje::Atencion:
        return "Atencion";
    case TipoMensaje::Confirmacion:
        return "Confirmacion";
    case TipoMensaje::Plano:
        return "Plano";
    }
    return "?";
}
} // namespace

MensajesGuionizados::MensajesGuionizados() : m_anterior(ServicioMensajes::instalar(this)) {}

MensajesGuionizados::~MensajesGuionizados() {
    ServicioMensajes::instalar(m_anterior);
}

MensajesGuionizados &MensajesGuionizados::esperar(TipoMensaje tipo, bool respuesta) {
    m_guion << Paso{tipo, respuesta};
    return *this;
}

bool MensajesGuionizados::mostrar(TipoMensaje tipo, const QString &titulo, const QString &texto,
                                  Botones) {
    m_vistos << Mensaje{tipo, titulo, texto};
    if (m_guion.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("Mensaje inesperado (%1): %2")
                                    .arg(QString::fromLatin1(nombreTipo(tipo)), texto)),
                     __FILE__, __LINE__);
        return false;
    }
    const Paso paso = m_guion.takeFirst();
    if (paso.esTexto || paso.tipo != tipo) {
        QTest::qFail(qPrintable(QStringLiteral("Se esperaba un mensaje %1 y llegó %2: %3")
                                    .arg(QString::fromLatin1(nombreTipo(paso.tipo)),
                                         QString::fromLatin1(nombreTipo(tipo)), texto)),
                     __FILE__, __LINE__);
    }
    return paso.respuesta;
}

MensajesGuionizados &MensajesGuionizados::esperarTexto(std::optional<QString> respuesta) {
    m_guion << Paso{TipoMensaje::Plano, false, true, respuesta};
    return *this;
}

std::optional<QString> MensajesGuionizados::pedirTexto(const QString &titulo,
                                                       const QString &pregunta,
                                                       const QString &) {
    m_vistos << Mensaje{TipoMensaje::Plano, titulo, pregunta};
    if (m_guion.isEmpty() || !m_guion.first().esTexto) {
        QTest::qFail(qPrintable(QStringLiteral("Pregunta inesperada: %1").arg(pregunta)), __FILE__,
                     __LINE__);
        if (!m_guion.isEmpty())
            m_guion.removeFirst();
        return std::nullopt;
    }
    return m_guion.takeFirst().texto;
}

void MensajesGuionizados::limpiar() {
    m_guion.clear();
    m_vistos.clear();
}
