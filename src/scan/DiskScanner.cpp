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

[[noreturn]] void mediumGone(const QString& folder, const DriveWalk& walk) {
    const QString why = walk.lastFailure();
    throw MediumGoneError(QStringLiteral("%1 could not be read: %2")
                              .arg(folder, why.isEmpty() ? QStringLiteral("the disc is gone") : why));
}

}  // namespace

// A folder on the walk's stack: its path (ending with a backslash), the walk's handle of it and the
// subfolders still to enter, as listed (their raw names open them again).
struct DiskScanner::Folder {
    QString dir;
    WalkFolder* at = nullptr;
    std::unique_ptr<WalkFolder> owned;  // null for the walk's top, which the walk owns
    std::vector<FindData> subfolders;
    size_t next = 0;
};

DiskScanner::DiskScanner(BankListSink& appender, FileSystem& fileSystem, ScanProgress& progress,
                         QString diskName)
    : appender_(appender), fileSystem_(fileSystem), progress_(progress), diskName_(std::move(diskName)) {}

DiskScanner::~DiskScanner() = default;

void DiskScanner::ScanFolder(const QString& folder, const QString& pattern) {
    slice_.start();
    const QString start = AddBackslash(folder);
    const std::unique_ptr<DriveWalk> walk = fileSystem_.walk(start);
    std::vector<Folder> stack;
    stack.push_back(Folder{start, &walk->top(), nullptr, {}, 0});
    listFolder(*walk, stack.back(), pattern);
    while (!stack.empty()) {
        Folder& top = stack.back();
        if (top.next == top.subfolders.size()) {
            stack.pop_back();
            continue;
        }
        const FindData& entry = top.subfolders[top.next++];
        // Always a backslash of its own after the name, also after a name that ends with one, so that the
        // stored paths below keep the name whole.
        Folder sub{top.dir + entry.name + QLatin1Char('\\'), nullptr, nullptr, {}, 0};
        sub.owned = walk->subfolder(*top.at, entry, sub.dir);
        sub.at = sub.owned.get();
        stack.push_back(std::move(sub));  // `top` and `entry` are not used past this point
        listFolder(*walk, stack.back(), pattern);
    }
}

void DiskScanner::listFolder(DriveWalk& walk, Folder& folder, const QString& pattern) {
    const QString& dir = folder.dir;
    FindData entry;
    FindStatus status;
    std::unique_ptr<FindHandle> files = walk.findFirst(*folder.at, pattern, entry, status);
    if (status == FindStatus::MediumGone) mediumGone(dir, walk);
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
                    folder.subfolders.push_back(entry);
                } else {
                    ++skipped_;
                }
            }
            afterEntry();
        } while (files->next(entry));
        if (files->mediumGone()) mediumGone(dir, walk);
        if (files->failed()) ++skipped_;
    }
    if (!oneListing && status != FindStatus::Unreadable) collectSubfolders(walk, folder);
}

void DiskScanner::collectSubfolders(DriveWalk& walk, Folder& folder) {
    FindData entry;
    FindStatus status;
    std::unique_ptr<FindHandle> all = walk.findFirst(*folder.at, QStringLiteral("*.*"), entry, status);
    if (status == FindStatus::MediumGone) mediumGone(folder.dir, walk);
    if (!all) return;
    do {
        if (entry.isDirectory() && !isDots(entry.name)) folder.subfolders.push_back(entry);
    } while (all->next(entry));
    if (all->mediumGone()) mediumGone(folder.dir, walk);
}

void DiskScanner::RecordFile(const QString& path, const FindData& entry) {
    if (entry.attributes != lastAttributes_ || lastAttributeText_.isNull()) {
        // Most files of a disc share their attributes; the text is made once per change.
        lastAttributes_ = entry.attributes;
        lastAttributeText_ = AttributeText(entry.attributes);
    }
    appender_.append(BankListRow{diskName_, TrimBlanks(entry.name), TrimBlanks(path), double(entry.length),
                                 lastAttributeText_, entry.modified});
    ++recorded_;
}

void DiskScanner::afterEntry() {
    if (progress_.cancelRequested()) throw ScanCancelled();
    if (slice_.elapsed() < kSliceMs) return;
    progress_.pause(recorded_);
    slice_.restart();
}

}  // namespace vt
