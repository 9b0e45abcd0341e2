#include "common/ControlesDatos.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "common/Formato.h"
#include "common/Mascaras.h"
#include "common/ModeloRegistros.h"
#include "common/TFormCalendario.h"
#include "common/TextoCampo.h"
#include "store/Connection.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Dates.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

// ---------------------------------------------------------------------------------------------
EnlaceCampo::EnlaceCampo(QWidget *control, std::function<void(const QVariant &)> mostrar,
                         std::function<QVariant()> leer)
    : QObject(control), m_control(control), m_mostrar(std::move(mostrar)), m_leer(std::move(leer)) {
}

DataSet *EnlaceCampo::datos() const {
    return m_datos;
}

void EnlaceCampo::enlazar(DataSource *fuente, const QString &campo) {
    if (m_fuente)
        disconnect(m_fuente, nullptr, this, nullptr);
    m_fuente = fuente;
    m_campo = campo;
    if (fuente)
        connect(fuente, &DataSource::dataSetChanged, this, &EnlaceCampo::conectar);
    conectar();
}

void EnlaceCampo::conectar() {
    if (m_datos)
        disconnect(m_datos, nullptr, this, nullptr);
    m_datos = m_fuente ? m_fuente->dataSet() : nullptr;
    m_pendiente = false;
    if (m_datos) {
        connect(m_datos, &DataSet::afterScroll, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::afterOpen, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::afterClose, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::afterInsert, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::afterCancel, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::afterPost, this, &EnlaceCampo::mostrar);
        connect(m_datos, &DataSet::fieldChanged, this, [this](const QString &f) {
            if (f.compare(m_campo, Qt::CaseInsensitive) == 0 && !m_pendiente)
                mostrar();
        });
        // The typed value goes into the record before it is stored.
        connect(m_datos, &DataSet::beforePost, this, [this] {
            if (m_pendiente) {
                const QVariant v = m_leer();
                m_pendiente = false;
                m_datos->setValue(m_campo, v);
            }
        });
    }
    mostrar();
}

void EnlaceCampo::mostrar() {
    m_pendiente = false;
    m_mostrando = true;
    QVariant v;
    if (m_datos && m_datos->isActive() && m_datos->hasField(m_campo) &&
        (!m_datos->isEmpty() || m_datos->isEditing()))
        v = m_datos->value(m_campo);
    m_mostrar(v);
    m_mostrando = false;
}

void EnlaceCampo::modificado() {
    if (m_mostrando || !m_datos || !m_datos->isActive())
        return;
    if (!m_datos->isEditing()) {
        try {
            m_datos->edit();
        } catch (const StoreError &e) {
            msError(e.message());
            mostrar();
            return;
        }
    }
    m_pendiente = true;
}

bool EnlaceCampo::escribir() {
    if (!m_pendiente || !m_datos || !m_datos->isEditing())
        return true;
    try {
        m_datos->setValue(m_campo, m_leer());
        m_pendiente = false;
        return true;
    } catch (const StoreError &e) {
        msError(e.message());
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
CajaDatos::CajaDatos(QWidget *parent) : QLineEdit(parent) {
    m_enlace = new EnlaceCampo(
        this,
        [this](const QVariant &v) {
            const DataSet *d = m_enlace->datos();
            const FieldType tipo = d && d->hasField(m_enlace->campo())
                                       ? d->fieldInfo(m_enlace->campo()).type
                                       : FieldType::Text;
            setText(textoCampo(v, tipo, m_formato));
            setCursorPosition(0);
        },
        [this]() -> QVariant {
            const QString t = texto();
            return t.trimmed().isEmpty() ? QVariant() : QVariant(t);
        });
    connect(this, &QLineEdit::textEdited, m_enlace, &EnlaceCampo::modificado);
}

void CajaDatos::enlazar(DataSource *fuente, const QString &campo, const QString &mascara) {
    if (!mascara.isEmpty())
        setInputMask(Mascaras::aQt(mascara));
    m_enlace->enlazar(fuente, campo);
    if (DataSet *d = m_enlace->datos(); d && d->hasField(campo) && mascara.isEmpty()) {
        const FieldInfo &f = d->fieldInfo(campo);
        if (f.type == FieldType::Text && f.size > 0)
            setMaxLength(f.size);
    }
}

QString CajaDatos::texto() const {
    if (inputMask().isEmpty())
        return text();
    QString t = displayText();
    return t.replace('_', ' ');
}

void CajaDatos::focusOutEvent(QFocusEvent *e) {
    m_enlace->escribir();
    QLineEdit::focusOutEvent(e);
}

// ---------------------------------------------------------------------------------------------
std::function<std::optional<QDate>(QWidget *, const QDate &)> CajaFecha::calendario;

CajaFecha::CajaFecha(QWidget *parent) : QLineEdit(parent) {
    setInputMask(Mascaras::aQt(Mascaras::Fecha));
    setToolTip(QStringLiteral("Muestra un calendario"));
}

QString CajaFecha::texto() const {
    QString t = displayText();
    return t.replace('_', ' ');
}

QDate CajaFecha::fecha() const {
    return Dates::parse(texto());
}

void CajaFecha::setFecha(const QDate &fecha) {
    setText(fecha.isValid() ? Dates::boxText(fecha) : QString());
}

void CajaFecha::abrirCalendario() {
    const QDate inicial = fecha().isValid() ? fecha() : QDate::currentDate();
    std::optional<QDate> elegida;
    if (calendario) {
        elegida = calendario(this, inicial);
    } else {
        TFormCalendario dialogo(this);
        dialogo.setSeleccion(inicial);
        dialogo.exec();
        const QString valor = ValoresPrincipales::instancia()
                                  ? ValoresPrincipales::instancia()->valorSeleccionado
                                  : QString();
        if (!valor.isEmpty())
            elegida = Dates::parse(valor);
    }
    if (elegida && elegida->isValid())
        Q_EMIT fechaElegida(*elegida);
}

void CajaFecha::keyPressEvent(QKeyEvent *e) {
    if (e->text() == QLatin1String("+")) {
        abrirCalendario();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

CajaFechaDatos::CajaFechaDatos(QWidget *parent) : CajaFecha(parent) {
    m_enlace = new EnlaceCampo(
        this, [this](const QVariant &v) { setFecha(v.toDate()); },
        [this]() -> QVariant {
            const QString t = texto();
            return Dates::isEmptyBox(t) ? QVariant() : QVariant(t);
        });
    connect(this, &QLineEdit::textEdited, m_enlace, &EnlaceCampo::modificado);
    // A picked date puts the record in edit state and fills the box.
    connect(this, &CajaFecha::fechaElegida, this, [this](const QDate &d) {
        setFecha(d);
        m_enlace->modificado();
        m_enlace->escribir();
    });
}

void CajaFechaDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

void CajaFechaDatos::focusOutEvent(QFocusEvent *e) {
    m_enlace->escribir();
    CajaFecha::focusOutEvent(e);
}

// ---------------------------------------------------------------------------------------------
CajaImporteDatos::CajaImporteDatos(QWidget *parent) : CajaDatos(parent) {
    setAlignment(Qt::AlignRight);
}

void CajaImporteDatos::enlazar(DataSource *fuente, const QString &campo, const QString &formato) {
    m_formato = formato;
    CajaDatos::enlazar(fuente, campo);
}

void CajaImporteDatos::keyPressEvent(QKeyEvent *e) {
    if (e->text() == QLatin1String(".")) {
        QKeyEvent coma(e->type(), Qt::Key_Comma, e->modifiers(), QStringLiteral(","));
        CajaDatos::keyPressEvent(&coma);
        return;
    }
    CajaDatos::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------------
ListaSiNoDatos::ListaSiNoDatos(QWidget *parent) : QComboBox(parent) {
    addItems({QStringLiteral("No"), QStringLiteral("Sí")});
    setCurrentIndex(-1);
    m_enlace = new EnlaceCampo(
        this,
        [this](const QVariant &v) { setCurrentIndex(v.isNull() ? -1 : findText(v.toString())); },
        [this]() -> QVariant { return currentIndex() < 0 ? QVariant() : QVariant(currentText()); });
    connect(this, &QComboBox::activated, this, [this] {
        m_enlace->modificado();
        m_enlace->escribir();
    });
}

void ListaSiNoDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

void ListaSiNoDatos::keyPressEvent(QKeyEvent *e) {
    if (e->text() == QLatin1String("+")) {
        showPopup();
        return;
    }
    QComboBox::keyPressEvent(e);
}

// ---------------------------------------------------------------------------------------------
ListaValoresDatos::ListaValoresDatos(const QStringList &valores, QWidget *parent, bool libre)
    : QComboBox(parent) {
    setEditable(libre);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(valores);
    setCurrentIndex(-1);
    m_enlace = new EnlaceCampo(
        this,
        [this](const QVariant &v) {
            if (isEditable())
                setEditText(v.toString());
            else
                setCurrentIndex(v.isNull() ? -1 : findText(v.toString()));
        },
        [this]() -> QVariant {
            const QString t = currentIndex() < 0 && !isEditable() ? QString() : currentText();
            return t.isEmpty() ? QVariant() : QVariant(t);
        });
    connect(this, &QComboBox::activated, this, [this] {
        m_enlace->modificado();
        m_enlace->escribir();
    });
    if (!libre)
        return;
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_enlace->modificado(); });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] {
        if (m_enlace->pendiente())
            m_enlace->escribir();
    });
}

void ListaValoresDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

void ListaValoresDatos::keyPressEvent(QKeyEvent *e) {
    if (e->text() == QLatin1String("+")) {
        showPopup();
        return;
    }
    QComboBox::keyPressEvent(e);
}

CasillaDatos::CasillaDatos(const QString &texto, QWidget *parent) : QCheckBox(texto, parent) {
    m_enlace = new EnlaceCampo(
        this, [this](const QVariant &v) { setChecked(!v.isNull() && v.toBool()); },
        [this]() -> QVariant { return isChecked(); });
    connect(this, &QCheckBox::clicked, this, [this] {
        m_enlace->modificado();
        m_enlace->escribir();
    });
}

void CasillaDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

// ---------------------------------------------------------------------------------------------
ListaBusqueda::ListaBusqueda(QWidget *parent) : QComboBox(parent) {}

void ListaBusqueda::setLista(Table *tabla, const QList<ColumnaRejilla> &columnas,
                             const QString &campoClave, int filas) {
    m_pendiente = nullptr;
    m_tabla = tabla;
    m_campoClave = campoClave;
    delete m_modelo;
    m_modelo = new ModeloRegistros(tabla, columnas, this);
    auto *vista = new QTableView(this);
    vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    vista->verticalHeader()->hide();
    vista->horizontalHeader()->hide();
    vista->setShowGrid(false);
    vista->setWordWrap(false);
    setModel(m_modelo);
    setView(vista);
    // After the box's own handling of a reset, which selects the first row: the shown value is
    // found again over it.
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &ListaBusqueda::listaRecargada);
    for (int i = 0; i < columnas.size(); ++i)
        vista->setColumnWidth(i, columnas[i].ancho);
    int ancho = 0;
    for (const ColumnaRejilla &c : columnas)
        ancho += c.ancho;
    vista->setMinimumWidth(ancho + 24);
    setModelColumn(0);
    setMaxVisibleItems(filas);
    setCurrentIndex(-1);
}

void ListaBusqueda::setListaAlMostrar(Table *tabla, const QList<ColumnaRejilla> &columnas,
                                      const QString &campoClave, int filas) {
    m_pendiente = [this, tabla, columnas, campoClave, filas] {
        setLista(tabla, columnas, campoClave, filas);
    };
    if (isVisible())
        asegurarLista();
}

void ListaBusqueda::asegurarLista() const {
    if (m_pendiente)
        std::exchange(m_pendiente, nullptr)();
}

void ListaBusqueda::showEvent(QShowEvent *e) {
    asegurarLista();
    QComboBox::showEvent(e);
}

QVariant ListaBusqueda::valorClave() const {
    asegurarLista();
    if (!m_tabla || currentIndex() < 0 || !m_tabla->isActive())
        return QVariant();
    const qint64 id = m_modelo->rowIdDe(currentIndex());
    const QHash<qint64, QVector<QVariant>> filas = m_tabla->readRows({id}, {m_campoClave});
    const QVector<QVariant> v = filas.value(id);
    const FieldDef *f = m_tabla->def().field(m_campoClave);
    return v.isEmpty() ? QVariant() : Statement::fromStorage(v[0], f ? f->type : FieldType::Text);
}

QString ListaBusqueda::textoMostrado() const {
    asegurarLista();
    return currentIndex() < 0 ? QString() : currentText();
}

void ListaBusqueda::setValorClave(const QVariant &valor) {
    asegurarLista();
    if (!m_tabla || !m_tabla->isActive() || valor.isNull()) {
        setCurrentIndex(-1);
        return;
    }
    const FieldDef *f = m_tabla->def().field(m_campoClave);
    Statement &st = m_tabla->connection()->cached(
        QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ? ORDER BY rowid LIMIT 1")
            .arg(Schema::quoteIdent(m_tabla->def().sqlName),
                 Schema::quoteIdent(f ? f->name : m_campoClave)));
    st.bind(1, valor);
    const qint64 id = st.step() ? st.columnInt64(0) : 0;
    st.reset();
    setCurrentIndex(id ? m_modelo->filaDe(id) : -1);
}

void ListaBusqueda::keyPressEvent(QKeyEvent *e) {
    if (e->text() == QLatin1String("+")) {
        showPopup();
        return;
    }
    QComboBox::keyPressEvent(e);
}

ListaBusquedaDatos::ListaBusquedaDatos(QWidget *parent) : ListaBusqueda(parent) {
    m_enlace = new EnlaceCampo(
        this, [this](const QVariant &v) { setValorClave(v); },
        [this]() -> QVariant { return valorClave(); });
    connect(this, &QComboBox::activated, this, [this] {
        m_enlace->modificado();
        m_enlace->escribir();
    });
    connect(this, &ListaBusqueda::listaRecargada, this, [this] {
        if (!m_enlace->pendiente())
            m_enlace->mostrar();
    });
}

void ListaBusquedaDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

// ---------------------------------------------------------------------------------------------
MemoDatos::MemoDatos(QWidget *parent) : QPlainTextEdit(parent) {
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    m_enlace = new EnlaceCampo(
        this, [this](const QVariant &v) { setPlainText(v.toString()); },
        [this]() -> QVariant {
            const QString t = toPlainText();
            return t.isEmpty() ? QVariant() : QVariant(t);
        });
    connect(this, &QPlainTextEdit::textChanged, m_enlace, &EnlaceCampo::modificado);
}

void MemoDatos::enlazar(DataSource *fuente, const QString &campo) {
    m_enlace->enlazar(fuente, campo);
}

void MemoDatos::focusOutEvent(QFocusEvent *e) {
    m_enlace->escribir();
    QPlainTextEdit::focusOutEvent(e);
    Q_EMIT salida();
}

// ---------------------------------------------------------------------------------------------
Navegador::Navegador(DataSource *fuente, bool conEdicion, const QStringList &ayudas,
                     QWidget *parent)
    : Navegador(fuente,
                conEdicion ? QList<Boton>{Primero, Anterior, Siguiente, Ultimo, Validar, Cancelar}
                           : QList<Boton>{Primero, Anterior, Siguiente, Ultimo},
                ayudas, parent) {}

Navegador::Navegador(DataSource *fuente, const QList<Boton> &botones, const QStringList &ayudas,
                     QWidget *parent)
    : QWidget(parent), m_fuente(fuente), m_tipos(botones) {
    setObjectName(QStringLiteral("Navegador"));
    auto *capa = new QHBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setSpacing(1);
    static const QHash<int, QPair<QStyle::StandardPixmap, const char *>> aspecto = {
        {Primero, {QStyle::SP_MediaSkipBackward, "BPrimero"}},
        {Anterior, {QStyle::SP_MediaSeekBackward, "BAnterior"}},
        {Siguiente, {QStyle::SP_MediaSeekForward, "BSiguiente"}},
        {Ultimo, {QStyle::SP_MediaSkipForward, "BUltimo"}},
        {Insertar, {QStyle::SP_FileDialogNewFolder, "BInsertar"}},
        {Borrar, {QStyle::SP_TrashIcon, "BBorrar"}},
        {Validar, {QStyle::SP_DialogApplyButton, "BValidar"}},
        {Cancelar, {QStyle::SP_DialogCancelButton, "BCancelar"}},
        {Editar, {QStyle::SP_ArrowUp, "BEditar"}},
    };
    for (int i = 0; i < botones.size(); ++i) {
        const Boton tipo = botones[i];
        auto *b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(aspecto.value(tipo).second));
        b->setIcon(style()->standardIcon(aspecto.value(tipo).first));
        b->setToolTip(ayudas.value(i));
        b->setFocusPolicy(Qt::NoFocus);
        capa->addWidget(b);
        m_botones << b;
        connect(b, &QToolButton::clicked, this, [this, tipo] { pulsar(tipo); });
    }
    capa->addStretch();
    if (fuente) {
        auto conectar = [this] {
            if (DataSet *d = m_fuente->dataSet()) {
                connect(d, &DataSet::stateChanged, this, &Navegador::actualizar);
                connect(d, &DataSet::afterScroll, this, &Navegador::actualizar);
            }
            actualizar();
        };
        connect(fuente, &DataSource::dataSetChanged, this, conectar);
        conectar();
    }
}

QToolButton *Navegador::boton(Boton b) const {
    const int i = int(m_tipos.indexOf(b));
    return i < 0 ? nullptr : m_botones.value(i);
}

void Navegador::pulsar(Boton tipo) {
    if (auto it = m_acciones.constFind(tipo); it != m_acciones.constEnd()) {
        (*it)();
        return;
    }
    DataSet *d = m_fuente ? m_fuente->dataSet() : nullptr;
    if (!d || !d->isActive())
        return;
    try {
        switch (tipo) {
        case Primero:
            d->first();
            break;
        case Anterior:
            d->prior();
            break;
        case Siguiente:
            d->next();
            break;
        case Ultimo:
            d->last();
            break;
        case Insertar:
            d->insert();
            break;
        case Borrar:
            d->remove();
            break;
        case Validar:
            d->post();
            break;
        case Cancelar:
            d->cancel();
            break;
        case Editar:
            d->edit();
            break;
        }
    } catch (const StoreError &e) {
        if (m_errores)
            m_errores(e);
        else
            msError(e.message());
    }
}

void Navegador::setPlano(bool plano) {
    for (QToolButton *b : m_botones)
        b->setAutoRaise(plano);
}

void Navegador::actualizar() {
    DataSet *d = m_fuente ? m_fuente->dataSet() : nullptr;
    const bool activo = d && d->isActive();
    const bool editando = activo && d->isEditing();
    for (int i = 0; i < m_botones.size(); ++i) {
        const Boton b = m_tipos[i];
        bool on = activo;
        if (b == Primero || b == Anterior)
            on = activo && !d->bof();
        if (b == Siguiente || b == Ultimo)
            on = activo && !d->eof();
        if (b == Validar || b == Cancelar)
            on = editando;
        if (b == Borrar)
            on = activo && (!d->isEmpty() || editando);
        if (b == Editar)
            on = activo && !editando && !d->isEmpty();
        m_botones[i]->setEnabled(on);
    }
}
