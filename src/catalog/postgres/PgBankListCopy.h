#pragma once

#include <QByteArray>

#include "catalog/BankListAppender.h"

namespace vt {

class PgConnection;

// Writes a scan's rows into BankList on a PostgreSQL server with COPY, the server's fastest way in: rows are
// gathered into blocks of a few hundred kilobytes and sent while the disc is walked, so the server stores
// one block while the next is read. The caller's transaction must be open; the rows land, or vanish, with
// it. Nothing else may use the connection until finish() or destruction. A connection lost meanwhile fails
// append() or finish() with CatalogError, and the server drops everything of the transaction.
class PgBankListCopy final : public BankListWriter {
  public:
    // Throws CatalogError.
    explicit PgBankListCopy(PgConnection& server);
    // Unfinished, the rows sent so far are refused by the server and the transaction is failed.
    ~PgBankListCopy() override;
    PgBankListCopy(const PgBankListCopy&) = delete;
    PgBankListCopy& operator=(const PgBankListCopy&) = delete;

    void append(BankListRow row) override;
    void finish() override;

  private:
    void send();

    PgConnection& server_;
    QByteArray block_;
    bool open_ = true;
};

// `text` in COPY's text format: backslash, tab, newline and carriage return escaped.
void appendCopyText(QByteArray& block, const QString& text);

}  // namespace vt
