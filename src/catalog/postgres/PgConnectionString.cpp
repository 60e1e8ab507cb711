#include "catalog/postgres/PgConnectionString.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <memory>

#include "catalog/postgres/Libpq.h"

namespace vt {

namespace {

struct ConninfoFree {
    void operator()(PQconninfoOption* options) const { libpq().conninfoFree(options); }
};
using ParsedConninfo = std::unique_ptr<PQconninfoOption, ConninfoFree>;

// Nothing when libpq cannot read the string, or cannot be loaded.
ParsedConninfo parse(const QString& connectionString) {
    const Libpq* pq = libpqIfLoadable();
    if (!pq) return nullptr;
    char* error = nullptr;
    ParsedConninfo options(pq->conninfoParse(connectionString.toUtf8().constData(), &error));
    // libpq's parse error may quote the string, password and all: it is never shown.
    pq->freemem(error);
    return options;
}

QString option(const ParsedConninfo& options, const char* keyword) {
    for (const PQconninfoOption* o = options.get(); o && o->keyword; ++o) {
        if (qstrcmp(o->keyword, keyword) == 0 && o->val) return QString::fromUtf8(o->val);
    }
    return {};
}

// The passwords a string might hold, found without libpq's help for strings it cannot parse: the value of
// a "password=" element, and the part after the colon of a URI's "user:password@".
QStringList passwordsByShape(const QString& connectionString) {
    static const QRegularExpression element(
        QStringLiteral("password\\s*=\\s*('(?:[^'\\\\]|\\\\.)*'|[^\\s&]+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression uriUser(QStringLiteral("^[a-z]+://[^:@/]*:([^@/]*)@"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    auto matches = element.globalMatch(connectionString);
    while (matches.hasNext()) {
        QString value = matches.next().captured(1);
        if (value.startsWith(QLatin1Char('\''))) value = value.mid(1, value.size() - 2);
        found << value;
    }
    const QRegularExpressionMatch user = uriUser.match(connectionString);
    if (user.hasMatch()) found << user.captured(1);
    return found;
}

}  // namespace

bool isPostgresConnectionString(const QString& text) {
    const QString trimmed = text.trimmed();
    return trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           trimmed.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

bool holdsPassword(const QString& connectionString) {
    if (const ParsedConninfo options = parse(connectionString)) return !option(options, "password").isEmpty();
    const QStringList passwords = passwordsByShape(connectionString);
    return std::any_of(passwords.begin(), passwords.end(), [](const QString& p) { return !p.isEmpty(); });
}

QString describeServerCatalogue(const QString& connectionString) {
    const ParsedConninfo options = parse(connectionString);
    if (!options) {
        return libpqIfLoadable() ? QStringLiteral("postgresql://(a connection string libpq cannot read)")
                                 : QStringLiteral("postgresql://(a server address)");
    }
    const QString user = option(options, "user");
    const QString host = option(options, "host");
    const QString port = option(options, "port");
    const QString service = option(options, "service");
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty()) text += user + QLatin1Char('@');
    text += host;
    if (!port.isEmpty()) text += QLatin1Char(':') + port;
    text += QLatin1Char('/') + option(options, "dbname");
    if (!service.isEmpty()) text += QStringLiteral(" (service ") + service + QLatin1Char(')');
    return text;
}

QString withoutPassword(const QString& message, const QString& connectionString) {
    QStringList passwords = passwordsByShape(connectionString);
    if (const ParsedConninfo options = parse(connectionString)) passwords << option(options, "password");
    QString result = message;
    for (const QString& password : passwords) {
        if (!password.isEmpty()) result.replace(password, QStringLiteral("***"));
    }
    return result;
}

}  // namespace vt
