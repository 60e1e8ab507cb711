#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

#include "button/ButtonState.h"
#include "button/persist/BagValue.h"

namespace vt::button {

// The store in which a container keeps one control instance's properties: named values, read with a
// default and written without one. Typed reads convert what is stored to the property's type; a value
// that does not convert is a read failure (PropertyBagError naming origin() and the key).
class PropertyBag {
  public:
    virtual ~PropertyBag() = default;

    // The stored value of `key`, or `defaultValue` when the bag holds none. Throws PropertyBagError when
    // the storage cannot give the key (malformed or truncated).
    virtual BagValue read(const QString& key, const BagValue& defaultValue) = 0;
    // Stores `value` under `key`, replacing what was there. A "none" picture removes the key.
    virtual void write(const QString& key, const BagValue& value) = 0;
    // Where the bag's values live, for error messages (a file name).
    virtual QString origin() const = 0;

    std::int32_t readInt32(const QString& key, std::int32_t defaultValue);
    std::int16_t readInt16(const QString& key, std::int16_t defaultValue);
    bool readBool(const QString& key, bool defaultValue);
    QString readText(const QString& key, const QString& defaultValue);
    QFont readFont(const QString& key, const QFont& defaultValue);
    PictureRef readPicture(const QString& key, const PictureRef& defaultValue);

    void writeInt32(const QString& key, std::int32_t value) { write(key, BagValue::integer(value)); }
    void writeColour(const QString& key, ColorValue value) { write(key, BagValue::colour(value)); }
    // Booleans are stored as the control's 16-bit truth values, -1 and 0.
    void writeBool(const QString& key, bool value) { write(key, BagValue::integer(value ? kTrue : kFalse)); }

  private:
    std::int64_t readInteger(const QString& key, std::int64_t defaultValue, std::int64_t min,
                             std::int64_t max);
};

}  // namespace vt::button
