#pragma once

#include <QVariant>

namespace vt {

// How the catalogue stores a value the program hands it, on either engine: whole numbers (and truth values)
// as integers, floating point as reals, nothing as NULL, anything else as text.
enum class ValueKind { Null, Integer, Real, Text };

inline ValueKind valueKind(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::UnknownType:
            return ValueKind::Null;
        case QMetaType::Double:
        case QMetaType::Float:
            return ValueKind::Real;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Bool:
            return ValueKind::Integer;
        default:
            return ValueKind::Text;
    }
}

}  // namespace vt
