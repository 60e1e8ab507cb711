#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vt {

class Connection;
class SqliteStatement;

// One file row of BankList: its fields, in their order.
struct BankListRow {
    QString diskName;
    QString fileName;
    QString filePath;
    double fileSize = 0;
    QString fileAttr;
    std::optional<qint64> fileModified;  // seconds since 1970-01-01 UTC; nothing when not known
};

// Where a walk of a disc hands its file rows, one at a time.
class BankListSink {
  public:
    virtual ~BankListSink() = default;
    virtual void append(BankListRow row) = 0;
};

// A sink that writes the rows into the catalogue inside the caller's transaction (BankListWriting.h).
class BankListWriter : public BankListSink {
  public:
    // Returns when every row appended is written. Throws CatalogError if writing failed.
    virtual void finish() = 0;
};

// Appends rows to BankList from a thread of its own, so that the catalogue is written while the caller
// walks a disc: the two take about as long each, and one after the other they took twice as long.
//
// The caller opens the connection's write transaction before constructing the appender and ends it after
// finish() (or after the appender is gone), so the rows land, or vanish, with it. Meanwhile nothing else
// may use the connection. The rows keep the order appended and get rowids above every existing row and
// above the path index's coverage, so that the index takes them in later, in idle time (SearchIndex).
// Memory stays the same however many rows go through: append() waits while the writer is far behind.
//
// Threads: construction, append(), finish() and destruction all happen on the thread that owns the
// connection (the caller's). The constructor hands the connection to the writer thread, so that until the
// writer has stopped any use of it from the caller's thread throws CatalogError instead of racing with the
// writer; the caller gets it back as soon as the writer has stopped: when finish() returns or throws, when
// append() throws the writer's failure, and on destruction. Whatever the writer throws, of any type, ends
// the writing and comes back to the caller as a CatalogError. SQLite must be built thread-safe and the
// connection must serialise its own use (the default), or the constructor refuses.
class BankListAppender final : public BankListWriter {
  public:
    // Throws CatalogError.
    explicit BankListAppender(Connection& connection);
    // Stops the writer after the batch it is writing; rows appended but not yet written are dropped.
    ~BankListAppender();
    BankListAppender(const BankListAppender&) = delete;
    BankListAppender& operator=(const BankListAppender&) = delete;

    // Queues a row. Throws CatalogError once writing has failed (nothing more is written then).
    void append(BankListRow row) override;
    void finish() override;

    // Runs `hook` on the writer thread before each batch it writes; what it throws fails the writing like
    // a refused row. Lets tests hold the writer up or fail it in ways SQLite cannot. Set it before the
    // first append().
    void runBeforeEachBatch(std::function<void()> hook) { beforeBatch_ = std::move(hook); }

  private:
    // A row as the insert binds it: its texts already in UTF-8, converted by the caller's thread, which
    // waits on the writer most of the time anyway.
    struct EncodedRow {
        QByteArray diskName;
        QByteArray filePath;
        QByteArray fileName;  // empty when the name is the last nameBytes bytes of filePath
        qsizetype nameBytes = -1;
        double fileSize = 0;
        QByteArray fileAttr;
        std::optional<qint64> fileModified;
    };
    using Batch = std::vector<EncodedRow>;

    // The UTF-8 form of a text that mostly comes again and again, converted once per change.
    class RepeatedText {
      public:
        QByteArray utf8(const QString& text);

      private:
        QString last_;
        QByteArray bytes_;
    };

    void sendBatch();
    void writeBatches();
    void writeBatch(const Batch& batch);
    void write(const EncodedRow* rows, size_t count, SqliteStatement& insert);
    void stopWriter();
    void joinWriter();
    [[noreturn]] void throwFailure();
    void restoreTrigger();

    Connection& connection_;
    const std::thread::id callerThread_;
    std::unique_ptr<SqliteStatement> insertOne_;
    std::unique_ptr<SqliteStatement> insertMany_;
    bool triggerSetAside_ = false;
    qint64 nextRowid_ = 0;  // used by the writer thread only, once it runs
    RepeatedText diskNames_;
    RepeatedText attributes_;
    Batch filling_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Batch> queue_;     // guarded by mutex_
    std::vector<Batch> written_;  // for append() to fill again (guarded by mutex_)
    bool closing_ = false;        // no more batches will come (guarded by mutex_)
    bool stopping_ = false;       // drop what is queued and stop (guarded by mutex_)
    std::exception_ptr failure_;  // what ended the writing (guarded by mutex_)
    std::atomic<bool> failed_{false};
    std::function<void()> beforeBatch_;
    std::thread writer_;
};

}  // namespace vt
