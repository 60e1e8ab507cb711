#include "catalog/postgres/PgBankListCopy.h"

#include "catalog/CatalogError.h"
#include "catalog/postgres/PgConnection.h"

namespace vt {

namespace {

constexpr qsizetype kBlockBytes = 256 * 1024;

}  // namespace

void appendCopyText(QByteArray& block, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
            case '\\':
                block += "\\\\";
                break;
            case '\t':
                block += "\\t";
                break;
            case '\n':
                block += "\\n";
                break;
            case '\r':
                block += "\\r";
                break;
            default:
                block += c;
        }
    }
}

PgBankListCopy::PgBankListCopy(PgConnection& server) : server_(server) {
    if (!server_.inTransaction())
        throw CatalogError(QStringLiteral("rows are appended inside a transaction"));
    server_.beginCopyIn(QStringLiteral(
        "COPY BankList (DiskName, FileName, FilePath, FileSize, FileAttr, FileModified) FROM STDIN;"));
    block_.reserve(kBlockBytes + 4096);
}

PgBankListCopy::~PgBankListCopy() {
    if (open_) server_.abandonCopyIn();
}

void PgBankListCopy::append(BankListRow row) {
    if (!open_) throw CatalogError(QStringLiteral("the rows of this disc were already ended"));
    appendCopyText(block_, row.diskName);
    block_ += '\t';
    appendCopyText(block_, row.fileName);
    block_ += '\t';
    appendCopyText(block_, row.filePath);
    block_ += '\t';
    // Sizes are whole numbers of bytes below 2^53, which 17 significant digits give exactly.
    block_ += QByteArray::number(row.fileSize, 'g', 17);
    block_ += '\t';
    appendCopyText(block_, row.fileAttr);
    block_ += '\t';
    block_ += row.fileModified ? QByteArray::number(*row.fileModified) : QByteArray("\\N");
    block_ += '\n';
    if (block_.size() >= kBlockBytes) send();
}

void PgBankListCopy::send() {
    try {
        server_.putCopyData(block_);
    } catch (const CatalogError&) {
        open_ = false;
        server_.abandonCopyIn();
        throw;
    }
    block_.clear();
}

void PgBankListCopy::finish() {
    if (!open_) throw CatalogError(QStringLiteral("the rows of this disc were already ended"));
    if (!block_.isEmpty()) send();
    open_ = false;
    server_.endCopyIn();
}

}  // namespace vt
