#pragma once

#include <QString>
#include <stdexcept>

namespace vt::button {

// A property bag could not read or write a key: the bag's storage is malformed, truncated or unreadable,
// or the stored value does not convert to the property's type. Names the storage (file) and the key.
class PropertyBagError : public std::runtime_error {
  public:
    PropertyBagError(const QString& origin, const QString& key, const QString& reason)
        : std::runtime_error(describe(origin, key, reason).toStdString()),
          origin_(origin),
          key_(key),
          reason_(reason) {}

    const QString& origin() const { return origin_; }
    const QString& key() const { return key_; }
    const QString& reason() const { return reason_; }

  private:
    static QString describe(const QString& origin, const QString& key, const QString& reason) {
        return QStringLiteral("%1, key \"%2\": %3").arg(origin, key, reason);
    }

    QString origin_;
    QString key_;
    QString reason_;
};

}  // namespace vt::button
