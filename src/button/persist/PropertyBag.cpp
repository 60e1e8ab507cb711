#include "button/persist/PropertyBag.h"

#include <limits>

#include "button/persist/PropertyBagError.h"

namespace vt::button {

namespace {

QString kindName(BagValue::Kind kind) {
    switch (kind) {
        case BagValue::Kind::Empty:
            return QStringLiteral("nothing");
        case BagValue::Kind::Integer:
            return QStringLiteral("a number");
        case BagValue::Kind::Text:
            return QStringLiteral("a text");
        case BagValue::Kind::Font:
            return QStringLiteral("a font");
        case BagValue::Kind::Picture:
            return QStringLiteral("a picture");
    }
    return {};
}

}  // namespace

std::int64_t PropertyBag::readInteger(const QString& key, std::int64_t defaultValue, std::int64_t min,
                                      std::int64_t max) {
    const BagValue value = read(key, BagValue::integer(defaultValue));
    if (value.kind() != BagValue::Kind::Integer)
        throw PropertyBagError(origin(), key,
                               QStringLiteral("a number was expected, found %1").arg(kindName(value.kind())));
    const std::int64_t n = value.toInteger();
    if (n < min || n > max)
        throw PropertyBagError(origin(), key,
                               QStringLiteral("%1 does not fit the range %2 to %3").arg(n).arg(min).arg(max));
    return n;
}

std::int32_t PropertyBag::readInt32(const QString& key, std::int32_t defaultValue) {
    return static_cast<std::int32_t>(readInteger(key, defaultValue, std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

std::int16_t PropertyBag::readInt16(const QString& key, std::int16_t defaultValue) {
    return static_cast<std::int16_t>(readInteger(key, defaultValue, std::numeric_limits<std::int16_t>::min(),
                                                 std::numeric_limits<std::int16_t>::max()));
}

bool PropertyBag::readBool(const QString& key, bool defaultValue) {
    // Any number but zero is true, as the control's truth values convert.
    return readInteger(key, defaultValue ? kTrue : kFalse, std::numeric_limits<std::int32_t>::min(),
                       std::numeric_limits<std::int32_t>::max()) != 0;
}

QString PropertyBag::readText(const QString& key, const QString& defaultValue) {
    const BagValue value = read(key, BagValue::text(defaultValue));
    if (value.kind() != BagValue::Kind::Text)
        throw PropertyBagError(origin(), key,
                               QStringLiteral("a text was expected, found %1").arg(kindName(value.kind())));
    return value.toText();
}

QFont PropertyBag::readFont(const QString& key, const QFont& defaultValue) {
    const BagValue value = read(key, BagValue::font(defaultValue));
    if (value.kind() != BagValue::Kind::Font)
        throw PropertyBagError(origin(), key,
                               QStringLiteral("a font was expected, found %1").arg(kindName(value.kind())));
    return value.toFont();
}

PictureRef PropertyBag::readPicture(const QString& key, const PictureRef& defaultValue) {
    const BagValue value = read(key, BagValue::picture(defaultValue));
    if (value.kind() != BagValue::Kind::Picture)
        throw PropertyBagError(
            origin(), key, QStringLiteral("a picture was expected, found %1").arg(kindName(value.kind())));
    return value.toPicture();
}

}  // namespace vt::button
