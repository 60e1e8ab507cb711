#pragma once

#include <QString>
#include <optional>

#include "platform/ImageFileSectors.h"

namespace vt {

// Where the first data track of a Nero image (.nrg) lies, from the chunks its footer points to: the
// track tables of track-at-once (ETNF, ETN2) and disc-at-once (DAOI, DAOX) images. Nothing, with `error`
// saying why, when the footer or chunks are damaged or name no data track.
std::optional<SectorLayout> readNeroLayout(const QString& path, QString& error);

}  // namespace vt
