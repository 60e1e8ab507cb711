#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "platform/OpticalMounts.h"

namespace vt {

// The drive letters of the mounted optical media, recorded in a file that every Vellumtrove program of the
// user's session reads and updates, so that all of them show a medium under the same letter: a script's
// "scan D:" then means the disc the window shows as D:. A medium is recorded by what identifies its mount
// alike for every process of one mount namespace: mount id, device number and mount point.
class SharedDriveLetters {
  public:
    // The table in `folder` ("drive-letters" with its lock "drive-letters.lock"); that folder should be
    // private to the user (see sessionStateFolder).
    explicit SharedDriveLetters(QString folder);

    // Works out the current letters from the recorded ones (none when the file is missing or damaged).
    using Assign = std::function<std::vector<OpticalDrive>(const std::vector<OpticalDrive>& recorded)>;

    // Holding the table's lock, hands `assign` the recorded letters, records what it returns and returns
    // that. Nothing, without calling `assign`, when the table cannot be opened or locked.
    std::optional<std::vector<OpticalDrive>> update(const Assign& assign) const;

  private:
    QString folder_;
};

// The folder, private to this user, where the programs of the session share their state:
// $XDG_RUNTIME_DIR/vellumtrove, or /tmp/vellumtrove-<uid> when that variable is unset or the folder cannot
// be used. Either is made with mode 0700 and used only if it is a folder of this user that no one else can
// enter; empty when neither is.
QString sessionStateFolder();

}  // namespace vt
