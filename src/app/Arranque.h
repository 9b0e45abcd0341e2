#pragma once

#include <QString>
#include <memory>

class QApplication;
class QLockFile;
class TDatos;
class TFormI;
class TFormMenuPrincipal;
class TMDatos;

// Start-up: from the store check to the main window with the configured company open.
class Arranque {
public:
    Arranque();
    ~Arranque();

    // Everything before the message loop. False when the program must end; the reason has
    // been shown to the user.
    bool iniciar();
    // iniciar(), then the main window shown maximised and the message loop.
    int ejecutar(QApplication &app);

    TFormMenuPrincipal *ventana() const { return m_ventana.get(); }
    TDatos *datos() const { return m_datos.get(); }

private:
    bool abrirEmpresaConfigurada(const QString &ruta);

    std::unique_ptr<QLockFile> m_bloqueo;
    std::unique_ptr<TFormMenuPrincipal> m_ventana;
    std::unique_ptr<TFormI> m_progreso;
    std::unique_ptr<TMDatos> m_mdatos;
    std::unique_ptr<TDatos> m_datos;
};
