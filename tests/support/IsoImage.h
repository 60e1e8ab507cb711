#pragma once

#include <QString>
#include <QStringList>

namespace vt::test {

// Makes the ISO image `image` of the folder `tree` with xorriso's mkisofs options `options` (-quiet is
// added); empty when that worked, else what xorriso said. A run that fails is tried twice more, its reason
// written to stderr: under AddressSanitizer the build machine has twice seen xorriso exit 1 at once on a
// tree that the other builds imaged, and the image is only the test's material.
QString makeIsoImage(const QString& image, const QStringList& options, const QString& tree);

}  // namespace vt::test
