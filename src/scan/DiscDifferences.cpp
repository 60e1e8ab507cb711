#include "scan/DiscDifferences.h"

#include <map>

#include "catalog/BankListAppender.h"

namespace vt {

namespace {

std::map<QString, double> sizesByPath(const std::vector<BankListRow>& rows) {
    std::map<QString, double> sizes;
    for (const BankListRow& row : rows) sizes[row.filePath] = row.fileSize;
    return sizes;
}

}  // namespace

DiscDifferences compareRows(const std::vector<BankListRow>& catalogued, const std::vector<BankListRow>& now) {
    const std::map<QString, double> before = sizesByPath(catalogued);
    const std::map<QString, double> after = sizesByPath(now);
    DiscDifferences result;
    std::vector<FileDifference> removed;
    std::vector<FileDifference> resized;
    for (const auto& [path, size] : after) {
        const auto old = before.find(path);
        if (old == before.end()) {
            result.files.push_back({FileDifference::Kind::Added, path, 0, size});
        } else if (old->second != size) {
            resized.push_back({FileDifference::Kind::Resized, path, old->second, size});
        }
    }
    for (const auto& [path, size] : before) {
        if (after.count(path) == 0) removed.push_back({FileDifference::Kind::Removed, path, size, 0});
    }
    result.added = long(result.files.size());
    result.removed = long(removed.size());
    result.resized = long(resized.size());
    result.files.insert(result.files.end(), removed.begin(), removed.end());
    result.files.insert(result.files.end(), resized.begin(), resized.end());
    return result;
}

}  // namespace vt
