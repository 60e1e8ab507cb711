#pragma once

#include <QString>
#include <QVariant>

namespace vt {

// A catalogue value as a plain decimal number: every digit written out, never an exponent, so a size of
// five gibibytes reads 5368709120. Text is returned as stored; an empty value gives an empty text.
QString plainDecimal(const QVariant& value);

}  // namespace vt
