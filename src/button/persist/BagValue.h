#pragma once

#include <QFont>
#include <QString>
#include <cstdint>
#include <variant>

#include "button/ButtonState.h"

namespace vt::button {

// One value held in a property bag: an integer, a text, a font or a picture. A default-constructed value
// is empty (a key without a value). A picture value may be "none" (a null reference): bags keep no entry
// for it, which is not the same as an empty picture object (a picture with no image).
class BagValue {
  public:
    enum class Kind { Empty, Integer, Text, Font, Picture };

    BagValue() = default;
    static BagValue integer(std::int64_t value) { return BagValue(value, false); }
    // A colour value: an integer that storage shows in hexadecimal, so that 0x8000000F stays readable.
    static BagValue colour(ColorValue value) { return BagValue(value, true); }
    static BagValue text(QString value) { return BagValue(Data(std::move(value))); }
    static BagValue font(QFont value) { return BagValue(Data(std::move(value))); }
    static BagValue picture(PictureRef value) { return BagValue(Data(std::move(value))); }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNonePicture() const { return kind() == Kind::Picture && !toPicture(); }

    // Each accessor requires the matching kind.
    std::int64_t toInteger() const { return std::get<std::int64_t>(data_); }
    bool isHex() const { return hex_; }
    const QString& toText() const { return std::get<QString>(data_); }
    const QFont& toFont() const { return std::get<QFont>(data_); }
    const PictureRef& toPicture() const { return std::get<PictureRef>(data_); }

  private:
    using Data = std::variant<std::monostate, std::int64_t, QString, QFont, PictureRef>;
    explicit BagValue(Data data) : data_(std::move(data)) {}
    BagValue(std::int64_t value, bool hex) : data_(value), hex_(hex) {}

    Data data_;
    bool hex_ = false;
};

}  // namespace vt::button
