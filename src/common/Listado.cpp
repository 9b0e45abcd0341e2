#include "common/Listado.h"

#include "app/Configuracion.h"
#include "common/TextoCampo.h"
#include "store/DataSet.h"

Listado::Valor Listado::Valor::deCampo(const QString &campo, const QString &formato,
                                       const QString &sufijo) {
    Valor v;
    v.campo = campo;
    v.formato = formato;
    v.sufijo = sufijo;
    return v;
}

Listado::Valor Listado::Valor::de(std::function<QString(const DataSet &)> funcion) {
    Valor v;
    v.funcion = std::move(funcion);
    return v;
}

Listado::Valor Listado::Valor::texto(const QString &fijo) {
    Valor v;
    v.fijo = fijo;
    return v;
}

QString Listado::Valor::leer(const DataSet *registro) const {
    if (funcion)
        return registro ? funcion(*registro) : QString();
    if (campo.isEmpty())
        return fijo;
    if (!registro)
        return QString();
    const QString t = textoCampo(registro->value(campo), registro->fieldInfo(campo).type, formato);
    return t.isEmpty() ? t : t + sufijo;
}

Listado::Total Listado::Total::suma(const QString &campo, const QString &formato,
                                    const QString &sufijo) {
    Total t;
    t.campo = campo;
    t.formato = formato;
    t.sufijo = sufijo;
    return t;
}

Listado::Total Listado::Total::media(const QString &campo, const QString &formato) {
    Total t = suma(campo, formato);
    t.operacion = Operacion::Media;
    return t;
}

Listado::Total Listado::Total::cuenta(const QString &formato) {
    Total t;
    t.operacion = Operacion::Cuenta;
    t.formato = formato;
    return t;
}

double Listado::Total::leer(const DataSet &registro) const {
    if (funcion)
        return funcion(registro);
    return campo.isEmpty() ? 0.0 : registro.value(campo).toDouble();
}

QString Listado::Total::texto(double suma, int cuenta) const {
    double v = suma;
    if (operacion == Operacion::Cuenta)
        v = cuenta;
    else if (operacion == Operacion::Media)
        v = cuenta > 0 ? suma / cuenta : 0.0;
    return Formato::formatFloat(formato, v) + sufijo;
}

Listado::LineaResumen Listado::LineaResumen::fija(const QString &etiqueta, const QString &texto) {
    return LineaResumen{etiqueta, {ValorResumen{texto, std::nullopt, -1}}};
}

Listado::LineaResumen Listado::LineaResumen::conTotal(const QString &etiqueta, const Total &total,
                                                      int columna) {
    return LineaResumen{etiqueta, {ValorResumen{QString(), total, columna}}};
}

void Listado::fijarDato(const QString &etiqueta, const QString &texto) {
    for (Dato &d : datosTitulo)
        if (d.etiqueta == etiqueta) {
            d.texto = texto;
            return;
        }
    datosTitulo.append(Dato{etiqueta, texto});
}

Listado::Columna &Listado::anadirColumna(const QString &titulo, const Valor &valor, double ancho,
                                         Qt::Alignment alineacion) {
    Columna c;
    c.titulo = titulo;
    c.valor = valor;
    c.ancho = ancho;
    c.alineacion = alineacion;
    columnas.append(c);
    return columnas.last();
}

void Listado::anadirDatos(const QList<QPair<QString, QString>> &datos) {
    for (int i = 0; i < datos.size(); ++i) {
        Bloque b;
        b.texto = Valor::texto(datos[i].first + QLatin1Char(' ') + datos[i].second);
        b.rect = QRectF(10 + (i % 2) * 95, 2 + (i / 2) * 5.5, 90, 5);
        b.puntos = 9;
        bloquesTitulo << b;
    }
}

int Listado::columna(const QString &titulo) const {
    for (int i = 0; i < columnas.size(); ++i)
        if (columnas[i].titulo == titulo)
            return i;
    return -1;
}

QString Listado::rotuloEmpresa(bool conCodigo) {
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    if (!v)
        return QString();
    if (!conCodigo)
        return v->ajustes.nombre;
    return QStringLiteral("%1 -  %2").arg(v->ajustes.codigo).arg(v->ajustes.nombre);
}
