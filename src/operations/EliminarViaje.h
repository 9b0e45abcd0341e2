#pragma once

class Connection;
class Table;

// Deleting a trip takes its toll, fuel and other-cost lines with it, all or nothing.
class EliminarViaje {
public:
    // Deletes the current trip of `viajes` and its lines. Throws StoreError.
    static void ejecutar(Connection &db, Table &viajes);
};
