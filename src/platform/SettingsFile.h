#pragma once

#include <QMap>
#include <QString>

namespace vt {

// A small settings file a person writes by hand: one "key=value" a line, in UTF-8. Blank lines and lines
// whose first visible character is '#' are comments. Keys and values are taken without the blanks around
// them; a value keeps everything after the first '=' (an address may hold '=' of its own).
struct Settings {
    QMap<QString, QString> values;
    // The first line (counted from 1) that is neither a comment nor "key=value", or that names a key a
    // second time; 0 when there is none. Settings with such a line are not to be trusted as a whole.
    int faultyLine = 0;
};

Settings parseSettings(const QString& text);

// What the settings file at `path` says: nothing when there is no such file. `failure` tells why a file
// that is there could not be read (empty when it was read, or is absent).
Settings readSettingsFile(const QString& path, QString& failure);

}  // namespace vt
