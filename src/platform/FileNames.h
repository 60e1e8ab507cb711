#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace vt {

// How the names on a disc, which are bytes, become the text the catalogue stores, and back.
//
// A name that is valid UTF-8 is read as UTF-8. Any other name is read whole as Windows-1256, the code page
// of old Persian (and Arabic) discs: every byte from 0x80 to 0xFF stands for a character of its own there,
// so reading a name that way loses nothing, and the name of such a disc reads as the Persian it was written
// in. (Reading the stray bytes as U+FFFD instead, as before, lost them: the stored name no longer matched
// the disc, and the file could not be opened from a search result.) Names are never read part one way,
// part the other.
//
// Going back, the text of a stored name may stand for its UTF-8 bytes or for its Windows-1256 bytes; the
// drive paths of found files are matched against the real tree in both forms (resolveDrivePath).

// True when `size` bytes at `bytes` are valid UTF-8 (shortest forms, no surrogates, nothing past U+10FFFF).
bool isValidUtf8(const char* bytes, qsizetype size);

// The text of a name as a scan records it, by the rule above.
QString decodeFileName(const char* bytes, qsizetype size);
inline QString decodeFileName(const QByteArray& bytes) {
    return decodeFileName(bytes.constData(), bytes.size());
}

// The bytes read as Windows-1256.
QString fromWindows1256(const char* bytes, qsizetype size);
// The Windows-1256 bytes of `text`; nothing when a character of it has no place in that code page.
std::optional<QByteArray> toWindows1256(const QString& text);

// Native paths as text. A path of this machine is bytes; the text form used between the program's parts
// (DriveTable::nativePath, Shell) reads it as UTF-8 and carries each byte that is not part of valid UTF-8
// as the lone surrogate U+DC80 + (byte - 0x80), so any path survives the trip whole. A path in valid
// UTF-8 is therefore simply its text.
QString nativePathText(const QByteArray& bytes);
// The bytes of a native path given as text (the reverse of nativePathText).
QByteArray nativePathBytes(const QString& text);

}  // namespace vt
