#pragma once

#include <QIODevice>
#include <QString>

namespace vt {

// A file that appears under its name only once it is complete. The bytes go to a temporary file beside the
// target (in the same folder, so the rename cannot cross file systems); commit() writes it to the disk and
// renames it over the target in one step. Until then, and whenever something fails, the target stays as it
// was (or absent) and the temporary is removed. The result gets the target's permissions when it exists,
// else those of a newly created file.
class ReplacingFile : public QIODevice {
  public:
    explicit ReplacingFile(QString target);
    ~ReplacingFile() override;

    // Creates the temporary; false (with errorString()) when the folder cannot take it.
    bool open();
    // Syncs, closes and renames the temporary over the target. False (with errorString()) when a write
    // failed earlier or any of these steps fails; the target is then unchanged.
    bool commit();

    const QString& target() const { return target_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

    // The system calls that can fail, apart so that tests can make them fail. Each returns 0 or errno.
    virtual int writeBytes(int fd, const char* data, qint64 size);
    virtual int syncFile(int fd);

  private:
    void fail(const QString& what, int error);
    void discard();

    QString target_;
    QByteArray temporary_;  // the temporary's path, as the system takes it
    int fd_ = -1;
    bool failed_ = false;
};

}  // namespace vt
