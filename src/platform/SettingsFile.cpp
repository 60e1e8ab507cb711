#include "platform/SettingsFile.h"

#include <QFile>
#include <QStringList>

namespace vt {

Settings parseSettings(const QString& text) {
    Settings settings;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const int eq = line.indexOf(QLatin1Char('='));
        const QString key = line.left(eq).trimmed();
        if (eq < 0 || key.isEmpty() || settings.values.contains(key)) {
            settings.faultyLine = i + 1;
            return settings;
        }
        settings.values.insert(key, line.mid(eq + 1).trimmed());
    }
    return settings;
}

Settings readSettingsFile(const QString& path, QString& failure) {
    failure.clear();
    QFile file(path);
    if (!file.exists()) return {};
    if (!file.open(QIODevice::ReadOnly)) {
        failure = file.errorString();
        return {};
    }
    return parseSettings(QString::fromUtf8(file.readAll()));
}

}  // namespace vt
