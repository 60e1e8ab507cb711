#include "platform/CdioImageSectors.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include <QFile>
#include <mutex>

namespace vt {

namespace {

// libcdio reports through one process-wide handler that prints to stderr by default. Its words go into the
// error text of the image being opened instead, on the thread that opens it.
thread_local QString lastCdioMessage;

void keepMessage(cdio_log_level_t level, const char message[]) {
    if (level >= CDIO_LOG_WARN && message) lastCdioMessage = QString::fromLocal8Bit(message).trimmed();
}

void quietLibcdio() {
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler(keepMessage); });
}

}  // namespace

CdioImageSectors::CdioImageSectors(const QString& path) {
    quietLibcdio();
    lastCdioMessage.clear();
    cdio_ = cdio_open_nrg(QFile::encodeName(path).constData());
    if (!cdio_) {
        error_ = QStringLiteral("not a readable Nero image");
        if (!lastCdioMessage.isEmpty()) error_ += QStringLiteral(" (") + lastCdioMessage + QLatin1Char(')');
        return;
    }
    const lsn_t last = cdio_get_disc_last_lsn(cdio_);
    if (last <= 0) {
        error_ = QStringLiteral("the image holds no tracks");
        return;
    }
    sectorCount_ = std::uint64_t(last);
}

CdioImageSectors::~CdioImageSectors() {
    if (cdio_) cdio_destroy(cdio_);
}

bool CdioImageSectors::read(std::uint64_t first, int count, unsigned char* out) {
    if (!cdio_ || count < 0 || first > sectorCount_ || std::uint64_t(count) > sectorCount_ - first) return false;
    if (count == 0) return true;
    return cdio_read_data_sectors(cdio_, out, lsn_t(first), kImageSectorBytes, std::uint32_t(count)) ==
           DRIVER_OP_SUCCESS;
}

}  // namespace vt
