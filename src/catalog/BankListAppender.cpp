#include "catalog/BankListAppender.h"

#include <sqlite3.h>

#include <system_error>

#include "catalog/CatalogError.h"
#include "catalog/Connection.h"
#include "catalog/SearchIndex.h"
#include "catalog/SqliteStatement.h"

namespace vt {

namespace {

// Rows handed over at a time, and batches that may wait: a few hundred kilobytes in all.
constexpr size_t kBatchRows = 512;
constexpr size_t kQueuedBatches = 8;
// Rows per insert statement: one statement per row spent a third of its time on being a statement.
constexpr size_t kRowsPerInsert = 16;
constexpr int kColumns = 6;

QString insertOf(size_t rows) {
    QString sql = QStringLiteral(
        "INSERT INTO BankList(rowid, DiskName, FileName, FilePath, FileSize, FileAttr) "
        "VALUES ");
    for (size_t i = 0; i < rows; ++i)
        sql += i ? QStringLiteral(",(?,?,?,?,?,?)") : QStringLiteral("(?,?,?,?,?,?)");
    return sql;
}

// The length of the UTF-8 form of `text`, or -1 when it holds a surrogate (whose conversion is left to Qt).
qsizetype utf8Length(const QString& text) {
    qsizetype bytes = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            bytes += 1;
        } else if (u < 0x800) {
            bytes += 2;
        } else if (c.isSurrogate()) {
            return -1;
        } else {
            bytes += 3;
        }
    }
    return bytes;
}

void bindText(sqlite3_stmt* statement, int index, const QByteArray& utf8) {
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
}

}  // namespace

BankListAppender::BankListAppender(Connection& connection) : connection_(connection) {
    if (!connection_.inTransaction())
        throw CatalogError(QStringLiteral("rows are appended inside a transaction"));
    sqlite3* db = connection_.handle();
    nextRowid_ = SearchIndex::firstFreeRowid(db);
    insertOne_ = std::make_unique<SqliteStatement>(db, insertOf(1));
    insertMany_ = std::make_unique<SqliteStatement>(db, insertOf(kRowsPerInsert));
    filling_.reserve(kBatchRows);
    // Last, so that nothing after it can fail and leave the trigger aside without a destructor to
    // restore it (SQLite prepares the statements again for the changed schema on their first step).
    SearchIndex::setAsideInsertTrigger(db);
    triggerSetAside_ = true;
    try {
        writer_ = std::thread([this] { writeBatches(); });
    } catch (const std::system_error& error) {
        restoreTrigger();
        throw CatalogError(QStringLiteral("cannot start writing: ") + QString::fromLocal8Bit(error.what()));
    }
}

BankListAppender::~BankListAppender() {
    stopWriter();
    insertOne_.reset();
    insertMany_.reset();
    try {
        restoreTrigger();
    } catch (const CatalogError&) {
        // Only a failing transaction gets here, and its rollback restores the trigger.
    }
}

void BankListAppender::restoreTrigger() {
    if (!triggerSetAside_) return;
    SearchIndex::restoreInsertTrigger(connection_.handle());
    triggerSetAside_ = false;
}

void BankListAppender::append(BankListRow row) {
    if (failed_.load(std::memory_order_relaxed)) finish();  // throws the failure
    filling_.push_back(std::move(row));
    if (filling_.size() == kBatchRows) sendBatch();
}

void BankListAppender::sendBatch() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueuedBatches || !failure_.isEmpty(); });
    if (!failure_.isEmpty()) throw CatalogError(failure_);
    queue_.push_back(std::move(filling_));
    filling_ = Batch();
    if (!written_.empty()) {
        filling_ = std::move(written_.back());
        written_.pop_back();
    }
    lock.unlock();
    changed_.notify_all();
    // The texts go back to the allocator on the thread that made them, which is cheaper for both threads.
    filling_.clear();
    filling_.reserve(kBatchRows);
}

void BankListAppender::finish() {
    if (!filling_.empty() && !failed_) sendBatch();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) writer_.join();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_.isEmpty()) throw CatalogError(failure_);
    }
    insertOne_.reset();
    insertMany_.reset();
    restoreTrigger();
}

void BankListAppender::stopWriter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (writer_.joinable()) writer_.join();
}

void BankListAppender::writeBatches() {
    for (;;) {
        Batch batch;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [this] { return !queue_.empty() || closing_ || stopping_; });
            if (stopping_ || queue_.empty()) return;
            batch = std::move(queue_.front());
            queue_.pop_front();
        }
        changed_.notify_all();
        try {
            size_t done = 0;
            for (; done + kRowsPerInsert <= batch.size(); done += kRowsPerInsert) {
                write(&batch[done], kRowsPerInsert, *insertMany_);
            }
            for (; done < batch.size(); ++done) write(&batch[done], 1, *insertOne_);
            std::lock_guard<std::mutex> lock(mutex_);
            written_.push_back(std::move(batch));
        } catch (const CatalogError& error) {
            std::lock_guard<std::mutex> lock(mutex_);
            failure_ = error.message();
            failed_ = true;
            queue_.clear();
            changed_.notify_all();
            return;
        }
    }
}

QByteArray BankListAppender::RepeatedText::utf8(const QString& text) {
    // Most rows repeat the text of the row before (one disc, a few attribute words).
    if (!text.isSharedWith(last_) && text != last_) {
        last_ = text;
        bytes_ = text.toUtf8();
    }
    return bytes_;
}

void BankListAppender::write(const BankListRow* rows, size_t count, SqliteStatement& insert) {
    sqlite3_stmt* statement = insert.get();
    sqlite3_reset(statement);
    // The texts stay alive until the rows are written, so SQLite need not copy them (copies of a
    // QByteArray share its bytes).
    QByteArray texts[kRowsPerInsert][4];
    for (size_t i = 0; i < count; ++i) {
        const BankListRow& row = rows[i];
        QByteArray* text = texts[i];
        text[0] = diskNames_.utf8(row.diskName);
        text[2] = row.filePath.toUtf8();
        text[3] = attributes_.utf8(row.fileAttr);
        const int first = int(i) * kColumns + 1;
        sqlite3_bind_int64(statement, first, nextRowid_ + qint64(i));
        bindText(statement, first + 1, text[0]);
        // A file's name is the end of its path: its bytes are the end of the path's bytes.
        const qsizetype nameBytes = row.filePath.endsWith(row.fileName) ? utf8Length(row.fileName) : -1;
        if (nameBytes >= 0) {
            sqlite3_bind_text(statement, first + 2, text[2].constData() + (text[2].size() - nameBytes),
                              int(nameBytes), SQLITE_STATIC);
        } else {
            text[1] = row.fileName.toUtf8();
            bindText(statement, first + 2, text[1]);
        }
        bindText(statement, first + 3, text[2]);
        sqlite3_bind_double(statement, first + 4, row.fileSize);
        bindText(statement, first + 5, text[3]);
    }
    if (sqlite3_step(statement) != SQLITE_DONE) {
        const QString message = sqliteMessage(connection_.handle());
        sqlite3_reset(statement);
        throw CatalogError(message);
    }
    nextRowid_ += qint64(count);
}

}  // namespace vt
