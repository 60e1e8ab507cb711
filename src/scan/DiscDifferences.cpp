#include "scan/DiscDifferences.h"

#include <map>

#include "catalog/BankListAppender.h"

namespace vt {

namespace {

// A path without its drive ("D:\\"): a disc catalogued in one drive may be read again in another.
QString withinDisc(const QString& path) {
    const bool rooted = path.size() >= 3 && path.at(1) == QLatin1Char(':') && path.at(2) == QLatin1Char('\\');
    return rooted ? path.mid(3) : path;
}

std::map<QString, const BankListRow*> byPath(const std::vector<BankListRow>& rows) {
    std::map<QString, const BankListRow*> paths;
    for (const BankListRow& row : rows) paths[withinDisc(row.filePath)] = &row;
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
            result.files.push_back(
                {FileDifference::Kind::Added, row->filePath, 0, row->fileSize, {}, row->fileModified});
            continue;
        }
        const BankListRow& was = *old->second;
        const bool resized = was.fileSize != row->fileSize;
        if (!resized && !redated(was, *row)) continue;
        changed.push_back({resized ? FileDifference::Kind::Resized : FileDifference::Kind::Redated,
                           row->filePath, was.fileSize, row->fileSize, was.fileModified, row->fileModified});
        ++(resized ? result.resized : result.redated);
    }
    for (const auto& [path, row] : before) {
        if (after.count(path) == 0) {
            removed.push_back(
                {FileDifference::Kind::Removed, row->filePath, row->fileSize, 0, row->fileModified, {}});
        }
    }
    result.added = long(result.files.size());
    result.removed = long(removed.size());
    result.files.insert(result.files.end(), removed.begin(), removed.end());
    result.files.insert(result.files.end(), changed.begin(), changed.end());
    return result;
}

}  // namespace vt
