#pragma once

#include <QMap>
#include <QSet>
#include <QStringList>
#include <stdexcept>

namespace vt::cli {

// A command line that cannot be understood; the message says what is wrong and what to type instead.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// What one command accepts: options that take a value and flags that stand alone.
struct CommandSyntax {
    QStringList valueOptions;  // e.g. "--disk"
    QStringList flags;         // e.g. "--yes"
    int minPositional = 0;
    int maxPositional = 0;
};

// A parsed command line: the command, its positional words, its options.
struct Arguments {
    QString command;
    QStringList positional;
    QMap<QString, QString> options;           // the last value of each option
    QMap<QString, QStringList> optionValues;  // every value of each option, in order (repeatable ones)
    QSet<QString> flags;

    QString option(const QString& name, const QString& fallback = QString()) const {
        return options.value(name, fallback);
    }
    QStringList values(const QString& name) const { return optionValues.value(name); }
    bool has(const QString& flag) const { return flags.contains(flag); }
};

// Splits `words` (without the program name) into positional words, options and flags by `syntax`.
// "--name=value" and "--name value" are both understood; "--" ends the options. Throws UsageError.
Arguments parseCommandLine(const QString& command, const QStringList& words, const CommandSyntax& syntax);

}  // namespace vt::cli
