#include "operations/EliminarViaje.h"

#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/Table.h"
#include "store/Transaction.h"

void EliminarViaje::ejecutar(Connection &db, Table &viajes) {
    const QVariant numero = viajes.value(QStringLiteral("NumViaje"));
    Transaction tx(db);
    for (const char *tabla : {"gasautop", "gascombu", "gasviaje"}) {
        Statement &st = db.cached(QStringLiteral("DELETE FROM \"%1\" WHERE \"NumViaje\" = ?")
                                      .arg(QString::fromLatin1(tabla)));
        st.bind(1, numero);
        st.exec();
        st.reset();
        db.touch(QString::fromLatin1(tabla));
    }
    viajes.remove();
    tx.commit();
}
