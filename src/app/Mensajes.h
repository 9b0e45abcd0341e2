#pragma once

#include <QString>
#include <optional>

// Every message box of the program goes through one service, so that tests can replace it with
// a scripted double that records what was shown and answers in order.
enum class TipoMensaje { Error, Informacion, Atencion, Confirmacion, Plano };
enum class Botones { Aceptar, SiNo, AceptarCancelar };

class ServicioMensajes {
public:
    virtual ~ServicioMensajes() = default;
    // True when the user chose "&Sí" or "Aceptar".
    virtual bool mostrar(TipoMensaje tipo, const QString &titulo, const QString &texto,
                         Botones botones) = 0;
    // A question box with a text answer, proposing `propuesto`; nothing when cancelled.
    virtual std::optional<QString> pedirTexto(const QString &titulo, const QString &pregunta,
                                              const QString &propuesto) = 0;

    static ServicioMensajes &actual();
    // Installs another service (nullptr: the message boxes again); returns the previous one.
    static ServicioMensajes *instalar(ServicioMensajes *servicio);
};

// Message boxes with the system's captions and Spanish buttons; texts keep their carriage
// returns, shown as line breaks.
void msError(const QString &texto, const QString &titulo = QStringLiteral("Error"));
void msInfo(const QString &texto, const QString &titulo = QStringLiteral("Información"));
void msAtencion(const QString &texto, const QString &titulo = QStringLiteral("Aviso"));
bool msSi(const QString &texto, const QString &titulo = QStringLiteral("Confirmación"));
bool msOK(const QString &texto, const QString &titulo = QStringLiteral("Aviso"));
// A plain message captioned with the application title.
void msPlano(const QString &texto);

// The question box with a text answer; nothing when the user cancels.
std::optional<QString> pedirTexto(const QString &titulo, const QString &pregunta,
                                  const QString &propuesto = QString());
