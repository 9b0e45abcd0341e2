#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class TFormMenuPrincipal;

// The display and loading options of the configuration file, and the start-up password.
class TFormConfiguracion : public QDialog {
    Q_OBJECT
public:
    explicit TFormConfiguracion(TFormMenuPrincipal *principal);

    void guardar();           // "&Cerrar y guardar configuración"
    void cambiarContrasena(); // "Cambiar contraseña"

private:
    struct Opcion {
        QString clave;
        int *valor; // the main window's copy; nullptr for options kept only in the file
        QCheckBox *caja;
    };
    QCheckBox *opcion(const QString &titulo, const QString &clave, int *valor);

    TFormMenuPrincipal *m_principal;
    QList<Opcion> m_opciones;
    QLineEdit *m_actual;
    QLineEdit *m_reintroducirActual;
    QLineEdit *m_nueva;
    QLineEdit *m_reintroducirNueva;
};
