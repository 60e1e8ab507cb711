#include "scan/DiskScanner.h"

#include <vector>

#include "catalog/BankListAppender.h"
#include "scan/ScanProgress.h"
#include "scan/WalkText.h"

namespace vt {

namespace {

// Long enough that repainting costs little, short enough that the window stays lively.
constexpr qint64 kSliceMs = 15;

bool isDots(const QString& name) {
    return name == QLatin1String(".") || name == QLatin1String("..");
}

bool matchesAll(const QString& pattern) {
    return pattern == QLatin1String("*.*") || pattern == QLatin1String("*");
}

}  // namespace

// A folder on the walk's stack: its path (ending with a backslash) and the subfolders still to enter.
struct DiskScanner::Folder {
    QString dir;
    std::vector<QString> subfolders;
    size_t next = 0;
};

DiskScanner::DiskScanner(BankListAppender& appender, FileSystem& fileSystem, ScanProgress& progress,
                         QString diskName)
    : appender_(appender),
      fileSystem_(fileSystem),
      progress_(progress),
      diskName_(std::move(diskName)) {}

DiskScanner::~DiskScanner() = default;

void DiskScanner::ScanFolder(const QString& folder, const QString& pattern) {
    slice_.start();
    std::vector<Folder> stack;
    stack.push_back(listFolder(AddBackslash(folder), pattern));
    while (!stack.empty()) {
        Folder& top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        const QString sub = AddBackslash(top.dir + top.subfolders[top.next++]);
        stack.push_back(listFolder(sub, pattern));  // `top` is not used past this point
    }
}

DiskScanner::Folder DiskScanner::listFolder(const QString& dir, const QString& pattern) {
    Folder folder{dir, {}, 0};
    FindData entry;
    FindStatus status;
    std::unique_ptr<FindHandle> files = fileSystem_.findFirst(dir, pattern, entry, status);
    if (status == FindStatus::Unreadable) ++skipped_;
    const bool oneListing = matchesAll(pattern);
    if (files) {
        do {
            if (!entry.isDirectory()) {
                if (entry.measured()) {
                    RecordFile(dir + entry.name, entry);
                } else {
                    ++skipped_;
                }
            } else if (oneListing && !isDots(entry.name)) {
                if (entry.measured()) {
                    folder.subfolders.push_back(entry.name);
                } else {
                    ++skipped_;
                }
            }
            afterEntry();
        } while (files->next(entry));
        if (files->failed()) ++skipped_;
    }
    if (!oneListing && status != FindStatus::Unreadable) collectSubfolders(dir, folder);
    return folder;
}

void DiskScanner::collectSubfolders(const QString& dir, Folder& folder) {
    FindData entry;
    FindStatus status;
    std::unique_ptr<FindHandle> all = fileSystem_.findFirst(dir, QStringLiteral("*.*"), entry, status);
    if (!all) return;
    do {
        if (entry.isDirectory() && !isDots(entry.name)) folder.subfolders.push_back(entry.name);
    } while (all->next(entry));
}

void DiskScanner::RecordFile(const QString& path, const FindData& entry) {
    if (entry.attributes != lastAttributes_ || lastAttributeText_.isNull()) {
        // Most files of a disc share their attributes; the text is made once per change.
        lastAttributes_ = entry.attributes;
        lastAttributeText_ = AttributeText(entry.attributes);
    }
    appender_.append(BankListRow{diskName_, TrimBlanks(entry.name), TrimBlanks(path), double(entry.length),
                                 lastAttributeText_});
    ++recorded_;
}

void DiskScanner::afterEntry() {
    if (slice_.elapsed() < kSliceMs) return;
    progress_.pause(recorded_);
    slice_.restart();
}

}  // namespace vt
