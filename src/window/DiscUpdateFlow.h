#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vt {

struct AppContext;
class Connection;
class ScanProgress;

// The scan's own connection, opened on the catalogue at its first use (see AppContext::cnScan).
Connection& scanConnection(AppContext& context);

// Brings the disc catalogued as `name` up to date with the medium in `root`, as the windows offer it: walks
// the medium (telling `progress`), shows the differences in a dialog over `owner` and, when the user accepts
// them, replaces the disc's rows, keeping its name. Every outcome but a refusal is told in a box over
// `owner`. `walkEnded` runs once the walk is over, before any box or dialog opens. True when the disc's
// rows were replaced; otherwise nothing changed.
bool updateDiscFromMedium(AppContext& context, QWidget* owner, const QString& root, const QString& name,
                          ScanProgress& progress, const std::function<void()>& walkEnded);

}  // namespace vt
