#include "cli/CliArguments.h"

namespace vt::cli {

Arguments parseCommandLine(const QString& command, const QStringList& words, const CommandSyntax& syntax) {
    Arguments result;
    result.command = command;
    bool optionsEnded = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (optionsEnded || !word.startsWith(QLatin1String("--")) || word == QLatin1String("-")) {
            result.positional << word;
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const int eq = word.indexOf(QLatin1Char('='));
        const QString name = eq < 0 ? word : word.left(eq);
        if (syntax.flags.contains(name)) {
            if (eq >= 0) throw UsageError(QStringLiteral("%1 takes no value").arg(name));
            result.flags.insert(name);
        } else if (syntax.valueOptions.contains(name)) {
            if (eq >= 0) {
                result.options[name] = word.mid(eq + 1);
            } else if (i + 1 < words.size()) {
                result.options[name] = words[++i];
            } else {
                throw UsageError(QStringLiteral("%1 needs a value").arg(name));
            }
            result.optionValues[name] << result.options[name];
        } else {
            throw UsageError(QStringLiteral("'%1' is not an option of '%2'; see 'vellumtrove-cli %2 --help'")
                                 .arg(name, command));
        }
    }
    if (result.positional.size() < syntax.minPositional) {
        throw UsageError(
            QStringLiteral("'%1' needs more arguments; see 'vellumtrove-cli %1 --help'").arg(command));
    }
    if (result.positional.size() > syntax.maxPositional) {
        throw UsageError(
            QStringLiteral("'%1' got an unexpected argument '%2'; put text with spaces in quotes")
                .arg(command, result.positional.value(syntax.maxPositional)));
    }
    return result;
}

}  // namespace vt::cli
