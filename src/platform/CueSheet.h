#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace vt {

// Where a cue sheet's first data track lies: which file, how its sectors are laid out, where it starts.
struct CueDataTrack {
    QString file;                 // as the sheet names it, relative to the sheet's folder unless absolute
    int sectorBytes = 2048;       // 2048 (MODE1/2048), 2352 (MODE1/2352, MODE2/2352) or 2336 (MODE2/2336)
    int dataOffset = 0;           // where the 2048 user bytes start within a sector
    std::uint64_t startByte = 0;  // the track's INDEX 01 within the file
};

// Reads the text of a cue sheet; nothing, with `error` saying why, when it names no usable data track.
std::optional<CueDataTrack> parseCueSheet(const QString& text, QString& error);

}  // namespace vt
