#include "Generador.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "store/Connection.h"
#include "store/Schema.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/StoreFiles.h"
#include "store/Transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <stdexcept>

namespace Generador {

namespace {

constexpr quint32 kSemillaDemo = 1553;
constexpr double kIva = 16.0;

double redondear2(double v) {
    return std::round(v * 100.0) / 100.0;
}
double redondear5(double v) {
    return std::max(5.0, std::round(v / 5.0) * 5.0);
}

// ---------------------------------------------------------------------------------------------
// Names and places the data is made of.

const char *const kApellidos[] = {
    "GARCÍA",   "FERNÁNDEZ", "GONZÁLEZ", "RODRÍGUEZ", "LÓPEZ",    "MARTÍNEZ",  "SÁNCHEZ",
    "PÉREZ",    "GÓMEZ",     "MARTÍN",   "JIMÉNEZ",   "RUIZ",     "HERNÁNDEZ", "DÍAZ",
    "MORENO",   "ÁLVAREZ",   "MUÑOZ",    "ROMERO",    "ALONSO",   "GUTIÉRREZ", "NAVARRO",
    "TORRES",   "DOMÍNGUEZ", "VÁZQUEZ",  "RAMOS",     "GIL",      "RAMÍREZ",   "SERRANO",
    "BLANCO",   "MOLINA",    "MORALES",  "SUÁREZ",    "ORTEGA",   "DELGADO",   "CASTRO",
    "ORTIZ",    "RUBIO",     "MARÍN",    "SANZ",      "IGLESIAS", "NÚÑEZ",     "MEDINA",
    "GARRIDO",  "CORTÉS",    "CASTILLO", "SANTOS",    "LOZANO",   "GUERRERO",  "CANO",
    "PRIETO",   "MÉNDEZ",    "CALVO",    "CRUZ",      "GALLEGO",  "VIDAL",     "HERRERA",
    "MÁRQUEZ",  "PEÑA",      "CABRERA",  "FLORES",    "CAMPOS",   "VEGA",      "FUENTES",
    "CARRASCO", "AGUILAR",   "LASHERAS", "ARTIGAS",   "LACASA",   "BERNAD",    "ARANDA",
    "LAFUENTE", "BIELSA",    "ESTEBAN",  "PASCUAL",   "LAHOZ",    "BORAU",     "SIMÓN",
};

const char *const kNombres[] = {
    "ANTONIO", "JOSÉ",      "MANUEL",  "FRANCISCO", "JUAN",      "DAVID",  "JOSÉ ANTONIO",
    "JAVIER",  "JOSÉ LUIS", "CARLOS",  "JESÚS",     "ALEJANDRO", "MIGUEL", "RAFAEL",
    "PEDRO",   "ÁNGEL",     "PABLO",   "FERNANDO",  "SERGIO",    "LUIS",   "JORGE",
    "ALBERTO", "RAÚL",      "ENRIQUE", "RAMÓN",     "VÍCTOR",    "DIEGO",  "IVÁN",
    "MARÍA",   "CARMEN",    "ANA",     "PILAR",     "LAURA",     "ISABEL", "ROSA",
};

// Home region of the firm: loads and unloads more often here.
bool esAragon(int provincia) {
    return provincia == 50 || provincia == 22 || provincia == 44;
}

struct Poblacion {
    const char *nombre;
    const char *provincia; // the country for places abroad
    int codigo;            // province code, 0 abroad
    double lat;
    double lon;
};

const Poblacion kPoblaciones[] = {
    {"ZARAGOZA", "ZARAGOZA", 50, 41.65, -0.88},
    {"CALATAYUD", "ZARAGOZA", 50, 41.35, -1.64},
    {"UTEBO", "ZARAGOZA", 50, 41.71, -0.99},
    {"LA ALMUNIA DE DOÑA GODINA", "ZARAGOZA", 50, 41.48, -1.37},
    {"CASPE", "ZARAGOZA", 50, 41.23, -0.04},
    {"EJEA DE LOS CABALLEROS", "ZARAGOZA", 50, 42.13, -1.14},
    {"TARAZONA", "ZARAGOZA", 50, 41.90, -1.72},
    {"HUESCA", "HUESCA", 22, 42.14, -0.41},
    {"MONZÓN", "HUESCA", 22, 41.91, 0.19},
    {"BARBASTRO", "HUESCA", 22, 42.04, 0.13},
    {"FRAGA", "HUESCA", 22, 41.52, 0.35},
    {"TERUEL", "TERUEL", 44, 40.34, -1.11},
    {"ALCAÑIZ", "TERUEL", 44, 41.05, -0.13},
    {"ANDORRA", "TERUEL", 44, 40.98, -0.45},
    {"LOGROÑO", "LA RIOJA", 26, 42.47, -2.45},
    {"CALAHORRA", "LA RIOJA", 26, 42.30, -1.97},
    {"HARO", "LA RIOJA", 26, 42.58, -2.85},
    {"PAMPLONA", "NAVARRA", 31, 42.81, -1.64},
    {"TUDELA", "NAVARRA", 31, 42.06, -1.60},
    {"ESTELLA", "NAVARRA", 31, 42.67, -2.03},
    {"VITORIA-GASTEIZ", "ÁLAVA", 1, 42.85, -2.67},
    {"BILBAO", "BIZKAIA", 48, 43.26, -2.93},
    {"BARAKALDO", "BIZKAIA", 48, 43.30, -2.99},
    {"SAN SEBASTIÁN", "GIPUZKOA", 20, 43.32, -1.98},
    {"IRUN", "GIPUZKOA", 20, 43.34, -1.79},
    {"SANTANDER", "CANTABRIA", 39, 43.46, -3.80},
    {"TORRELAVEGA", "CANTABRIA", 39, 43.35, -4.05},
    {"OVIEDO", "ASTURIAS", 33, 43.36, -5.85},
    {"GIJÓN", "ASTURIAS", 33, 43.54, -5.66},
    {"AVILÉS", "ASTURIAS", 33, 43.56, -5.92},
    {"A CORUÑA", "A CORUÑA", 15, 43.36, -8.41},
    {"SANTIAGO DE COMPOSTELA", "A CORUÑA", 15, 42.88, -8.54},
    {"VIGO", "PONTEVEDRA", 36, 42.24, -8.72},
    {"PONTEVEDRA", "PONTEVEDRA", 36, 42.43, -8.64},
    {"LUGO", "LUGO", 27, 43.01, -7.56},
    {"OURENSE", "OURENSE", 32, 42.34, -7.86},
    {"LEÓN", "LEÓN", 24, 42.60, -5.57},
    {"PONFERRADA", "LEÓN", 24, 42.55, -6.60},
    {"BURGOS", "BURGOS", 9, 42.34, -3.70},
    {"MIRANDA DE EBRO", "BURGOS", 9, 42.69, -2.95},
    {"ARANDA DE DUERO", "BURGOS", 9, 41.67, -3.69},
    {"PALENCIA", "PALENCIA", 34, 42.01, -4.53},
    {"VALLADOLID", "VALLADOLID", 47, 41.65, -4.72},
    {"MEDINA DEL CAMPO", "VALLADOLID", 47, 41.31, -4.91},
    {"ZAMORA", "ZAMORA", 49, 41.50, -5.75},
    {"BENAVENTE", "ZAMORA", 49, 42.00, -5.68},
    {"SALAMANCA", "SALAMANCA", 37, 40.97, -5.66},
    {"ÁVILA", "ÁVILA", 5, 40.66, -4.70},
    {"SEGOVIA", "SEGOVIA", 40, 40.95, -4.12},
    {"SORIA", "SORIA", 42, 41.76, -2.47},
    {"GUADALAJARA", "GUADALAJARA", 19, 40.63, -3.16},
    {"AZUQUECA DE HENARES", "GUADALAJARA", 19, 40.57, -3.27},
    {"MADRID", "MADRID", 28, 40.42, -3.70},
    {"ALCALÁ DE HENARES", "MADRID", 28, 40.48, -3.36},
    {"GETAFE", "MADRID", 28, 40.31, -3.73},
    {"COSLADA", "MADRID", 28, 40.42, -3.56},
    {"FUENLABRADA", "MADRID", 28, 40.28, -3.79},
    {"TORREJÓN DE ARDOZ", "MADRID", 28, 40.46, -3.48},
    {"ARGANDA DEL REY", "MADRID", 28, 40.30, -3.44},
    {"TOLEDO", "TOLEDO", 45, 39.86, -4.02},
    {"TALAVERA DE LA REINA", "TOLEDO", 45, 39.96, -4.83},
    {"ILLESCAS", "TOLEDO", 45, 40.12, -3.85},
    {"CUENCA", "CUENCA", 16, 40.07, -2.13},
    {"ALBACETE", "ALBACETE", 2, 38.99, -1.86},
    {"VILLARROBLEDO", "ALBACETE", 2, 39.27, -2.60},
    {"CIUDAD REAL", "CIUDAD REAL", 13, 38.98, -3.93},
    {"PUERTOLLANO", "CIUDAD REAL", 13, 38.69, -4.11},
    {"VALDEPEÑAS", "CIUDAD REAL", 13, 38.76, -3.38},
    {"BADAJOZ", "BADAJOZ", 6, 38.88, -6.97},
    {"MÉRIDA", "BADAJOZ", 6, 38.92, -6.34},
    {"CÁCERES", "CÁCERES", 10, 39.47, -6.37},
    {"PLASENCIA", "CÁCERES", 10, 40.03, -6.09},
    {"SEVILLA", "SEVILLA", 41, 37.39, -5.98},
    {"DOS HERMANAS", "SEVILLA", 41, 37.28, -5.92},
    {"ÉCIJA", "SEVILLA", 41, 37.54, -5.08},
    {"HUELVA", "HUELVA", 21, 37.26, -6.95},
    {"CÁDIZ", "CÁDIZ", 11, 36.53, -6.29},
    {"JEREZ DE LA FRONTERA", "CÁDIZ", 11, 36.69, -6.14},
    {"ALGECIRAS", "CÁDIZ", 11, 36.13, -5.45},
    {"MÁLAGA", "MÁLAGA", 29, 36.72, -4.42},
    {"ANTEQUERA", "MÁLAGA", 29, 37.02, -4.56},
    {"CÓRDOBA", "CÓRDOBA", 14, 37.89, -4.78},
    {"LUCENA", "CÓRDOBA", 14, 37.41, -4.49},
    {"JAÉN", "JAÉN", 23, 37.77, -3.79},
    {"LINARES", "JAÉN", 23, 38.09, -3.64},
    {"GRANADA", "GRANADA", 18, 37.18, -3.60},
    {"MOTRIL", "GRANADA", 18, 36.75, -3.52},
    {"ALMERÍA", "ALMERÍA", 4, 36.84, -2.46},
    {"EL EJIDO", "ALMERÍA", 4, 36.78, -2.81},
    {"MURCIA", "MURCIA", 30, 37.99, -1.13},
    {"CARTAGENA", "MURCIA", 30, 37.61, -0.99},
    {"LORCA", "MURCIA", 30, 37.68, -1.70},
    {"ALICANTE", "ALICANTE", 3, 38.35, -0.48},
    {"ELCHE", "ALICANTE", 3, 38.27, -0.70},
    {"ALCOY", "ALICANTE", 3, 38.70, -0.47},
    {"VALENCIA", "VALENCIA", 46, 39.47, -0.38},
    {"SAGUNTO", "VALENCIA", 46, 39.68, -0.27},
    {"GANDIA", "VALENCIA", 46, 38.97, -0.18},
    {"ALZIRA", "VALENCIA", 46, 39.15, -0.43},
    {"CASTELLÓN DE LA PLANA", "CASTELLÓN", 12, 39.99, -0.05},
    {"VILA-REAL", "CASTELLÓN", 12, 39.94, -0.10},
    {"VINARÒS", "CASTELLÓN", 12, 40.47, 0.47},
    {"TARRAGONA", "TARRAGONA", 43, 41.12, 1.25},
    {"REUS", "TARRAGONA", 43, 41.16, 1.11},
    {"TORTOSA", "TARRAGONA", 43, 40.81, 0.52},
    {"LLEIDA", "LLEIDA", 25, 41.62, 0.62},
    {"BARCELONA", "BARCELONA", 8, 41.39, 2.17},
    {"SABADELL", "BARCELONA", 8, 41.55, 2.11},
    {"TERRASSA", "BARCELONA", 8, 41.56, 2.01},
    {"MARTORELL", "BARCELONA", 8, 41.47, 1.93},
    {"EL PRAT DE LLOBREGAT", "BARCELONA", 8, 41.33, 2.10},
    {"GRANOLLERS", "BARCELONA", 8, 41.61, 2.29},
    {"GIRONA", "GIRONA", 17, 41.98, 2.82},
    {"FIGUERES", "GIRONA", 17, 42.27, 2.96},
    {"LA JONQUERA", "GIRONA", 17, 42.42, 2.87},
    {"PERPIGNAN", "FRANCIA", 0, 42.70, 2.90},
    {"TOULOUSE", "FRANCIA", 0, 43.60, 1.44},
    {"BORDEAUX", "FRANCIA", 0, 44.84, -0.58},
    {"LYON", "FRANCIA", 0, 45.76, 4.84},
    {"MARSEILLE", "FRANCIA", 0, 43.30, 5.37},
    {"PARIS", "FRANCIA", 0, 48.86, 2.35},
    {"MILANO", "ITALIA", 0, 45.46, 9.19},
    {"TORINO", "ITALIA", 0, 45.07, 7.69},
    {"GENOVA", "ITALIA", 0, 44.41, 8.93},
    {"LISBOA", "PORTUGAL", 0, 38.72, -9.14},
    {"PORTO", "PORTUGAL", 0, 41.15, -8.61},
};

const char *const kPoligonos[] = {
    "EL PORTAZGO", "LOS LLANOS", "LA ESTACIÓN",   "SAN ISIDRO",    "EL CAMPILLO",
    "LAS NORIAS",  "EL SEQUERO", "SANTA ANA",     "LA CHARCA",     "EL TOLLO",
    "LAS CAÑAS",   "LOS ÁLAMOS", "EL ESPARRAGAL", "SAN CRISTÓBAL", "LA ERMITA",
    "EL PRADO",    "LOS OLIVOS", "LA PAZ",        "EL CERRO",      "CAMINO REAL",
};

const char *const kCalles[] = {
    "C/ MAYOR",      "AVDA. DE MADRID", "C/ SAN VICENTE", "PZA. ESPAÑA",
    "C/ DEL COSO",   "AVDA. ARAGÓN",    "C/ REAL",        "C/ LA IGLESIA",
    "AVDA. NAVARRA", "C/ DEL SOL",      "C/ ALFONSO I",   "PASEO DEL EBRO",
};

// Landline prefix of a province (the ones of the places above).
QString prefijoTelefono(int provincia) {
    switch (provincia) {
    case 1:
        return QStringLiteral("945");
    case 2:
        return QStringLiteral("967");
    case 3:
        return QStringLiteral("965");
    case 4:
        return QStringLiteral("950");
    case 5:
        return QStringLiteral("920");
    case 6:
        return QStringLiteral("924");
    case 8:
        return QStringLiteral("93");
    case 9:
        return QStringLiteral("947");
    case 10:
        return QStringLiteral("927");
    case 11:
        return QStringLiteral("956");
    case 12:
        return QStringLiteral("964");
    case 13:
        return QStringLiteral("926");
    case 14:
        return QStringLiteral("957");
    case 15:
        return QStringLiteral("981");
    case 16:
        return QStringLiteral("969");
    case 17:
        return QStringLiteral("972");
    case 18:
        return QStringLiteral("958");
    case 19:
        return QStringLiteral("949");
    case 20:
        return QStringLiteral("943");
    case 21:
        return QStringLiteral("959");
    case 22:
        return QStringLiteral("974");
    case 23:
        return QStringLiteral("953");
    case 24:
        return QStringLiteral("987");
    case 25:
        return QStringLiteral("973");
    case 26:
        return QStringLiteral("941");
    case 27:
        return QStringLiteral("982");
    case 28:
        return QStringLiteral("91");
    case 29:
        return QStringLiteral("952");
    case 30:
        return QStringLiteral("968");
    case 31:
        return QStringLiteral("948");
    case 32:
        return QStringLiteral("988");
    case 33:
        return QStringLiteral("985");
    case 34:
        return QStringLiteral("979");
    case 36:
        return QStringLiteral("986");
    case 37:
        return QStringLiteral("923");
    case 39:
        return QStringLiteral("942");
    case 40:
        return QStringLiteral("921");
    case 41:
        return QStringLiteral("954");
    case 42:
        return QStringLiteral("975");
    case 43:
        return QStringLiteral("977");
    case 44:
        return QStringLiteral("978");
    case 45:
        return QStringLiteral("925");
    case 46:
        return QStringLiteral("96");
    case 47:
        return QStringLiteral("983");
    case 48:
        return QStringLiteral("94");
    case 49:
        return QStringLiteral("980");
    case 50:
        return QStringLiteral("976");
    default:
        return QStringLiteral("976");
    }
}

struct ConceptoViaje {
    const char *concepto;
    double minimo;
    double maximo;
    bool porDia;
};

const ConceptoViaje kConceptosViaje[] = {
    {"DIETAS", 28, 45, true},
    {"APARCAMIENTO VIGILADO", 10, 25, false},
    {"LAVADO CAMIÓN", 35, 70, false},
    {"BÁSCULA", 5, 15, false},
    {"DUCHA ÁREA DE SERVICIO", 3, 6, false},
    {"REPARACIÓN PINCHAZO", 40, 120, false},
    {"ESTIBA Y DESESTIBA", 30, 90, false},
    {"PALETS", 20, 80, false},
};

const char *const kTiposGasto[] = {"Gastos varios",          "Impuestos",        "Seguridad Social",
                                   "Taller (Mantenimiento)", "Taller (Roturas)", "Telefono"};
// How often each type above occurs, in percent.
const int kPesoTipoGasto[] = {25, 10, 20, 20, 10, 15};

struct ConceptoGasto {
    int tipo; // index in kTiposGasto
    const char *concepto;
    double minimo;
    double maximo;
};

const ConceptoGasto kConceptosGasto[] = {
    {0, "GESTORÍA - CUOTA MENSUAL", 90, 180},
    {0, "MATERIAL DE OFICINA", 15, 120},
    {0, "DESCARGA DATOS TACÓGRAFO", 20, 45},
    {0, "CURSO CAP CONDUCTOR", 180, 320},
    {0, "TARJETA DE TACÓGRAFO", 35, 45},
    {1, "IMPUESTO DE CIRCULACIÓN", 110, 480},
    {1, "VISADO TARJETA DE TRANSPORTE", 40, 60},
    {1, "TASA ITV", 60, 110},
    {2, "CUOTA SEGURIDAD SOCIAL", 380, 620},
    {3, "CAMBIO DE ACEITE Y FILTROS", 280, 520},
    {3, "REVISIÓN PERIÓDICA", 350, 900},
    {3, "ENGRASE GENERAL", 60, 140},
    {3, "PASTILLAS DE FRENO", 240, 480},
    {3, "ALINEACIÓN DE EJES", 90, 160},
    {4, "SUSTITUCIÓN EMBRAGUE", 1200, 2600},
    {4, "REPARACIÓN CAJA DE CAMBIOS", 900, 3800},
    {4, "RADIADOR", 450, 1100},
    {4, "ALTERNADOR", 380, 750},
    {4, "LUNA DELANTERA", 420, 780},
    {5, "FACTURA TELÉFONO MÓVIL", 25, 95},
    {5, "FACTURA LOCALIZADOR GPS", 18, 30},
};

const char *const kAseguradoras[] = {"MUTUA DEL TRANSPORTE", "SEGUROS LA PREVISORA",
                                     "IBÉRICA DE SEGUROS", "ASEGURADORA DEL EBRO", "UNIÓN MUTUAL"};

const char *const kMarcasNeumatico[] = {"RODASUR", "IBERGOMA", "TRANSRUEDA", "NORTEGOMA",
                                        "CARRETERA PLUS"};
const char *const kMedidasNeumatico[] = {"315/80 R22.5", "385/65 R22.5", "295/80 R22.5",
                                         "315/70 R22.5", "385/55 R22.5"};
const char *const kPosicionesTractor[] = {
    "DELANTERA IZQUIERDA",       "DELANTERA DERECHA",           "TRACCIÓN IZQUIERDA EXTERIOR",
    "TRACCIÓN DERECHA EXTERIOR", "TRACCIÓN IZQUIERDA INTERIOR", "TRACCIÓN DERECHA INTERIOR"};
const char *const kPosicionesRemolque[] = {"EJE 1 IZQUIERDA", "EJE 1 DERECHA",   "EJE 2 IZQUIERDA",
                                           "EJE 2 DERECHA",   "EJE 3 IZQUIERDA", "EJE 3 DERECHA"};
const char *const kMotivosNeumatico[] = {"DESGASTE", "DESGASTE", "DESGASTE IRREGULAR",
                                         "PINCHAZO", "REVENTÓN", "CORTE LATERAL"};

// Diesel price per litre, roughly as it went.
double precioGasoleo(int ano) {
    static const double precio[] = {0.72, 0.70, 0.68, 0.70, 0.76, 0.88, 0.94, 0.94, 1.08,
                                    0.88, 1.05, 1.22, 1.30, 1.28, 1.25, 1.05, 0.95, 1.03,
                                    1.15, 1.12, 0.98, 1.18, 1.65, 1.45, 1.38, 1.33, 1.33};
    const int n = int(std::size(precio));
    return precio[std::clamp(ano - 2000, 0, n - 1)];
}

// First letter of the plates registered in a year.
QChar letraMatricula(int ano) {
    static const char letra[] = "BBCCDDFFGGGHHHJJJKKKLLLMMNN";
    const int n = int(sizeof(letra)) - 1;
    return QLatin1Char(letra[std::clamp(ano - 2000, 0, n - 1)]);
}

QString utf8(const char *s) {
    return QString::fromUtf8(s);
}

// Only ASCII letters and digits, for e-mail addresses.
QString ascii(const QString &texto) {
    QString out;
    for (QChar c : texto.normalized(QString::NormalizationForm_D))
        if (c.unicode() < 128 && c.isLetterOrNumber())
            out += c.toLower();
    return out;
}

// ---------------------------------------------------------------------------------------------

class Azar {
public:
    explicit Azar(quint32 semilla) : m_gen(semilla) {}

    // A whole number from `desde` to `hasta`, both included.
    int entero(int desde, int hasta) {
        return hasta <= desde ? desde : m_gen.bounded(desde, hasta + 1);
    }
    double real(double desde, double hasta) {
        return desde + m_gen.generateDouble() * (hasta - desde);
    }
    bool si(double probabilidad) { return m_gen.generateDouble() < probabilidad; }
    // Favours the first of n: a few clients bring most of the work.
    int sesgado(int n) {
        const double u = m_gen.generateDouble();
        return std::min(n - 1, int(n * u * u));
    }
    QDate fecha(QDate desde, QDate hasta) {
        return desde.addDays(entero(0, int(desde.daysTo(hasta))));
    }
    QString digitos(int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QChar('0' + entero(0, 9));
        return s;
    }
    template <typename T, size_t N> const T &uno(const T (&lista)[N]) {
        return lista[entero(0, int(N) - 1)];
    }
    int ponderado(const int *pesos, int n) {
        int total = 0;
        for (int i = 0; i < n; ++i)
            total += pesos[i];
        int x = entero(0, total - 1);
        for (int i = 0; i < n; ++i) {
            if (x < pesos[i])
                return i;
            x -= pesos[i];
        }
        return n - 1;
    }

private:
    QRandomGenerator m_gen;
};

// Tax codes with their real check characters.
QString cif(QChar letra, int sieteDigitos) {
    const QString d = QStringLiteral("%1").arg(sieteDigitos, 7, 10, QLatin1Char('0'));
    int suma = 0;
    for (int i = 0; i < 7; ++i) {
        const int x = d[i].digitValue();
        if (i % 2 == 0) {
            const int doble = 2 * x;
            suma += doble / 10 + doble % 10;
        } else {
            suma += x;
        }
    }
    return letra + d + QString::number((10 - suma % 10) % 10);
}

// As the drivers window's mask "00000000->A" stores it: eight digits, a dash and the letter.
QString nif(int ochoDigitos) {
    static const char letras[] = "TRWAGMYFPDXBNJZSQVHLCKE";
    return QStringLiteral("%1-").arg(ochoDigitos, 8, 10, QLatin1Char('0')) +
           QLatin1Char(letras[ochoDigitos % 23]);
}

int digitoCuenta(const QString &diez) {
    static const int pesos[] = {1, 2, 4, 8, 5, 10, 9, 7, 3, 6};
    int suma = 0;
    for (int i = 0; i < 10; ++i)
        suma += diez[i].digitValue() * pesos[i];
    const int d = 11 - suma % 11;
    return d == 11 ? 0 : d == 10 ? 1 : d;
}

double distanciaKm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double radio = 6371.0;
    constexpr double rad = std::numbers::pi / 180.0;
    const double dlat = (lat2 - lat1) * rad;
    const double dlon = (lon2 - lon1) * rad;
    const double a =
        std::sin(dlat / 2) * std::sin(dlat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dlon / 2) * std::sin(dlon / 2);
    return 2 * radio * std::asin(std::sqrt(a));
}

// Inserts rows into one table through one prepared statement, fields in the given order.
class Escritor {
public:
    Escritor(Connection &db, const QString &tabla, const QStringList &campos) {
        const TableDef *def = Schema::find(tabla);
        if (!def)
            throw StoreError(StoreError::NotFound,
                             QStringLiteral("No existe la tabla %1.").arg(tabla));
        QStringList columnas, marcas;
        for (const QString &c : campos) {
            const FieldDef *f = def->field(c);
            if (!f)
                throw StoreError(StoreError::NotFound,
                                 QStringLiteral("La tabla %1 no tiene el campo %2.").arg(tabla, c));
            columnas << Schema::quoteIdent(f->name);
            marcas << QStringLiteral("?");
        }
        m_campos = int(campos.size());
        m_st = Statement(db.handle(), QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                          .arg(Schema::quoteIdent(def->sqlName),
                                               columnas.join(QStringLiteral(", ")),
                                               marcas.join(QStringLiteral(", "))));
    }

    void fila(const QVariantList &valores) {
        Q_ASSERT(valores.size() == m_campos);
        m_st.reset();
        m_st.bindAll(valores);
        m_st.exec();
        ++m_filas;
    }
    qint64 filas() const { return m_filas; }

private:
    Statement m_st;
    int m_campos = 0;
    qint64 m_filas = 0;
};

QVariant nulo() {
    return QVariant();
}

// ---------------------------------------------------------------------------------------------

struct Lugar {
    QString nombre;
    QString pais;
    QString ciudad;
    QString provincia;
    int codigoProvincia = 0;
    double lat = 0;
    double lon = 0;
};

struct Cliente {
    QString cif;
    QString nombre;
};

struct Camionero {
    QString nif;
    double sueldo = 0;
    double ptsKm = 0;
};

struct Vehiculo {
    QString matricula;
    QString conductor; // NIF of the usual driver; tractors only
    bool tractor = true;
    int remolque = -1; // the trailer a tractor usually pulls
    double odometro = 0;
    QString tarjetaCombustible;
    QString tarjetaAutopista;
};

struct Porte {
    int id = 0;
    QString numero;
    QDate fecha;
    int tractor = 0;
    int cliente = 0;
    int carga = 0;
    int descarga = 0;
    double km = 0;
    double precio = 0;
    int reporte = -1;
    bool viaje = false;
    QString remolque; // of its trip, for the invoice text
    bool facturado = false;
    bool pagado = false;
};

struct Reporte {
    int id = 0;
    int porte = 0;
    double precio = 0;
    bool facturado = false;
    bool pagado = false;
};

struct Partida {
    bool esReporte = false;
    int indice = 0;
    QDate fecha;
};

struct Factura {
    QString numero;
    QDate fecha;
    int cliente = 0;
    bool pagada = false;
    bool contabilizada = false;
    QVector<Partida> lineas;
};

QString siNo(bool v) {
    return v ? QStringLiteral("Sí") : QStringLiteral("No");
}

class Empresa {
public:
    Empresa(Connection &db, const Tamano &t, quint32 semilla, const Progreso &progreso)
        : m_db(db), m_t(t), m_azar(semilla), m_progreso(progreso) {}

    void generar() {
        crearLugares();
        crearClientes();
        crearCamioneros();
        crearVehiculos();
        crearPortes();
        crearFacturas();
        escribirLugares();
        escribirClientes();
        escribirCamioneros();
        escribirVehiculos();
        escribirPortes();
        escribirReportes();
        escribirViajes();
        escribirFacturas();
        escribirGastos();
        escribirSeguros();
        escribirTalleres();
        escribirNeumaticos();
        escribirResultadosMensuales();
    }

private:
    void avisar(const QString &tabla, qint64 n) {
        if (m_progreso)
            m_progreso(tabla, n);
    }

    // --- the firm's world, in memory -----------------------------------------------------

    void crearLugares() {
        QVector<int> orden;
        for (int i = 1; i < int(std::size(kPoblaciones)); ++i)
            orden << i;
        for (int i = int(orden.size()) - 1; i > 0; --i)
            std::swap(orden[i], orden[m_azar.entero(0, i)]);
        orden.prepend(0); // the firm's own town is always there
        QSet<QString> usados;
        auto anadir = [&](const Poblacion &p, const QString &nombre) {
            if (nombre.size() > 50 || usados.contains(nombre))
                return;
            usados.insert(nombre);
            Lugar l;
            l.nombre = nombre;
            l.ciudad = utf8(p.nombre);
            l.codigoProvincia = p.codigo;
            l.pais = p.codigo ? QStringLiteral("ESPAÑA") : utf8(p.provincia);
            l.provincia = p.codigo ? utf8(p.provincia) : QString();
            l.lat = p.lat;
            l.lon = p.lon;
            m_lugares << l;
        };
        for (int i : orden) {
            if (m_lugares.size() >= m_t.lugares)
                break;
            const Poblacion &p = kPoblaciones[i];
            const QString ciudad = utf8(p.nombre), provincia = utf8(p.provincia);
            anadir(p, p.codigo == 0 || ciudad == provincia
                          ? ciudad
                          : QString(ciudad + " (" + provincia + ")"));
        }
        // Beyond the towns, the industrial estates of Spanish towns.
        for (int intento = 0; m_lugares.size() < m_t.lugares && intento < 100000; ++intento) {
            const Poblacion &p = kPoblaciones[orden[m_azar.entero(0, int(orden.size()) - 1)]];
            if (p.codigo == 0)
                continue;
            anadir(p, QStringLiteral("POL. IND. %1 (%2)")
                          .arg(utf8(m_azar.uno(kPoligonos)), utf8(p.nombre)));
        }
        for (int i = 0; i < m_lugares.size(); ++i)
            if (esAragon(m_lugares[i].codigoProvincia))
                m_cerca << i;
    }

    const Lugar &lugarEspanol() {
        for (;;) {
            const Lugar &l = m_lugares[m_azar.entero(0, int(m_lugares.size()) - 1)];
            if (l.codigoProvincia)
                return l;
        }
    }

    QString nombreCliente() {
        const QString a = utf8(m_azar.uno(kApellidos));
        QString b = utf8(m_azar.uno(kApellidos));
        if (b == a)
            b = QStringLiteral("HIJOS");
        static const char *const regiones[] = {"EBRO",    "JALÓN", "CINCA",  "MONCAYO", "NORTE",
                                               "LEVANTE", "SUR",   "CENTRO", "DUERO",   "TAJO"};
        const QString region = utf8(m_azar.uno(regiones));
        const QString ciudad = lugarEspanol().ciudad;
        switch (m_azar.entero(0, 15)) {
        case 0:
            return QStringLiteral("TRANSPORTES %1 HERMANOS, S.L.").arg(a);
        case 1:
            return QStringLiteral("TRANSPORTES %1 E HIJOS, S.L.").arg(a);
        case 2:
            return QStringLiteral("%1 Y %2, S.A.").arg(a, b);
        case 3:
            return QStringLiteral("DISTRIBUCIONES %1, S.L.").arg(a);
        case 4:
            return QStringLiteral("FRUTAS %1, S.A.").arg(a);
        case 5:
            return QStringLiteral("CONSERVAS %1 %2, S.L.").arg(a, b);
        case 6:
            return QStringLiteral("MADERAS %1, S.L.").arg(a);
        case 7:
            return QStringLiteral("LOGÍSTICA %1, S.L.").arg(ciudad);
        case 8:
            return QStringLiteral("HIERROS Y ACEROS DEL %1, S.A.").arg(region);
        case 9:
            return QStringLiteral("PIENSOS %1, S.A.").arg(a);
        case 10:
            return QStringLiteral("CEREALES DEL %1, S.COOP.").arg(region);
        case 11:
            return QStringLiteral("CERÁMICAS %1, S.A.").arg(a);
        case 12:
            return QStringLiteral("PAPELERA DEL %1, S.A.").arg(region);
        case 13:
            return QStringLiteral("EMBALAJES %1, S.L.").arg(a);
        case 14:
            return QStringLiteral("MATERIALES DE CONSTRUCCIÓN %1, S.L.").arg(a);
        default:
            return QStringLiteral("QUÍMICAS %1 %2, S.A.").arg(a, b);
        }
    }

    void crearClientes() {
        QSet<QString> nombres, cifs;
        for (int intento = 0; m_clientes.size() < m_t.clientes && intento < 1000000; ++intento) {
            QString nombre = nombreCliente();
            if (nombres.contains(nombre))
                nombre = nombre.replace(QStringLiteral(", "),
                                        QStringLiteral(" %1, ").arg(lugarEspanol().ciudad));
            if (nombres.contains(nombre))
                continue;
            const QChar letra = nombre.endsWith(QLatin1String("S.A."))      ? 'A'
                                : nombre.endsWith(QLatin1String("S.COOP.")) ? 'F'
                                                                            : 'B';
            const QString codigo = cif(letra, m_azar.entero(0, 9999999));
            if (cifs.contains(codigo))
                continue;
            nombres.insert(nombre);
            cifs.insert(codigo);
            m_clientes << Cliente{codigo, nombre};
        }
    }

    void crearCamioneros() {
        QSet<QString> nifs;
        while (m_camioneros.size() < m_t.camioneros) {
            const QString n = nif(m_azar.entero(10000000, 79999999));
            if (nifs.contains(n))
                continue;
            nifs.insert(n);
            Camionero c;
            c.nif = n;
            // Pay grows with the years the period covers.
            const double subida = std::pow(1.03, m_t.hasta.year() - 2000);
            c.sueldo = std::round(m_azar.real(700, 950) * subida / 10.0) * 10.0;
            c.ptsKm = m_azar.entero(5, 8) / 100.0;
            m_camioneros << c;
        }
    }

    QString matricula(int ano) {
        static const char consonantes[] = "BCDFGHJKLMNPRSTVWXYZ";
        const int n = int(sizeof(consonantes)) - 1;
        for (;;) {
            QString m = m_azar.digitos(4) + letraMatricula(ano) +
                        QLatin1Char(consonantes[m_azar.entero(0, n - 1)]) +
                        QLatin1Char(consonantes[m_azar.entero(0, n - 1)]);
            if (!m_matriculas.contains(m)) {
                m_matriculas.insert(m);
                return m;
            }
        }
    }

    void crearVehiculos() {
        auto alta = [&] { return std::max(2000, m_t.desde.year() - m_azar.entero(0, 6)); };
        for (int i = 0; i < m_t.remolques; ++i) {
            Vehiculo v;
            v.matricula = matricula(alta());
            v.tractor = false;
            m_remolques << v;
        }
        for (int i = 0; i < m_t.tractores; ++i) {
            Vehiculo v;
            v.matricula = matricula(alta());
            v.tractor = true;
            if (!m_camioneros.isEmpty())
                v.conductor = m_camioneros[i % m_camioneros.size()].nif;
            v.remolque = m_remolques.isEmpty() ? -1 : i % int(m_remolques.size());
            v.odometro = m_azar.entero(150, 700) * 1000.0;
            v.tarjetaCombustible =
                QStringLiteral("7078 %1 %2 %3")
                    .arg(m_azar.digitos(4), m_azar.digitos(4), m_azar.digitos(4));
            v.tarjetaAutopista = QStringLiteral("9724 %1 %2 %3")
                                     .arg(m_azar.digitos(4), m_azar.digitos(4), m_azar.digitos(4));
            m_tractores << v;
        }
    }

    int elegirLugar() {
        if (!m_cerca.isEmpty() && m_azar.si(0.45))
            return m_cerca[m_azar.entero(0, int(m_cerca.size()) - 1)];
        return m_azar.entero(0, int(m_lugares.size()) - 1);
    }

    void crearPortes() {
        if (m_tractores.isEmpty() || m_clientes.isEmpty() || m_lugares.size() < 2)
            return;
        m_portes.resize(m_t.portes);
        for (Porte &p : m_portes) {
            p.fecha = m_azar.fecha(m_t.desde, m_t.hasta);
            if (p.fecha.dayOfWeek() == Qt::Sunday)
                p.fecha = p.fecha > m_t.desde ? p.fecha.addDays(-1) : p.fecha.addDays(1);
            p.tractor = m_azar.entero(0, int(m_tractores.size()) - 1);
            p.cliente = m_azar.sesgado(int(m_clientes.size()));
            p.carga = elegirLugar();
            do {
                p.descarga = elegirLugar();
            } while (p.descarga == p.carga);
            if (m_azar.si(0.5))
                std::swap(p.carga, p.descarga);
            const Lugar &a = m_lugares[p.carga], &b = m_lugares[p.descarga];
            p.km = std::max(25.0, std::round(distanciaKm(a.lat, a.lon, b.lat, b.lon) * 1.22));
            const double tarifa =
                0.85 * std::pow(1.025, p.fecha.year() - 2000) * m_azar.real(0.9, 1.15);
            p.precio = redondear5(std::max(160.0, p.km * tarifa));
        }
        std::stable_sort(m_portes.begin(), m_portes.end(), [](const Porte &x, const Porte &y) {
            return x.fecha < y.fecha || (x.fecha == y.fecha && x.tractor < y.tractor);
        });
        const double pReporte = m_t.portes ? double(m_t.reportes) / m_t.portes : 0;
        const double pViaje = m_t.portes ? double(m_t.viajes) / m_t.portes : 0;
        QMap<int, int> porAno;
        for (int i = 0; i < m_portes.size(); ++i) {
            Porte &p = m_portes[i];
            p.id = i + 1;
            const int ano = p.fecha.year();
            p.numero = QStringLiteral("%1/%2")
                           .arg(++porAno[ano], 6, 10, QLatin1Char('0'))
                           .arg(ano % 100, 2, 10, QLatin1Char('0'));
            if (m_azar.si(pReporte)) {
                p.reporte = int(m_reportes.size());
                Reporte r;
                r.id = p.reporte + 1;
                r.porte = i;
                r.precio = redondear5(m_azar.real(40, 450));
                m_reportes << r;
            }
            p.viaje = m_azar.si(pViaje);
            if (p.viaje) {
                const Vehiculo &t = m_tractores[p.tractor];
                int remolque = t.remolque;
                if (remolque >= 0 && m_azar.si(0.1))
                    remolque = m_azar.entero(0, int(m_remolques.size()) - 1);
                p.remolque = remolque >= 0 ? m_remolques[remolque].matricula : QString();
            }
        }
    }

    // Invoices charge the hauls and reports of one client in date order; the last month's
    // work is still to be invoiced.
    void crearFacturas() {
        if (m_t.facturas <= 0 || m_clientes.isEmpty())
            return;
        const QDate limite = m_t.hasta.addDays(-30);
        int elegibles = 0;
        for (const Porte &p : m_portes)
            elegibles += p.fecha <= limite ? 1 + (p.reporte >= 0) : 0;
        const double prob = elegibles ? std::min(1.0, double(m_t.lineasFactura) / elegibles) : 0;
        QVector<QVector<Partida>> porCliente(m_clientes.size());
        for (int i = 0; i < m_portes.size(); ++i) {
            const Porte &p = m_portes[i];
            if (p.fecha > limite)
                continue;
            if (m_azar.si(prob))
                porCliente[p.cliente] << Partida{false, i, p.fecha};
            if (p.reporte >= 0 && m_azar.si(prob))
                porCliente[p.cliente] << Partida{true, p.reporte, p.fecha};
        }
        const double media = std::max(1.0, double(m_t.lineasFactura) / m_t.facturas);
        const int maximo = std::max(1, int(std::lround(2 * media - 1)));
        for (int c = 0; c < porCliente.size(); ++c) {
            const QVector<Partida> &partidas = porCliente[c];
            for (int pos = 0; pos < partidas.size();) {
                const int n = std::min(int(partidas.size()) - pos, m_azar.entero(1, maximo));
                Factura f;
                f.cliente = c;
                f.lineas = partidas.mid(pos, n);
                f.fecha = std::min(m_t.hasta, f.lineas.last().fecha.addDays(m_azar.entero(1, 10)));
                const qint64 dias = f.fecha.daysTo(m_t.hasta);
                f.pagada = m_azar.si(dias > 60 ? 0.97 : 0.35);
                f.contabilizada = dias > 20;
                m_facturas << f;
                pos += n;
            }
        }
        std::stable_sort(
            m_facturas.begin(), m_facturas.end(), [](const Factura &x, const Factura &y) {
                return x.fecha < y.fecha || (x.fecha == y.fecha && x.cliente < y.cliente);
            });
        QMap<int, int> porAno;
        for (Factura &f : m_facturas) {
            const int ano = f.fecha.year();
            f.numero = QStringLiteral("%1/%2")
                           .arg(++porAno[ano], 6, 10, QLatin1Char('0'))
                           .arg(ano % 100, 2, 10, QLatin1Char('0'));
            for (const Partida &l : f.lineas) {
                bool &facturado =
                    l.esReporte ? m_reportes[l.indice].facturado : m_portes[l.indice].facturado;
                bool &pagado =
                    l.esReporte ? m_reportes[l.indice].pagado : m_portes[l.indice].pagado;
                facturado = true;
                pagado = f.pagada;
            }
        }
    }

    // --- writing ---------------------------------------------------------------------------

    void escribirLugares() {
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("Lugar.db"), {"Id", "Lugar", "Pais"});
        for (int i = 0; i < m_lugares.size(); ++i)
            e.fila({i + 1, m_lugares[i].nombre, m_lugares[i].pais});
        tx.commit();
        avisar(QStringLiteral("Lugar.db"), e.filas());
    }

    QString telefono(int provincia) {
        const QString prefijo = prefijoTelefono(provincia);
        return prefijo + m_azar.digitos(9 - int(prefijo.size()));
    }

    void escribirClientes() {
        static const char *const notas[] = {"PAGO A 60 DÍAS.", "DESCARGA SÓLO POR LA MAÑANA.",
                                            "ENVIAR LAS FACTURAS POR CORREO.",
                                            "PEDIR CITA PREVIA PARA DESCARGAR."};
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("cliente.DB"),
                   {"CIF", "Apellidos", "Direccion", "CP", "Ciudad", "Provincia", "Pais",
                    "Telefono1", "Telefono2", "Fax", "EMail", "PContacto", "Observacion",
                    "CCCEntidad", "CCCAgencia", "CCCDC", "CCCCuenta"});
        for (const Cliente &c : m_clientes) {
            const Lugar &l = !m_cerca.isEmpty() && m_azar.si(0.5)
                                 ? m_lugares[m_cerca[m_azar.entero(0, int(m_cerca.size()) - 1)]]
                                 : lugarEspanol();
            const QString direccion = m_azar.si(0.6) ? QStringLiteral("POL. IND. %1, NAVE %2")
                                                           .arg(utf8(m_azar.uno(kPoligonos)))
                                                           .arg(m_azar.entero(1, 60))
                                                     : QStringLiteral("%1, %2")
                                                           .arg(utf8(m_azar.uno(kCalles)))
                                                           .arg(m_azar.entero(1, 120));
            const QString cp = QStringLiteral("%1").arg(
                l.codigoProvincia * 1000 + m_azar.entero(1, 999), 5, 10, QLatin1Char('0'));
            const QStringList palabras = c.nombre.split(QLatin1Char(' '));
            const QString dominio =
                ascii(palabras.value(0) + palabras.value(1).remove(QLatin1Char(',')));
            const QString entidad = m_azar.digitos(4), agencia = m_azar.digitos(4),
                          cuenta = m_azar.digitos(10);
            const QString dc =
                QString::number(digitoCuenta(QStringLiteral("00") + entidad + agencia)) +
                QString::number(digitoCuenta(cuenta));
            const QString contacto =
                utf8(m_azar.uno(kNombres)) + ' ' + utf8(m_azar.uno(kApellidos));
            e.fila({c.cif, c.nombre, direccion, cp, l.ciudad.left(25), l.provincia.left(25),
                    QStringLiteral("ESPAÑA"), telefono(l.codigoProvincia),
                    m_azar.si(0.4) ? QVariant(QString(QStringLiteral("6") + m_azar.digitos(8)))
                                   : nulo(),
                    m_azar.si(0.5) ? QVariant(telefono(l.codigoProvincia)) : nulo(),
                    QStringLiteral("administracion@%1.es").arg(dominio), contacto,
                    m_azar.si(0.2) ? QVariant(utf8(m_azar.uno(notas))) : nulo(), entidad, agencia,
                    dc, cuenta});
        }
        tx.commit();
        avisar(QStringLiteral("cliente.DB"), e.filas());
    }

    void escribirCamioneros() {
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("Camioner.DB"),
                   {"CIF", "Apellidos", "Nombre", "Direccion", "CP", "Ciudad", "Provincia",
                    "Telefono", "SueldoBase", "PtsKm"});
        for (const Camionero &c : m_camioneros) {
            const Lugar &l = !m_cerca.isEmpty()
                                 ? m_lugares[m_cerca[m_azar.entero(0, int(m_cerca.size()) - 1)]]
                                 : lugarEspanol();
            const QString apellidos =
                utf8(m_azar.uno(kApellidos)) + ' ' + utf8(m_azar.uno(kApellidos));
            e.fila({c.nif, apellidos.left(25), utf8(m_azar.uno(kNombres)),
                    QStringLiteral("%1, %2")
                        .arg(utf8(m_azar.uno(kCalles)))
                        .arg(m_azar.entero(1, 90))
                        .left(25),
                    QStringLiteral("%1").arg(l.codigoProvincia * 1000 + m_azar.entero(1, 999), 5,
                                             10, QLatin1Char('0')),
                    l.ciudad.left(25), l.provincia.left(25),
                    QString(QStringLiteral("6") + m_azar.digitos(8)), c.sueldo, c.ptsKm});
        }
        tx.commit();
        avisar(QStringLiteral("Camioner.DB"), e.filas());
    }

    void escribirVehiculos() {
        static const char *const tractoras[] = {"TRACTORA 440 CV", "TRACTORA 460 CV",
                                                "TRACTORA 480 CV", "TRACTORA 500 CV",
                                                "CABEZA TRACTORA 420 CV"};
        static const char *const remolques[] = {"SEMIRREMOLQUE FRIGORÍFICO", "SEMIRREMOLQUE LONAS",
                                                "SEMIRREMOLQUE BASCULANTE",  "CISTERNA ALIMENTARIA",
                                                "PORTACONTENEDORES",         "PLATAFORMA"};
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("camiones.DB"),
                   {"Matricula", "CIF", "Descripcion", "Tipo", "FechaITV"});
        for (const Vehiculo &v : m_tractores)
            e.fila({v.matricula, v.conductor.isEmpty() ? nulo() : QVariant(v.conductor),
                    utf8(m_azar.uno(tractoras)), QStringLiteral("Cabeza"),
                    m_t.hasta.addDays(m_azar.entero(10, 365))});
        for (const Vehiculo &v : m_remolques)
            e.fila({v.matricula, nulo(), utf8(m_azar.uno(remolques)).left(25),
                    QStringLiteral("Remolque"), m_t.hasta.addDays(m_azar.entero(10, 365))});
        tx.commit();
        avisar(QStringLiteral("camiones.DB"), e.filas());
    }

    void escribirPortes() {
        static const char *const notas[] = {"CARGA PALETIZADA.", "ENTREGA ANTES DE LAS 8:00.",
                                            "MERCANCÍA REFRIGERADA.", "CITA PREVIA EN DESCARGA.",
                                            "LLEVAR CINCHAS Y CANTONERAS."};
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("portes.DB"),
                   {"ID", "Numero", "Fecha", "Matricula", "Transportista", "Carga", "Descarga",
                    "Precio", "Facturado", "Pagado", "Reportado", "Observaciones"});
        for (const Porte &p : m_portes)
            e.fila({p.id, p.numero, p.fecha, m_tractores[p.tractor].matricula,
                    m_clientes[p.cliente].nombre, m_lugares[p.carga].nombre,
                    m_lugares[p.descarga].nombre, p.precio, siNo(p.facturado), siNo(p.pagado),
                    siNo(p.reporte >= 0),
                    m_azar.si(0.1) ? QVariant(utf8(m_azar.uno(notas))) : nulo()});
        tx.commit();
        avisar(QStringLiteral("portes.DB"), e.filas());
    }

    void escribirReportes() {
        static const char *const notas[] = {"PARALIZACIÓN EN DESTINO.", "SEGUNDA DESCARGA.",
                                            "CARGA ADICIONAL EN RUTA.", "ESPERA EN ADUANA.",
                                            "DEVOLUCIÓN DE PALETS."};
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("reportes.DB"),
                   {"NumREgistro", "Numero", "Fecha", "Transportista", "Matricula", "Carga",
                    "Descarga", "Precio", "Facturado", "Pagado", "Notas"});
        for (const Reporte &r : m_reportes) {
            const Porte &p = m_portes[r.porte];
            e.fila({r.id, p.numero, p.fecha, m_clientes[p.cliente].nombre,
                    m_tractores[p.tractor].matricula, m_lugares[p.carga].nombre,
                    m_lugares[p.descarga].nombre, r.precio, siNo(r.facturado), siNo(r.pagado),
                    m_azar.si(0.6) ? QVariant(utf8(m_azar.uno(notas))) : nulo()});
        }
        tx.commit();
        avisar(QStringLiteral("reportes.DB"), e.filas());
    }

    // Tolls by the countries the route crosses.
    QString autopista(const Porte &p) {
        const QString a = m_lugares[p.carga].pais, b = m_lugares[p.descarga].pais;
        auto por = [&](const char *pais) {
            return a == QLatin1String(pais) || b == QLatin1String(pais);
        };
        if (por("ITALIA"))
            return m_azar.si(0.5) ? QStringLiteral("A. Italia") : QStringLiteral("A. Francia");
        if (por("FRANCIA"))
            return m_azar.si(0.6) ? QStringLiteral("A. Francia") : QStringLiteral("A. Espana");
        if (por("PORTUGAL"))
            return m_azar.si(0.6) ? QStringLiteral("A. Portugal") : QStringLiteral("A. Espana");
        const int x = m_azar.entero(0, 9);
        return x < 7   ? QStringLiteral("A. Espana")
               : x < 9 ? QStringLiteral("Otras autopistas")
                       : QStringLiteral("Tasas");
    }

    // Each trip with its fuel, toll and other-cost lines, and the result the trips window
    // computes from them.
    void escribirViajes() {
        Transaction tx(m_db);
        Escritor viajes(m_db, QStringLiteral("viaje.DB"),
                        {"NumViaje",
                         "NumeroPorte",
                         "NumeroReporte",
                         "NumPorte",
                         "CondCIF",
                         "MatricTractor",
                         "MatricRemolque",
                         "Origen",
                         "Destino",
                         "FechaSalida",
                         "FechaLlegada",
                         "NumDias",
                         "Kmsalida",
                         "Kmllegada",
                         "KmtTotales",
                         "Anticipo",
                         "Pagado",
                         "NumTarjetaCombustible",
                         "NumTarjetaAutopista",
                         "TotalIngresos",
                         "TotalCombustible",
                         "TotalLitros",
                         "PtaLitro",
                         "TotalAutopista",
                         "TotalOtrosGastos",
                         "TotalCosteCamionero",
                         "TotalGastos",
                         "Beneficios",
                         "PorcentajeBeneficio",
                         "PrecioKm",
                         "Consumo"});
        Escritor combustible(
            m_db, QStringLiteral("gascombu.DB"),
            {"NumViaje", "Matricula", "Mes", "Ano", "Lugar", "Litros", "Precio", "Importe"});
        Escritor otros(m_db, QStringLiteral("gasviaje.DB"),
                       {"NumViaje", "Matricula", "Mes", "Ano", "Concepto", "Importe"});
        Escritor peajes(m_db, QStringLiteral("gasautop.DB"),
                        {"NumViaje", "Matricula", "Mes", "Ano", "Autopista", "Tramo", "Importe"});
        QHash<QString, Camionero> camioneros;
        for (const Camionero &c : m_camioneros)
            camioneros.insert(c.nif, c);

        for (const Porte &p : m_portes) {
            if (!p.viaje)
                continue;
            Vehiculo &t = m_tractores[p.tractor];
            const Lugar &origen = m_lugares[p.carga], &destino = m_lugares[p.descarga];
            const QDate salida = p.fecha;
            const QDate llegada =
                std::min(m_t.hasta, salida.addDays(int(p.km / 650) + (m_azar.si(0.3) ? 1 : 0)));
            const double kmSalida = t.odometro;
            const double km = std::round(p.km * m_azar.real(1.0, 1.08));
            const double kmLlegada = kmSalida + km;
            t.odometro = kmLlegada + m_azar.entero(0, 250);
            const int mes = llegada.month(), ano = llegada.year();

            const int lineas = m_azar.entero(m_t.lineasPorViajeMin, m_t.lineasPorViajeMax);
            int nCombustible = 1, nPeajes = lineas > 1 ? 1 : 0, nOtros = 0;
            for (int i = 2; i < lineas; ++i) {
                const int x = m_azar.entero(0, 99);
                (x < 45 ? nCombustible : x < 75 ? nPeajes : nOtros)++;
            }

            double litrosTotal = 0, combustibleTotal = 0;
            const double litrosViaje = km * m_azar.real(29, 36) / 100.0;
            for (int i = 0; i < nCombustible; ++i) {
                const double litros =
                    redondear2(litrosViaje / nCombustible * m_azar.real(0.85, 1.15));
                const double precio =
                    std::round((precioGasoleo(llegada.year()) + m_azar.real(-0.04, 0.04)) *
                               1000.0) /
                    1000.0;
                const double importe = redondear2(litros * precio);
                combustible.fila({p.numero, t.matricula, mes, ano,
                                  (i % 2 ? destino : origen).nombre, litros, precio, importe});
                litrosTotal += litros;
                combustibleTotal += importe;
            }

            double peajesTotal = 0;
            for (int i = 0; i < nPeajes; ++i) {
                const QString categoria = autopista(p);
                const double importe = redondear2(std::max(3.5, km * m_azar.real(0.03, 0.12)));
                peajes.fila({p.numero, t.matricula, mes, ano, categoria,
                             QStringLiteral("%1 - %2").arg(origen.ciudad, destino.ciudad),
                             importe});
                peajesTotal += importe;
            }

            const int dias = std::max<int>(1, int(salida.daysTo(llegada)));
            double otrosTotal = 0;
            for (int i = 0; i < nOtros; ++i) {
                const ConceptoViaje &c = m_azar.uno(kConceptosViaje);
                const double importe =
                    redondear2(m_azar.real(c.minimo, c.maximo) * (c.porDia ? dias : 1));
                otros.fila({p.numero, t.matricula, mes, ano, utf8(c.concepto), importe});
                m_ultimoImporte.insert(utf8(c.concepto), importe);
                otrosTotal += importe;
            }

            const Camionero conductor = camioneros.value(t.conductor);
            const double ingresos = p.precio + (p.reporte >= 0 ? m_reportes[p.reporte].precio : 0);
            const double costeCamionero = conductor.ptsKm * km + dias * conductor.sueldo / 30.0;
            const double gastos = conductor.ptsKm * km + peajesTotal + otrosTotal +
                                  dias * conductor.sueldo / 30.0 + combustibleTotal;
            const double beneficio = ingresos - gastos;
            viajes.fila({p.numero,
                         p.id,
                         p.reporte >= 0 ? QVariant(m_reportes[p.reporte].id) : nulo(),
                         p.numero,
                         t.conductor.isEmpty() ? nulo() : QVariant(t.conductor),
                         t.matricula,
                         p.remolque.isEmpty() ? nulo() : QVariant(p.remolque),
                         origen.nombre,
                         destino.nombre,
                         salida,
                         llegada,
                         dias,
                         kmSalida,
                         kmLlegada,
                         km,
                         m_azar.si(0.15) ? QVariant(double(m_azar.entero(1, 6) * 50)) : nulo(),
                         p.pagado,
                         t.tarjetaCombustible,
                         t.tarjetaAutopista,
                         ingresos,
                         combustibleTotal,
                         redondear2(litrosTotal),
                         litrosTotal > 0 ? redondear2(combustibleTotal / litrosTotal) : 0.0,
                         peajesTotal,
                         otrosTotal,
                         redondear2(costeCamionero),
                         gastos,
                         beneficio,
                         ingresos != 0 ? redondear2(beneficio * 100 / ingresos) : 0.0,
                         km > 0 && ingresos > 0 ? redondear2(ingresos / km) : 0.0,
                         km > 0 && litrosTotal > 0 ? redondear2(litrosTotal * 100 / km) : 0.0});
        }
        Escritor conceptos(m_db, QStringLiteral("ConGasto.db"), {"Concepto", "Importe"});
        for (auto it = m_ultimoImporte.cbegin(); it != m_ultimoImporte.cend(); ++it)
            conceptos.fila({it.key(), it.value()});
        tx.commit();
        avisar(QStringLiteral("viaje.DB"), viajes.filas());
        avisar(QStringLiteral("gascombu.DB"), combustible.filas());
        avisar(QStringLiteral("gasautop.DB"), peajes.filas());
        avisar(QStringLiteral("gasviaje.DB"), otros.filas());
        avisar(QStringLiteral("ConGasto.db"), conceptos.filas());
    }

    // Invoice lines carry what "Calcular factura" would fill in, and the totals at 16 % VAT.
    void escribirFacturas() {
        Transaction tx(m_db);
        Escritor facturas(m_db, QStringLiteral("facturas.DB"),
                          {"NumFactura", "Fecha", "C", "CIF", "Tbruto", "Dto", "Base", "Iva",
                           "TotalIva", "TotalRecibo", "Acuenta", "Retencion", "APagar", "Euros",
                           "Cambio", "OtroImporte", "Pagado", "Facturado"});
        Escritor lineas(m_db, QStringLiteral("detalle.DB"),
                        {"NumFactura", "IDPorte", "IDReporte", "NumPorte", "Fecha", "Cantidad",
                         "Precio", "Importe", "Concepto"});
        for (const Factura &f : m_facturas) {
            double bruto = 0;
            for (const Partida &l : f.lineas) {
                const Porte &p =
                    l.esReporte ? m_portes[m_reportes[l.indice].porte] : m_portes[l.indice];
                const double precio = l.esReporte ? m_reportes[l.indice].precio : p.precio;
                const QString concepto =
                    QStringLiteral("PORTE DESDE %1 HASTA %2 - %3")
                        .arg(m_lugares[p.carga].nombre, m_lugares[p.descarga].nombre, p.remolque);
                lineas.fila({f.numero, l.esReporte ? nulo() : QVariant(p.id),
                             l.esReporte ? QVariant(m_reportes[l.indice].id) : nulo(), p.numero,
                             p.fecha, 1.0, precio, precio, concepto.left(255)});
                bruto += precio;
            }
            const double iva = bruto * kIva / 100.0;
            const double total = bruto + iva;
            facturas.fila({f.numero, f.fecha,
                           m_azar.si(0.9) ? QStringLiteral("T") : QStringLiteral("FACTURA"),
                           m_clientes[f.cliente].cif, redondear2(bruto), nulo(), redondear2(bruto),
                           kIva, redondear2(iva), redondear2(total), nulo(), 0.0, redondear2(total),
                           redondear2(total), 0.0, nulo(), f.pagada, f.contabilizada});
        }
        tx.commit();
        avisar(QStringLiteral("facturas.DB"), facturas.filas());
        avisar(QStringLiteral("detalle.DB"), lineas.filas());
    }

    const Vehiculo &vehiculoCualquiera() {
        if (m_remolques.isEmpty() || m_azar.si(0.8))
            return m_tractores[m_azar.entero(0, int(m_tractores.size()) - 1)];
        return m_remolques[m_azar.entero(0, int(m_remolques.size()) - 1)];
    }

    void escribirGastos() {
        if (m_tractores.isEmpty())
            return;
        const TableDef *def = Schema::find(QStringLiteral("detagast.DB"));
        const IndexDef *enlace =
            def ? def->index(QStringLiteral("DetalleGastoNumeroGasto")) : nullptr;
        if (!enlace || enlace->fields.isEmpty())
            throw StoreError(
                StoreError::NoIndex,
                QStringLiteral("La tabla detagast.DB no tiene el índice DetalleGastoNumeroGasto."));
        Transaction tx(m_db);
        Escritor gastos(m_db, QStringLiteral("Gastos.DB"),
                        {"Numero", "Fecha", "Matricula", "Tipo", "Pagado", "Base", "PorcentajeIVA",
                         "ImporteIVA", "ImporteTotal", "Euros"});
        Escritor lineas(
            m_db, QStringLiteral("detagast.DB"),
            {enlace->fields.first(), "Fecha", "Concepto", "Cantidad", "Precio", "Importe"});
        const int nTipos = int(std::size(kTiposGasto));
        QVector<QVector<const ConceptoGasto *>> conceptos(nTipos);
        for (const ConceptoGasto &c : kConceptosGasto)
            conceptos[c.tipo] << &c;
        for (int numero = 1; numero <= m_t.gastos; ++numero) {
            const QDate fecha = m_azar.fecha(m_t.desde, m_t.hasta);
            const int tipo = m_azar.ponderado(kPesoTipoGasto, nTipos);
            const Vehiculo &v = vehiculoCualquiera();
            const int n = tipo == 2 || tipo == 5 ? 1 : m_azar.entero(1, 3);
            double base = 0;
            for (int i = 0; i < n; ++i) {
                const ConceptoGasto *c =
                    conceptos[tipo][m_azar.entero(0, int(conceptos[tipo].size()) - 1)];
                // Only supplies and parts come by the unit.
                const bool porUnidades = tipo == 0 || tipo == 3;
                const double cantidad = porUnidades && m_azar.si(0.2) ? m_azar.entero(2, 4) : 1;
                const double precio = redondear2(m_azar.real(c->minimo, c->maximo));
                const double importe = redondear2(cantidad * precio);
                lineas.fila({numero, fecha, utf8(c->concepto), cantidad, precio, importe});
                base += importe;
            }
            // Social security and taxes carry no VAT.
            const double porcentaje = tipo == 1 || tipo == 2 ? 0.0 : kIva;
            const double iva = redondear2(base * porcentaje / 100.0);
            const double total = redondear2(base + iva);
            gastos.fila({numero, fecha, v.matricula, utf8(kTiposGasto[tipo]),
                         fecha.daysTo(m_t.hasta) > 30 || m_azar.si(0.5), redondear2(base),
                         porcentaje, iva, total, total});
        }
        tx.commit();
        avisar(QStringLiteral("Gastos.DB"), gastos.filas());
        avisar(QStringLiteral("detagast.DB"), lineas.filas());
    }

    void escribirSeguros() {
        if (m_tractores.isEmpty())
            return;
        Transaction tx(m_db);
        Escritor e(
            m_db, QStringLiteral("Seguros.DB"),
            {"Matricula", "Tipo", "Compañia", "Importe", "FechaPago", "Vencimiento", "Vencido"});
        for (int i = 0; i < m_t.seguros; ++i) {
            const Vehiculo &v = vehiculoCualquiera();
            const QDate pago = m_azar.fecha(m_t.desde, m_t.hasta);
            const QDate vence = pago.addYears(1).addDays(-1);
            QString tipo;
            double importe = 0;
            if (v.tractor && m_azar.si(0.7)) {
                tipo = QStringLiteral("RESPONSABILIDAD CIVIL");
                importe = m_azar.real(1800, 3200);
            } else if (m_azar.si(0.5)) {
                tipo = QStringLiteral("DAÑOS PROPIOS");
                importe = m_azar.real(400, 900);
            } else {
                tipo = QStringLiteral("MERCANCÍAS");
                importe = m_azar.real(300, 700);
            }
            e.fila({v.matricula, tipo, utf8(m_azar.uno(kAseguradoras)), redondear2(importe), pago,
                    vence, siNo(vence < m_t.hasta)});
        }
        tx.commit();
        avisar(QStringLiteral("Seguros.DB"), e.filas());
    }

    void escribirTalleres() {
        if (m_tractores.isEmpty())
            return;
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("Taller.DB"), {"Fecha", "Matricula", "Importe"});
        for (int i = 0; i < m_t.talleres; ++i)
            e.fila({m_azar.fecha(m_t.desde, m_t.hasta), vehiculoCualquiera().matricula,
                    redondear2(m_azar.real(80, 2500))});
        tx.commit();
        avisar(QStringLiteral("Taller.DB"), e.filas());
    }

    void escribirNeumaticos() {
        if (m_tractores.isEmpty())
            return;
        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("Neumaticos.db"),
                   {"Matricula", "Marca", "Numeracion", "Posicion", "Motivo", "FechaInicio",
                    "FechaFin", "DiasTotales", "KmInicio", "KmFin", "KmTotales", "Importe",
                    "Cambiado", "Observacion"});
        for (int i = 0; i < m_t.neumaticos; ++i) {
            const Vehiculo &v = vehiculoCualquiera();
            const QDate inicio = m_azar.fecha(m_t.desde, m_t.hasta.addDays(-60));
            const QDate fin = inicio.addDays(m_azar.entero(60, 420));
            const bool cambiado = fin <= m_t.hasta;
            const double kmInicio = m_azar.entero(150, 900) * 1000.0;
            const double kmTotales =
                cambiado ? double(inicio.daysTo(fin) * m_azar.entero(250, 450)) : 0;
            e.fila(
                {v.matricula, utf8(m_azar.uno(kMarcasNeumatico)),
                 utf8(m_azar.uno(kMedidasNeumatico)),
                 utf8(v.tractor ? m_azar.uno(kPosicionesTractor) : m_azar.uno(kPosicionesRemolque)),
                 cambiado ? QVariant(utf8(m_azar.uno(kMotivosNeumatico))) : nulo(), inicio,
                 cambiado ? QVariant(fin) : nulo(),
                 cambiado ? QVariant(double(inicio.daysTo(fin))) : nulo(), kmInicio,
                 cambiado ? QVariant(kmInicio + kmTotales) : nulo(),
                 cambiado ? QVariant(kmTotales) : nulo(), redondear2(m_azar.real(280, 520)),
                 cambiado, nulo()});
        }
        tx.commit();
        avisar(QStringLiteral("Neumaticos.db"), e.filas());
    }

    // The lines "Añadir total mensual" would store, read back from what was written above.
    void escribirResultadosMensuales() {
        if (m_t.mesesResultado <= 0 || m_tractores.isEmpty())
            return;
        auto sumas = [this](const QString &sql, const QVariantList &valores) {
            Statement st(m_db.handle(), sql);
            st.bindAll(valores);
            QVector<double> out;
            if (st.step())
                for (int i = 0; i < st.columnCount(); ++i)
                    out << st.columnDouble(i);
            return out;
        };
        auto porClave = [this](const QString &sql, const QVariantList &valores) {
            Statement st(m_db.handle(), sql);
            st.bindAll(valores);
            QMap<QString, double> out;
            while (st.step())
                out.insert(st.column(0).toString(), st.columnDouble(1));
            return out;
        };
        QHash<QString, Camionero> camioneros;
        for (const Camionero &c : m_camioneros)
            camioneros.insert(c.nif, c);
        // Only whole months: the one after the last is the month of the period's end, or the next
        // one when the period ends on its last day.
        QDate ultimoMes = QDate(m_t.hasta.year(), m_t.hasta.month(), 1);
        if (m_t.hasta.day() == m_t.hasta.daysInMonth())
            ultimoMes = ultimoMes.addMonths(1);
        const QDate primerMes = ultimoMes.addMonths(-m_t.mesesResultado);

        // Toll lines have no index by plate: one pass over them for every month wanted.
        QHash<QString, QMap<QString, double>> peajesPorMes;
        {
            Statement st(m_db.handle(),
                         QStringLiteral(
                             "SELECT Matricula, Mes, Ano, UPPER(Autopista), TOTAL(Importe) FROM "
                             "gasautop WHERE Ano * 100 + Mes BETWEEN ? AND ? GROUP BY 1, 2, 3, 4"));
            st.bindAll({primerMes.year() * 100 + primerMes.month(),
                        ultimoMes.year() * 100 + ultimoMes.month()});
            while (st.step())
                peajesPorMes[QStringLiteral("%1|%2|%3")
                                 .arg(st.column(0).toString())
                                 .arg(st.columnInt64(1))
                                 .arg(st.columnInt64(2))]
                    .insert(st.column(3).toString(), st.columnDouble(4));
        }

        Transaction tx(m_db);
        Escritor e(m_db, QStringLiteral("gastomes.DB"),
                   {"Matricula",
                    "CIF",
                    "Mes",
                    "Ano",
                    "TotalIngresos",
                    "TotalGastos",
                    "Beneficio",
                    "BeneficioToal",
                    "Gasoil",
                    "TotalLitros",
                    "TotalKm",
                    "ConsumoMedio",
                    "TotalAutopistas",
                    "AEspaña",
                    "AFrancia",
                    "AITalia",
                    "APortugal",
                    "Tasas",
                    "OtrasAutopistas",
                    "OtrosGastos",
                    "Sueldo",
                    "CosteKm",
                    "Impuestos",
                    "Seguro",
                    "SeguridadSocial",
                    "Telefono",
                    "GastosTallerMantenimiento",
                    "GastosTallerRoturas"});
        for (int k = m_t.mesesResultado; k >= 1; --k) {
            const QDate desde = ultimoMes.addMonths(-k);
            const QDate hasta = desde.addMonths(1).addDays(-1);
            for (const Vehiculo &t : m_tractores) {
                const QVector<double> v = sumas(
                    QStringLiteral(
                        "SELECT TOTAL(TotalCombustible), TOTAL(TotalLitros), TOTAL(TotalIngresos), "
                        "TOTAL(Beneficios), TOTAL(KmtTotales), TOTAL(TotalOtrosGastos) FROM viaje "
                        "WHERE MatricTractor = ? AND FechaSalida BETWEEN ? AND ?"),
                    {t.matricula, desde, hasta});
                const double gasoil = v[0], litros = v[1], ingresos = v[2], beneficio = v[3],
                             km = v[4];
                double otros = v[5];
                double mantenimiento =
                    sumas(QStringLiteral("SELECT TOTAL(Importe) FROM Taller WHERE "
                                         "Matricula = ? AND Fecha BETWEEN ? AND ?"),
                          {t.matricula, desde, hasta})[0];
                const QMap<QString, double> gastos = porClave(
                    QStringLiteral(
                        "SELECT UPPER(Tipo), TOTAL(ImporteTotal) FROM Gastos WHERE Matricula = ? "
                        "AND Fecha BETWEEN ? AND ? GROUP BY UPPER(Tipo)"),
                    {t.matricula, desde, hasta});
                mantenimiento += gastos.value(QStringLiteral("TALLER (MANTENIMIENTO)"));
                otros += gastos.value(QStringLiteral("GASTOS VARIOS"));
                const double roturas = gastos.value(QStringLiteral("TALLER (ROTURAS)"));
                const double segSocial = gastos.value(QStringLiteral("SEGURIDAD SOCIAL"));
                const double telefono = gastos.value(QStringLiteral("TELEFONO"));
                const double impuestos = gastos.value(QStringLiteral("IMPUESTOS"));
                const double seguro =
                    sumas(QStringLiteral("SELECT TOTAL(Importe) FROM Seguros WHERE "
                                         "Matricula = ? AND FechaPago BETWEEN ? AND ?"),
                          {t.matricula, desde, hasta})[0];
                const QMap<QString, double> peajes = peajesPorMes.value(QStringLiteral("%1|%2|%3")
                                                                            .arg(t.matricula)
                                                                            .arg(desde.month())
                                                                            .arg(desde.year()));
                const double espana = peajes.value(QStringLiteral("A. ESPANA"));
                const double francia = peajes.value(QStringLiteral("A. FRANCIA"));
                const double italia = peajes.value(QStringLiteral("A. ITALIA"));
                const double portugal = peajes.value(QStringLiteral("A. PORTUGAL"));
                const double tasas = peajes.value(QStringLiteral("TASAS"));
                double otrasAutopistas = 0;
                for (auto it = peajes.cbegin(); it != peajes.cend(); ++it)
                    otrasAutopistas += it.value();
                otrasAutopistas -= espana + francia + italia + portugal + tasas;
                const double autopistas =
                    espana + francia + italia + portugal + tasas + otrasAutopistas;
                const auto conductor = camioneros.constFind(t.conductor);
                const bool hay = conductor != camioneros.cend();
                const double sueldo = hay ? conductor->sueldo : 0;
                const double costeKm = hay ? km * conductor->ptsKm : 0;
                const double total = gasoil + mantenimiento + roturas + otros + segSocial +
                                     costeKm + autopistas + seguro + sueldo + impuestos + telefono;
                e.fila({t.matricula,     t.conductor.isEmpty() ? nulo() : QVariant(t.conductor),
                        desde.month(),   desde.year(),
                        ingresos,        total,
                        beneficio,       ingresos - total,
                        gasoil,          redondear2(litros),
                        redondear2(km),  litros > 0 && km > 0 ? redondear2(litros * 100 / km) : 0.0,
                        autopistas,      espana,
                        francia,         italia,
                        portugal,        tasas,
                        otrasAutopistas, otros,
                        sueldo,          costeKm,
                        impuestos,       seguro,
                        segSocial,       telefono,
                        mantenimiento,   roturas});
            }
        }
        tx.commit();
        avisar(QStringLiteral("gastomes.DB"), e.filas());
    }

    Connection &m_db;
    const Tamano &m_t;
    Azar m_azar;
    Progreso m_progreso;

    QVector<Lugar> m_lugares;
    QVector<int> m_cerca; // places of the home region
    QVector<Cliente> m_clientes;
    QVector<Camionero> m_camioneros;
    QVector<Vehiculo> m_tractores;
    QVector<Vehiculo> m_remolques;
    QSet<QString> m_matriculas;
    QVector<Porte> m_portes;
    QVector<Reporte> m_reportes;
    QVector<Factura> m_facturas;
    QMap<QString, double> m_ultimoImporte;
};

} // namespace

Tamano Tamano::demo() {
    Tamano t;
    t.hasta = QDate::currentDate();
    t.desde = t.hasta.addYears(-2).addDays(1);
    t.clientes = 40;
    t.lugares = 60;
    t.tractores = 12;
    t.remolques = 12;
    t.camioneros = 12;
    t.portes = 1500;
    t.reportes = 600;
    t.viajes = 1400;
    t.lineasPorViajeMin = 2;
    t.lineasPorViajeMax = 6;
    t.facturas = 400;
    t.lineasFactura = 1600;
    t.gastos = 600;
    t.seguros = 60;
    t.talleres = 120;
    t.neumaticos = 80;
    t.mesesResultado = 3;
    return t;
}

Tamano Tamano::grande() {
    Tamano t;
    t.desde = QDate(2000, 1, 1);
    t.hasta = QDate(2009, 12, 31);
    t.clientes = 400;
    t.lugares = 600;
    t.tractores = 50;
    t.remolques = 50;
    t.camioneros = 50;
    t.portes = 200000;
    t.reportes = 100000;
    t.viajes = 200000;
    t.lineasPorViajeMin = 4; // five on average: a million cost lines
    t.lineasPorViajeMax = 6;
    t.facturas = 50000;
    t.lineasFactura = 200000;
    t.gastos = 50000;
    t.seguros = 2000;
    t.talleres = 2000;
    t.neumaticos = 3000;
    t.mesesResultado = 12;
    return t;
}

void generarEmpresa(const QString &carpetaEmpresa, const Tamano &tamano, quint32 semilla,
                    const Progreso &progreso) {
    const QString carpeta = QDir(carpetaEmpresa).absolutePath();
    QDir().mkpath(carpeta);
    const QString fichero = QDir(carpeta).filePath(QString::fromLatin1(Connection::kCompanyFile));
    QFile::remove(fichero);
    QFile::remove(fichero + QStringLiteral("-journal"));
    Connection::createDatabase(fichero, Connection::companySchema());

    Connection db(QStringLiteral("GENERADOR"));
    db.setPath(carpeta);
    db.open();
    // Bulk inserts into indexed tables: a larger page cache keeps the indexes in memory.
    db.exec(QStringLiteral("PRAGMA cache_size=-131072"));
    Empresa(db, tamano, semilla, progreso).generar();
    db.close();
}

void prepararDemo(const QString &carpetaPrograma) {
    const QString programa = QDir(carpetaPrograma).absolutePath();
    QDir().mkpath(programa);
    StoreFiles::ensureTemplate(programa);
    StoreFiles::ensureRegistry(programa);
    for (const char *carpeta : {"TEMP", "Exportados", "CARGAS DE GASTOS", "ayuda"})
        QDir(programa).mkpath(QString::fromLatin1(carpeta));

    const QString empresa = QDir(programa).filePath(QStringLiteral("Emp1"));
    generarEmpresa(empresa, Tamano::demo(), kSemillaDemo);

    const QString nombre = QStringLiteral("TRANSPORTES Y LOGÍSTICA DEL EBRO, S.L.");
    const QString codigoFiscal = cif('B', 5073421);
    const QString domicilio = QStringLiteral("POL. IND. EL PORTAZGO, NAVE 14");
    const QString poblacion = QStringLiteral("ZARAGOZA");
    const QString provincia = QStringLiteral("ZARAGOZA");
    const int cp = 50011;
    const QString telefono = QStringLiteral("976523140");
    const QString inscripcion = QStringLiteral(
        "Inscrita en el Registro Mercantil de Zaragoza, Tomo 2.315, Folio 118, Hoja Z-24.681");
    const QDate hoy = QDate::currentDate();
    const QDate inicio(hoy.year(), 1, 1), fin(hoy.year(), 12, 31);

    Connection registro(QStringLiteral("EMPRESAS"));
    registro.setDatabaseFile(StoreFiles::registryFile(programa));
    registro.setTables({&Schema::registry()});
    registro.open();
    {
        Transaction tx(registro);
        Statement borrar(registro.handle(),
                         QStringLiteral("DELETE FROM %1 WHERE \"Id\" = 1")
                             .arg(Schema::quoteIdent(Schema::registry().sqlName)));
        borrar.exec();
        Escritor e(registro, Schema::registry().fileName,
                   {"Id", "NombreEmpresa", "Ruta", "Ficheros", "FechaAlta", "FechaBaja", "Moneda",
                    "Cambio", "CIF", "Domicilio", "Poblacion", "Provincia", "CP", "Telefono", "Fax",
                    "Email", "Inscripcion", "RutaLogotipo", "AjustarTamano"});
        e.fila({1, nombre, empresa, true, inicio, fin, QStringLiteral("Euros"), 1.0, codigoFiscal,
                domicilio, poblacion, provincia, double(cp), telefono, QStringLiteral("976523141"),
                QStringLiteral("administracion@tlebro.es"), inscripcion, QString(), false});
        tx.commit();
    }
    registro.close();

    IniFile ini(QDir(programa).filePath(QStringLiteral("Velmora.INI")));
    bool ok = ini.writeString(Clave::Empresa, Clave::Ruta, empresa);
    ok &= ini.writeInteger(Clave::Empresa, Clave::Codigo, 1);
    ok &= ini.writeString(Clave::Empresa, Clave::Nombre, nombre);
    ok &= ini.writeString(Clave::Empresa, Clave::Moneda, QStringLiteral("Euros"));
    ok &= ini.writeFloat(Clave::Empresa, Clave::Cambio, 1.0);
    ok &= ini.writeDate(Clave::Empresa, Clave::Inicio, inicio);
    ok &= ini.writeDate(Clave::Empresa, Clave::Fin, fin);
    ok &= ini.writeString(Clave::Empresa, Clave::CIF, codigoFiscal);
    ok &= ini.writeString(Clave::Empresa, Clave::Domicilio, domicilio);
    ok &= ini.writeString(Clave::Empresa, Clave::Poblacion, poblacion);
    ok &= ini.writeString(Clave::Empresa, Clave::Provincia, provincia);
    ok &= ini.writeString(Clave::Empresa, Clave::CP, QString::number(cp));
    ok &= ini.writeString(Clave::Empresa, Clave::Telefono, telefono);
    ok &= ini.writeString(Clave::Empresa, Clave::Inscripcion, inscripcion);
    ok &= ini.writeString(Clave::Empresa, Clave::RutaLogotipo, QString());
    if (!ok)
        throw std::runtime_error("No se puede escribir el fichero de configuración " +
                                 ini.path().toStdString());
}

} // namespace Generador
