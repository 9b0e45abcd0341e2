#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The progress window: one instance for the whole run, shown by every long process with a
// text, an optional animation and an optional bar.
class TFormI : public QDialog {
    Q_OBJECT
public:
    enum class Animacion { Ninguna, CopiarFicheros, CopiarFichero };

    explicit TFormI(QWidget *parent = nullptr);
    ~TFormI() override;
    static TFormI *instancia();

    // Shows the window with a text; a bar with the range 0..maximo when maximo > 0.
    void mostrar(const QString &texto, Animacion animacion = Animacion::Ninguna, int maximo = 0);
    // Replaces the text and repaints at once, since the process keeps the event loop busy.
    void texto(const QString &texto);
    QString textoActual() const;
    void avanzar(int pasos = 1);
    void posicion(int valor);
    int posicionActual() const;
    bool barraVisible() const;
    void cerrar();

private:
    QWidget *m_animacion;
    QLabel *m_texto;
    QProgressBar *m_barra;
    QPushButton *m_cancelar;
    QTimer *m_reloj;
    int m_fase = 0;
};
