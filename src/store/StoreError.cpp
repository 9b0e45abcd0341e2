#include "store/StoreError.h"

static int codeFor(StoreError::Kind kind) {
    switch (kind) {
    case StoreError::KeyViolation:
        return StoreError::kKeyViolation;
    case StoreError::RequiredField:
        return StoreError::kRequiredField;
    case StoreError::FieldSize:
        return StoreError::kFieldSize;
    case StoreError::InvalidValue:
        return StoreError::kInvalidValue;
    case StoreError::Filter:
        return StoreError::kFilter;
    case StoreError::NoIndex:
        return StoreError::kNoIndex;
    case StoreError::NotFound:
        return StoreError::kNotFound;
    case StoreError::Database:
        return StoreError::kDatabase;
    case StoreError::State:
        return StoreError::kState;
    }
    return StoreError::kDatabase;
}

StoreError::StoreError(Kind kind, const QString &message, const QString &field)
    : m_kind(kind), m_code(codeFor(kind)), m_message(message), m_field(field),
      m_utf8(message.toUtf8()) {}
