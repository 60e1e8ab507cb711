#include "cli/ScanSupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/UnmappedWriting.h"
#include "cli/CliArguments.h"
#include "cli/CliEnvironment.h"
#include "platform/AttachedImages.h"
#include "platform/InterruptSignals.h"
#include "scan/ScanPace.h"

namespace vt::cli {

namespace {

const QRegularExpression& rootShape() {
    static const QRegularExpression shape(QStringLiteral("^([A-Za-z]):\\\\?$"));
    return shape;
}

}  // namespace

bool looksLikeRoot(const QString& text) {
    return rootShape().match(text).hasMatch();
}

QString parseRoot(const QString& text) {
    const QRegularExpressionMatch match = rootShape().match(text);
    if (!match.hasMatch()) {
        throw UsageError(QStringLiteral("'%1' is not a drive; give a letter and a colon such as D: "
                                        "('vellumtrove-cli drives' lists them)")
                             .arg(text));
    }
    return match.captured(1).toUpper() + QStringLiteral(":\\");
}

QString attachImage(const QString& path, CliEnvironment& env) {
    if (!env.images) {
        env.err << "vellumtrove-cli: disc images cannot be attached here\n";
        return {};
    }
    const AttachedImages::Attached attached = env.images->attach(path);
    if (attached.refusal != AttachedImages::Refusal::None) {
        env.err << "vellumtrove-cli: the disc image " << path << " cannot be attached: " << attached.error
                << '\n';
    }
    return attached.root;
}

QString scannedRoot(const QString& text, CliEnvironment& env) {
    if (QFileInfo(text).isFile()) return attachImage(text, env);
    return parseRoot(text);
}

void TerminalProgress::pause(long recorded) {
    if (!env_.interactive) return;
    const qint64 ms = clock_.elapsed();
    env_.err << "\r" << recorded << " files, " << elapsedText(ms) << ", " << filesPerSecond(recorded, ms)
             << " files/s   ";
    env_.err.flush();
}

bool TerminalProgress::cancelRequested() const {
    return interrupts_.caught() != 0;
}

void TerminalProgress::finish() {
    if (env_.interactive && clock_.isValid()) env_.err << '\n';
}

int stoppedBySignal(const InterruptSignals& interrupts, CliEnvironment& env, const char* whatWasStopped) {
    const bool terminated = interrupts.caught() == SIGTERM;
    env.err << "vellumtrove-cli: " << (terminated ? "terminated" : "interrupted") << "; " << whatWasStopped
            << '\n';
    return terminated ? kTerminated : kInterrupted;
}

}  // namespace vt::cli
