#include "support/IsoImage.h"

#include <QFile>
#include <QThread>
#include <iostream>

#include "support/ChildProcess.h"

namespace vt::test {

QString makeIsoImage(const QString& image, const QStringList& options, const QString& tree) {
    const QStringList arguments =
        QStringList{QStringLiteral("-as"), QStringLiteral("mkisofs"), QStringLiteral("-quiet")} + options +
        QStringList{QStringLiteral("-o"), image, tree};
    constexpr int kTries = 3;
    QString failed;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        failed = runTool(QStringLiteral("xorriso"), arguments);
        if (failed.isEmpty()) return {};
        std::cerr << "xorriso, try " << attempt << " of " << kTries << ": " << failed.toStdString() << '\n';
        QFile::remove(image);
        QThread::msleep(100);
    }
    return failed;
}

}  // namespace vt::test
