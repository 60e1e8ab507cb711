#include "platform/IsoTreeReader.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ImageSectors.h"
#include "platform/ImageTree.h"

namespace vt {

namespace {

struct ArchiveFree {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

// libarchive turns Joliet and Rock Ridge names into text of the thread's locale; under the C locale every
// name outside ASCII would be lost. The reading runs under UTF-8 and gives the thread its locale back.
class Utf8LocaleScope {
  public:
    Utf8LocaleScope() : utf8_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr))) {
        if (utf8_) previous_ = ::uselocale(utf8_);
    }
    ~Utf8LocaleScope() {
        if (!utf8_) return;
        ::uselocale(previous_);
        ::freelocale(utf8_);
    }
    Utf8LocaleScope(const Utf8LocaleScope&) = delete;
    Utf8LocaleScope& operator=(const Utf8LocaleScope&) = delete;

  private:
    locale_t utf8_;
    locale_t previous_ = LC_GLOBAL_LOCALE;
};

// The image's logical sectors as the byte stream libarchive reads, with seeking so that it jumps over
// file contents instead of reading them.
class SectorStream {
  public:
    explicit SectorStream(ImageSectors& sectors)
        : sectors_(sectors), size_(std::int64_t(sectors.sectorCount()) * kImageSectorBytes) {}

    static la_ssize_t read(archive* a, void* self, const void** buffer) {
        return static_cast<SectorStream*>(self)->read(a, buffer);
    }
    static la_int64_t seek(archive*, void* self, la_int64_t offset, int whence) {
        auto* stream = static_cast<SectorStream*>(self);
        const std::int64_t base = whence == SEEK_CUR ? stream->position_ : whence == SEEK_END ? stream->size_ : 0;
        if (offset < -base || offset > stream->size_ - base) return ARCHIVE_FATAL;
        stream->position_ = base + offset;
        return stream->position_;
    }
    static la_int64_t skip(archive*, void* self, la_int64_t request) {
        auto* stream = static_cast<SectorStream*>(self);
        const std::int64_t step = std::min<std::int64_t>(std::max<std::int64_t>(request, 0),
                                                         stream->size_ - stream->position_);
        stream->position_ += step;
        return step;
    }

  private:
    static constexpr int kChunkSectors = 32;

    la_ssize_t read(archive* a, const void** buffer) {
        if (position_ >= size_) return 0;
        const std::uint64_t first = std::uint64_t(position_ / kImageSectorBytes);
        const int count = int(std::min<std::uint64_t>(kChunkSectors, sectors_.sectorCount() - first));
        if (!sectors_.read(first, count, chunk_.data())) {
            archive_set_error(a, EIO, "the image cannot be read at sector %llu", (unsigned long long)first);
            return ARCHIVE_FATAL;
        }
        const std::int64_t within = position_ - std::int64_t(first) * kImageSectorBytes;
        const std::int64_t available = std::int64_t(count) * kImageSectorBytes - within;
        *buffer = chunk_.data() + within;
        position_ += available;
        return la_ssize_t(available);
    }

    ImageSectors& sectors_;
    std::int64_t size_;
    std::int64_t position_ = 0;
    std::vector<unsigned char> chunk_ = std::vector<unsigned char>(std::size_t(kChunkSectors) * kImageSectorBytes);
};

// A damaged record may be skipped and the next tried; a long run of them means nothing more is readable.
constexpr int kMaxRetries = 100;

// "./dir/name/" as libarchive gives it, made "dir/name".
QString cleanPath(const char* utf8) {
    QString path = QString::fromUtf8(utf8);
    while (path.startsWith(QLatin1String("./"))) path.remove(0, 2);
    while (path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path == QLatin1String(".") ? QString() : path;
}

// The folder that holds `path`, made (with every folder above it) when it has not been listed yet.
int parentFolder(ImageTree& tree, const QString& path) {
    int folder = 0;
    const QStringList names = path.split(QLatin1Char('/'));
    for (int i = 0; i + 1 < names.size(); ++i) folder = tree.addFolder(folder, names[i]);
    return folder;
}

}  // namespace

QString readIsoTree(ImageSectors& sectors, bool joliet, ImageTree& tree) {
    const Utf8LocaleScope utf8;
    ArchivePtr reader(archive_read_new());
    if (!reader) return QStringLiteral("out of memory");
    archive* a = reader.get();
    SectorStream stream(sectors);
    archive_read_support_format_iso9660(a);
    // libarchive prefers Rock Ridge names, then Joliet: one of them is switched off to get the other.
    if (archive_read_set_options(a, joliet ? "iso9660:!rockridge" : "iso9660:!joliet") != ARCHIVE_OK) {
        return QString::fromUtf8(archive_error_string(a));
    }
    archive_read_set_callback_data(a, &stream);
    archive_read_set_read_callback(a, SectorStream::read);
    archive_read_set_seek_callback(a, SectorStream::seek);
    archive_read_set_skip_callback(a, SectorStream::skip);
    if (archive_read_open1(a) != ARCHIVE_OK) {
        tree.markUnreadable(0);
        return QStringLiteral("no readable ISO 9660 directory: ") + QString::fromUtf8(archive_error_string(a));
    }
    archive_entry* entry = nullptr;
    for (int retries = 0;;) {
        const int status = archive_read_next_header(a, &entry);
        if (status == ARCHIVE_EOF) return {};
        if (status == ARCHIVE_RETRY && ++retries < kMaxRetries) continue;
        if (status == ARCHIVE_FATAL || status == ARCHIVE_RETRY) {
            const char* why = archive_error_string(a);
            return QStringLiteral("the directory records are damaged: ") +
                   (why ? QString::fromUtf8(why) : QStringLiteral("unknown error"));
        }
        retries = 0;
        const char* name = archive_entry_pathname_utf8(entry);
        if (!name) continue;
        const QString path = cleanPath(name);
        if (path.isEmpty()) continue;
        const int folder = parentFolder(tree, path);
        const QString leaf = path.section(QLatin1Char('/'), -1);
        const mode_t type = archive_entry_filetype(entry);
        if (type == AE_IFDIR) {
            tree.addFolder(folder, leaf);
        } else if (const char* target = archive_entry_hardlink_utf8(entry)) {
            // A second name for the same extent: libarchive gives it no length of its own.
            const ImageTree::Entry* first = tree.entryAt(cleanPath(target));
            if (first && !first->isDirectory()) tree.addFile(folder, leaf, first->length, first->modified);
        } else if (type == AE_IFREG) {
            // The recording date of the directory record (or Rock Ridge's modification time), in UTC.
            const std::optional<std::int64_t> modified =
                archive_entry_mtime_is_set(entry) ? std::optional<std::int64_t>(archive_entry_mtime(entry))
                                                  : std::nullopt;
            tree.addFile(folder, leaf, archive_entry_size(entry), modified);
        }
    }
}

}  // namespace vt
