#include "catalog/BankListAppender.h"

#include <sqlite3.h>

#include <new>
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
// Rows per insert statement: one statement per row spent a third of its time on being a statement. An
// insert of many rows that could be refused halfway (a rowid taken) makes SQLite first copy aside every
// page it changes, so that a refusal can take back the rows before it; `OR IGNORE` leaves no refusal to
// prepare for, and halves what a scan writes to disk. A row skipped that way is caught just after its
// statement instead (write()).
constexpr size_t kRowsPerInsert = 128;
constexpr int kColumns = 7;

QString insertOf(size_t rows) {
    QString sql = QStringLiteral(
        "INSERT OR IGNORE INTO BankList(rowid, DiskName, FileName, FilePath, FileSize, FileAttr, "
        "FileModified) "
        "VALUES ");
    for (size_t i = 0; i < rows; ++i)
        sql += i ? QStringLiteral(",(?,?,?,?,?,?,?)") : QStringLiteral("(?,?,?,?,?,?,?)");
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

// The writer uses the connection from a second thread, after the caller; SQLite built or set up without
// its locks leaves that unprotected (and with it the state all connections of the program share).
void requireThreadSafeSqlite(sqlite3* db) {
    if (sqlite3_threadsafe() == 0) {
        throw CatalogError(QStringLiteral(
            "the SQLite library was built without thread support, so the catalogue cannot be written "
            "while the disc is read"));
    }
    if (!sqlite3_db_mutex(db)) {
        throw CatalogError(QStringLiteral(
            "the catalogue connection was opened without its own lock (SQLite's single-thread or "
            "multi-thread mode), so the catalogue cannot be written while the disc is read"));
    }
}

void bindText(sqlite3_stmt* statement, int index, const QByteArray& utf8) {
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
}

}  // namespace

BankListAppender::BankListAppender(Connection& connection)
    : connection_(connection), callerThread_(std::this_thread::get_id()) {
    if (!connection_.inTransaction())
        throw CatalogError(QStringLiteral("rows are appended inside a transaction"));
    sqlite3* db = connection_.handle();
    requireThreadSafeSqlite(db);
    nextRowid_ = SearchIndex::firstFreeRowid(db);
    insertOne_ = std::make_unique<SqliteStatement>(connection_, insertOf(1));
    insertMany_ = std::make_unique<SqliteStatement>(connection_, insertOf(kRowsPerInsert));
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
    // The writer touches the connection only once a batch reaches it, which append() sends after this.
    connection_.handTo(writer_.get_id());
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
    if (failed_.load(std::memory_order_acquire)) throwFailure();
    EncodedRow encoded;
    encoded.diskName = diskNames_.utf8(row.diskName);
    encoded.filePath = row.filePath.toUtf8();
    // A file's name is the end of its path: its bytes are the end of the path's bytes.
    encoded.nameBytes = row.filePath.endsWith(row.fileName) ? utf8Length(row.fileName) : -1;
    if (encoded.nameBytes < 0) encoded.fileName = row.fileName.toUtf8();
    encoded.fileSize = row.fileSize;
    encoded.fileAttr = attributes_.utf8(row.fileAttr);
    encoded.fileModified = row.fileModified;
    filling_.push_back(std::move(encoded));
    if (filling_.size() == kBatchRows) sendBatch();
}

void BankListAppender::sendBatch() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kQueuedBatches || failure_; });
    if (failure_) {
        lock.unlock();
        throwFailure();
    }
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
    joinWriter();
    if (failed_) throwFailure();
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
    joinWriter();
}

void BankListAppender::joinWriter() {
    if (writer_.joinable()) writer_.join();
    connection_.handTo(callerThread_);
}

void BankListAppender::throwFailure() {
    // The writer gave up when it failed: joining it is quick, and gives the connection back at once.
    stopWriter();
    try {
        std::rethrow_exception(failure_);
    } catch (const CatalogError& error) {
        throw error;
    } catch (const std::bad_alloc&) {
        throw CatalogError(QStringLiteral("out of memory while writing the catalogue"));
    } catch (const std::exception& error) {
        throw CatalogError(QStringLiteral("writing the catalogue failed: ") +
                           QString::fromLocal8Bit(error.what()));
    } catch (...) {
        throw CatalogError(QStringLiteral("writing the catalogue failed for an unknown reason"));
    }
}

void BankListAppender::writeBatches() {
    // Anything thrown here would end the program: every failure is kept for the caller's thread instead,
    // where it becomes a CatalogError (throwFailure). Keeping it allocates nothing, so it works out of
    // memory too.
    try {
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
            if (beforeBatch_) beforeBatch_();
            writeBatch(batch);
            std::lock_guard<std::mutex> lock(mutex_);
            written_.push_back(std::move(batch));
        }
    } catch (...) {
        std::lock_guard<std::mutex> lock(mutex_);
        failure_ = std::current_exception();
        failed_ = true;
        queue_.clear();
        changed_.notify_all();
    }
}

void BankListAppender::writeBatch(const Batch& batch) {
    size_t done = 0;
    for (; done + kRowsPerInsert <= batch.size(); done += kRowsPerInsert) {
        write(&batch[done], kRowsPerInsert, *insertMany_);
    }
    for (; done < batch.size(); ++done) write(&batch[done], 1, *insertOne_);
}

QByteArray BankListAppender::RepeatedText::utf8(const QString& text) {
    // Most rows repeat the text of the row before (one disc, a few attribute words).
    if (!text.isSharedWith(last_) && text != last_) {
        last_ = text;
        bytes_ = text.toUtf8();
    }
    return bytes_;
}

void BankListAppender::write(const EncodedRow* rows, size_t count, SqliteStatement& insert) {
    sqlite3_stmt* statement = insert.get();
    sqlite3_reset(statement);
    // The rows outlive the statement's step, so SQLite need not copy their texts.
    for (size_t i = 0; i < count; ++i) {
        const EncodedRow& row = rows[i];
        const int first = int(i) * kColumns + 1;
        sqlite3_bind_int64(statement, first, nextRowid_ + qint64(i));
        bindText(statement, first + 1, row.diskName);
        if (row.nameBytes >= 0) {
            sqlite3_bind_text(statement, first + 2,
                              row.filePath.constData() + (row.filePath.size() - row.nameBytes),
                              int(row.nameBytes), SQLITE_STATIC);
        } else {
            bindText(statement, first + 2, row.fileName);
        }
        bindText(statement, first + 3, row.filePath);
        sqlite3_bind_double(statement, first + 4, row.fileSize);
        bindText(statement, first + 5, row.fileAttr);
        if (row.fileModified) {
            sqlite3_bind_int64(statement, first + 6, *row.fileModified);
        } else {
            sqlite3_bind_null(statement, first + 6);
        }
    }
    insert.step();  // an insert gives no rows; a refusal throws
    // The rowids are above every row there was, so none is taken; should one be, its file must not go
    // missing from the disc without a word.
    if (sqlite3_changes(sqlite3_db_handle(statement)) != int(count)) {
        throw CatalogError(
            QStringLiteral("a row number of the new files is taken already: nothing of the "
                           "disc was written"));
    }
    nextRowid_ += qint64(count);
}

}  // namespace vt
