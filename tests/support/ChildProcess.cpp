#include "support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <vector>

extern char** environ;

namespace vt::test {

namespace {

class SpawnActions {
  public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

  private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments) {
    if (!output_.open() || !errors_.open()) {
        startError_ = QStringLiteral("cannot make files to hold the output of ") + program;
        return;
    }
    const QByteArray outputPath = QFile::encodeName(output_.fileName());
    const QByteArray errorsPath = QFile::encodeName(errors_.fileName());
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString& argument : arguments) words.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    SpawnActions actions;
    posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, outputPath.constData(), O_WRONLY, 0);
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, errorsPath.constData(), O_WRONLY, 0);
    const int started = posix_spawnp(&pid_, argv[0], actions.get(), nullptr, argv.data(), environ);
    if (started != 0) {
        pid_ = 0;
        startError_ = program + QStringLiteral(" could not be started: ") +
                      QString::fromLocal8Bit(std::strerror(started));
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

int ChildProcess::finish(int milliseconds) {
    if (pid_ <= 0 || reaped_) return -1;
    QElapsedTimer waited;
    waited.start();
    int status = 0;
    for (;;) {
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        if (ended == pid_) break;
        if (ended < 0 && errno != EINTR) return -1;
        if (waited.elapsed() > milliseconds) {
            ::kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            reaped_ = true;
            return -1;
        }
        QThread::msleep(2);
    }
    reaped_ = true;
    if (WIFSIGNALED(status)) endingSignal_ = WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QByteArray ChildProcess::output() {
    output_.seek(0);
    return output_.readAll();
}

QByteArray ChildProcess::errors() {
    errors_.seek(0);
    return errors_.readAll();
}

QString runTool(const QString& program, const QStringList& arguments, QByteArray* output) {
    ChildProcess child(program, arguments);
    if (!child.startError().isEmpty()) return child.startError();
    const int code = child.finish(300000);
    if (code != 0) {
        return program + QStringLiteral(" failed (exit %1): ").arg(code) +
               QString::fromLocal8Bit(child.errors());
    }
    if (output) *output = child.output();
    return {};
}

}  // namespace vt::test
