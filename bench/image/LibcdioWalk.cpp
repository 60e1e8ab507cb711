#include "LibcdioWalk.h"

#include <cdio/iso9660.h>
#include <cdio/udf.h>

#include <QFile>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vt::bench {

namespace {

struct IsoClose {
    void operator()(iso9660_t* iso) const { iso9660_close(iso); }
};
struct UdfClose {
    void operator()(udf_t* udf) const { udf_close(udf); }
};
struct ListFree {
    void operator()(CdioList_t* list) const { iso9660_filelist_free(list); }
};

bool isDots(const char* name) {
    return !std::strcmp(name, ".") || !std::strcmp(name, "..") || !*name;
}

void walkIso(iso9660_t* iso, const std::string& folder, WalkCount& count) {
    std::unique_ptr<CdioList_t, ListFree> list(iso9660_ifs_readdir(iso, folder.c_str()));
    if (!list) return;
    std::vector<std::string> subfolders;
    CdioListNode_t* node;
    _CDIO_LIST_FOREACH(node, list.get()) {
        const auto* st = static_cast<iso9660_stat_t*>(_cdio_list_node_data(node));
        if (isDots(st->filename)) continue;
        if (st->type == iso9660_stat_t::_STAT_DIR) {
            ++count.folders;
            subfolders.push_back(folder + st->filename + "/");
        } else {
            ++count.files;
        }
    }
    list.reset();
    for (const std::string& sub : subfolders) walkIso(iso, sub, count);
}

// libudf frees each entry when it moves on to the next, and a folder's iterator when it ends.
void walkUdf(udf_dirent_t* folder, WalkCount& count) {
    while ((folder = udf_readdir(folder))) {
        if (isDots(udf_get_filename(folder))) continue;
        if (udf_is_dir(folder)) {
            ++count.folders;
            if (udf_dirent_t* sub = udf_opendir(folder)) walkUdf(sub, count);
        } else {
            ++count.files;
        }
    }
}

}  // namespace

WalkCount walkWithLibiso9660(const QString& image) {
    WalkCount count;
    std::unique_ptr<iso9660_t, IsoClose> iso(
        iso9660_open_ext(QFile::encodeName(image).constData(), ISO_EXTENSION_ALL));
    if (!iso) return count;
    walkIso(iso.get(), "/", count);
    count.ok = true;
    return count;
}

WalkCount walkWithLibudf(const QString& image) {
    WalkCount count;
    std::unique_ptr<udf_t, UdfClose> udf(udf_open(QFile::encodeName(image).constData()));
    if (!udf) return count;
    if (udf_dirent_t* root = udf_get_root(udf.get(), true, 0)) walkUdf(root, count);
    count.ok = true;
    return count;
}

}  // namespace vt::bench
