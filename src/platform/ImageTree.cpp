#include "platform/ImageTree.h"

namespace vt {

ImageTree::ImageTree() : folders_(1) {}

void ImageTree::addFile(int folder, const QString& name, std::int64_t length,
                        std::optional<std::int64_t> modified) {
    Folder& parent = folders_[std::size_t(folder)];
    if (!parent.byName.contains(name)) parent.byName.insert(name, parent.entries.size());
    parent.entries.push_back(Entry{name, length, -1, modified});
}

int ImageTree::addFolder(int folder, const QString& name) {
    if (const Entry* existing = child(folder, name); existing && existing->isDirectory()) return existing->folder;
    const int number = int(folders_.size());
    folders_.emplace_back();
    Folder& parent = folders_[std::size_t(folder)];
    if (!parent.byName.contains(name)) parent.byName.insert(name, parent.entries.size());
    parent.entries.push_back(Entry{name, 0, number, std::nullopt});
    return number;
}

void ImageTree::markUnreadable(int folder) {
    folders_[std::size_t(folder)].readable = false;
}

const ImageTree::Entry* ImageTree::child(int folder, const QString& name) const {
    const Folder& parent = folders_[std::size_t(folder)];
    const auto found = parent.byName.constFind(name);
    return found == parent.byName.constEnd() ? nullptr : &parent.entries[*found];
}

const ImageTree::Entry* ImageTree::entryAt(const QString& path) const {
    if (path.isEmpty()) return nullptr;
    int folder = 0;
    const Entry* entry = nullptr;
    for (const QStringView name : QStringView(path).split(QLatin1Char('/'))) {
        if (entry && !entry->isDirectory()) return nullptr;
        if (entry) folder = entry->folder;
        entry = child(folder, name.toString());
        if (!entry) return nullptr;
    }
    return entry;
}

std::optional<int> ImageTree::folderAt(const QString& path) const {
    if (path.isEmpty()) return 0;
    const Entry* entry = entryAt(path);
    if (!entry || !entry->isDirectory()) return std::nullopt;
    return entry->folder;
}

}  // namespace vt
