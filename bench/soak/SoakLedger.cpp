#include "SoakLedger.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace soak {

namespace {

constexpr char kCatalogued[] = "CATALOGUED";
constexpr char kRemoving[] = "REMOVING";
constexpr char kRemoved[] = "REMOVED";

// Ledger lines are "WORD<tab>name[<tab>files]"; disc names made by the workers hold no tab or newline.
void readLedger(const QString& path, std::map<QString, Expectation>& expected) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(raw).split(QLatin1Char('\t'));
        if (fields.size() < 2) continue;  // the last line of a worker killed while writing it
        Expectation& disc = expected[fields[1]];
        if (fields[0] == QLatin1String(kCatalogued)) {
            disc = {Expectation::State::Present, fields.value(2).toLong()};
        } else if (fields[0] == QLatin1String(kRemoving)) {
            disc.state = Expectation::State::Either;
        } else if (fields[0] == QLatin1String(kRemoved)) {
            disc.state = Expectation::State::Absent;
        }
    }
}

}  // namespace

LedgerWriter::LedgerWriter(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644)) {
    if (fd_ < 0) throw std::runtime_error("cannot open the ledger " + path.toStdString());
}

LedgerWriter::~LedgerWriter() {
    ::close(fd_);
}

void LedgerWriter::catalogued(const QString& name, long files) {
    append(QStringLiteral("%1\t%2\t%3").arg(QLatin1String(kCatalogued), name).arg(files));
}
void LedgerWriter::removing(const QString& name) {
    append(QLatin1String(kRemoving) + QLatin1Char('\t') + name);
}
void LedgerWriter::removed(const QString& name) {
    append(QLatin1String(kRemoved) + QLatin1Char('\t') + name);
}

void LedgerWriter::append(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    if (::write(fd_, bytes.constData(), size_t(bytes.size())) != bytes.size() || ::fsync(fd_) != 0) {
        throw std::runtime_error("cannot write the ledger");
    }
}

std::map<QString, Expectation> readLedgers(const QString& folder) {
    std::map<QString, Expectation> expected;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.ledger")}, QDir::Files)) {
        readLedger(QDir(folder).filePath(name), expected);
    }
    return expected;
}

QStringList presentDiscs(const QString& ledgerPath) {
    std::map<QString, Expectation> expected;
    readLedger(ledgerPath, expected);
    QStringList names;
    for (const auto& [name, disc] : expected) {
        if (disc.state == Expectation::State::Present) names << name;
    }
    return names;
}

}  // namespace soak
