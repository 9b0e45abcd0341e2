#pragma once

#include <QString>
#include <exception>

// An error of the data store. Windows tell a key violation by its code (9729), as the old
// data engine numbered it; every error carries a message the user can read.
class StoreError : public std::exception {
public:
    enum Kind {
        KeyViolation,  // a unique value repeated
        RequiredField, // a required field left empty
        FieldSize,     // a text longer than its field
        InvalidValue,  // a value that cannot be read for its field (a date, a number)
        Filter,        // a filter expression that cannot be evaluated
        NoIndex,       // an order no index serves
        NotFound,      // a table, field or file that does not exist
        Database,      // the database itself failed (disk, locked, corrupt)
        State,         // an operation that the cursor's state does not allow
    };

    static constexpr int kKeyViolation = 9729;
    static constexpr int kRequiredField = 9732;
    static constexpr int kFieldSize = 9733;
    static constexpr int kInvalidValue = 9734;
    static constexpr int kFilter = 9735;
    static constexpr int kNoIndex = 10024;
    static constexpr int kNotFound = 10021;
    static constexpr int kDatabase = 10000;
    static constexpr int kState = 10245;

    StoreError(Kind kind, const QString &message, const QString &field = QString());

    Kind kind() const { return m_kind; }
    int code() const { return m_code; }
    QString message() const { return m_message; }
    QString field() const { return m_field; }
    // The name shown where the user is told which kind of error happened.
    QString className() const { return QStringLiteral("StoreError"); }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    Kind m_kind;
    int m_code;
    QString m_message;
    QString m_field;
    QByteArray m_utf8;
};
