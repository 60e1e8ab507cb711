#pragma once

#include <QString>
#include <QTextStream>
#include <functional>
#include <stdexcept>

namespace vt::cli {

struct Arguments;
struct CliEnvironment;

// Output that did not get through (a full disk, a closed or broken pipe, ...); the message says why.
class OutputError : public std::runtime_error {
  public:
    explicit OutputError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Throws OutputError when something written to `out` so far did not get through. Checked after every
// record, so that a listing stops at the first failure instead of reading the rest of the catalogue.
void requireWritten(const QTextStream& out);

using CommandFunction = std::function<int(const Arguments&, CliEnvironment&)>;

// Runs a command and makes sure its output got through whole: everything written, then flushed. With
// --output FILE the output goes to FILE, which is replaced only when the command ends well (exit code 0 or
// 1) and every byte is on the disk; otherwise FILE is left as it was. A failed output is told on the error
// stream and gives kOutputError.
int runWithCheckedOutput(const Arguments& args, CliEnvironment& env, const CommandFunction& command);

}  // namespace vt::cli
