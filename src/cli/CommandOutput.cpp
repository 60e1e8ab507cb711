#include "cli/CommandOutput.h"

#include <QFileInfo>

#include "cli/CliArguments.h"
#include "cli/CliEnvironment.h"
#include "platform/ReplacingFile.h"

namespace vt::cli {

namespace {

const QString kOutputOption = QStringLiteral("--output");

int runToStandardOutput(const Arguments& args, CliEnvironment& env, const CommandFunction& command) {
    try {
        const int code = command(args, env);
        env.out.flush();
        requireWritten(env.out);
        return code;
    } catch (const OutputError& e) {
        env.err << "vellumtrove-cli: the output could not be written: " << e.message()
                << "; it is incomplete\n";
        return kOutputError;
    }
}

}  // namespace

void requireWritten(const QTextStream& out) {
    if (out.status() == QTextStream::Ok) return;
    const QIODevice* device = out.device();
    throw OutputError(device && !device->errorString().isEmpty() ? device->errorString()
                                                                 : QStringLiteral("the write failed"));
}

int runWithCheckedOutput(const Arguments& args, CliEnvironment& env, const CommandFunction& command) {
    if (!args.options.contains(kOutputOption)) return runToStandardOutput(args, env, command);
    const QString path = args.option(kOutputOption);
    if (path.isEmpty()) throw UsageError(QStringLiteral("--output needs a file name"));

    ReplacingFile file(QFileInfo(path).absoluteFilePath());
    if (!file.open()) {
        env.err << "vellumtrove-cli: " << file.errorString() << "; nothing was written\n";
        return kOutputError;
    }
    QTextStream stream(&file);
    CliEnvironment toFile{stream,     env.err,       env.in, env.interactive, env.defaultCatalogFolder,
                          env.drives, env.fileSystem};
    int code = kSuccess;
    try {
        code = command(args, toFile);
        stream.flush();
        requireWritten(stream);
    } catch (const OutputError& e) {
        env.err << "vellumtrove-cli: " << e.message() << "; " << path << " was left as it was\n";
        return kOutputError;
    }
    // A command that failed leaves no half listing behind; the temporary goes with `file`.
    if (code != kSuccess && code != kNothingFound) return code;
    if (!file.commit()) {
        env.err << "vellumtrove-cli: " << file.errorString() << "; " << path << " was left as it was\n";
        return kOutputError;
    }
    return code;
}

}  // namespace vt::cli
