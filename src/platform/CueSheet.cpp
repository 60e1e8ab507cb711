#include "platform/CueSheet.h"

#include <QRegularExpression>
#include <QStringList>

namespace vt {

namespace {

struct Mode {
    const char* name;
    int sectorBytes;
    int dataOffset;
};

// Data track modes: after a 12-byte sync and a 4-byte header come the user data (mode 1), or first an
// 8-byte subheader (mode 2 form 1); MODE2/2336 sectors carry the subheader but no sync and header.
constexpr Mode kModes[] = {
    {"MODE1/2048", 2048, 0},
    {"MODE1/2352", 2352, 16},
    {"MODE2/2352", 2352, 24},
    {"MODE2/2336", 2336, 8},
};

// The first word of a line, and the rest: a quoted file name keeps its spaces.
QStringList words(const QString& line) {
    static const QRegularExpression word(QStringLiteral("\"([^\"]*)\"|(\\S+)"));
    QStringList found;
    for (auto it = word.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        found << (m.capturedStart(1) >= 0 ? m.captured(1) : m.captured(2));
    }
    return found;
}

}  // namespace

std::optional<CueDataTrack> parseCueSheet(const QString& text, QString& error) {
    QString file;
    std::optional<CueDataTrack> track;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QStringList w = words(line);
        if (w.isEmpty()) continue;
        const QString keyword = w[0].toUpper();
        if (keyword == QLatin1String("FILE") && w.size() >= 2) {
            if (track) break;  // the data track's file ends here
            file = w[1];
        } else if (keyword == QLatin1String("TRACK") && w.size() >= 3) {
            if (track) break;
            for (const Mode& mode : kModes) {
                if (w[2].compare(QLatin1String(mode.name), Qt::CaseInsensitive) == 0 && !file.isEmpty()) {
                    track = CueDataTrack{file, mode.sectorBytes, mode.dataOffset, 0};
                }
            }
        } else if (keyword == QLatin1String("INDEX") && w.size() >= 3 && track && w[1].toInt() == 1) {
            const QStringList msf = w[2].split(QLatin1Char(':'));
            bool ok[3] = {false, false, false};
            const int frames = msf.size() == 3 ? (msf[0].toInt(&ok[0]) * 60 + msf[1].toInt(&ok[1])) * 75 +
                                                     msf[2].toInt(&ok[2])
                                               : -1;
            if (frames < 0 || !ok[0] || !ok[1] || !ok[2]) {
                error = QStringLiteral("the cue sheet has an unreadable INDEX: ") + line.trimmed();
                return std::nullopt;
            }
            track->startByte = std::uint64_t(frames) * std::uint64_t(track->sectorBytes);
        }
    }
    if (!track) error = QStringLiteral("the cue sheet names no data track (MODE1 or MODE2)");
    return track;
}

}  // namespace vt
