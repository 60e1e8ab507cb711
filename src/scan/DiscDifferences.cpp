#include "scan/DiscDifferences.h"

#include <map>

#include "catalog/BankListAppender.h"

namespace vt {

namespace {

std::map<QString, const BankListRow*> byPath(const std::vector<BankListRow>& rows) {
    std::map<QString, const BankListRow*> paths;
    for (const BankListRow& row : rows) paths[row.filePath] = &row;
    return paths;
}

bool redated(const BankListRow& before, const BankListRow& after) {
    return before.fileModified && after.fileModified && *before.fileModified != *after.fileModified;
}

}  // namespace

DiscDifferences compareRows(const std::vector<BankListRow>& catalogued, const std::vector<BankListRow>& now) {
    const std::map<QString, const BankListRow*> before = byPath(catalogued);
    const std::map<QString, const BankListRow*> after = byPath(now);
    DiscDifferences result;
    std::vector<FileDifference> removed;
    std::vector<FileDifference> changed;
    for (const auto& [path, row] : after) {
        const auto old = before.find(path);
        if (old == before.end()) {
            result.files.push_back({FileDifference::Kind::Added, path, 0, row->fileSize, {}, row->fileModified});
            continue;
        }
        const BankListRow& was = *old->second;
        const bool resized = was.fileSize != row->fileSize;
        if (!resized && !redated(was, *row)) continue;
        changed.push_back({resized ? FileDifference::Kind::Resized : FileDifference::Kind::Redated, path,
                           was.fileSize, row->fileSize, was.fileModified, row->fileModified});
        ++(resized ? result.resized : result.redated);
    }
    for (const auto& [path, row] : before) {
        if (after.count(path) == 0) {
            removed.push_back({FileDifference::Kind::Removed, path, row->fileSize, 0, row->fileModified, {}});
        }
    }
    result.added = long(result.files.size());
    result.removed = long(removed.size());
    result.files.insert(result.files.end(), removed.begin(), removed.end());
    result.files.insert(result.files.end(), changed.begin(), changed.end());
    return result;
}

}  // namespace vt
