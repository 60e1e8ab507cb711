#include "search/PlainDecimal.h"

#include <QLocale>

namespace vt {

QString plainDecimal(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::Double) {
        // Fixed notation with the fewest digits that still read back as the same value.
        return QString::number(value.toDouble(), 'f', QLocale::FloatingPointShortest);
    }
    return value.toString();
}

}  // namespace vt
