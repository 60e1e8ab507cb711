#pragma once

#include <QStringList>

namespace vt {

class Connection;
struct DriveDetails;

// The names of the catalogued discs that the medium with these details is, by the serial and used-size
// texts its Disks row was given when it was catalogued, and by its volume label where one was kept; in the
// order they were catalogued, from a catalogue on either engine. Empty for a drive without a readable disc. A
// rebuilt disc (a new image, a new burn) has another serial and is not recognised, which is what the user
// wants: its contents may differ. Throws CatalogError.
QStringList recogniseDisc(Connection& catalogue, const DriveDetails& details);

}  // namespace vt
