#include "platform/FileNames.h"

#include <array>

namespace vt {

namespace {

// Windows-1256 bytes 0x80 to 0xFF, as the code page defines them (all 128 are assigned, each to a
// character of its own). Bytes below 0x80 are ASCII.
constexpr std::array<char16_t, 128> kWindows1256 = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688,  // 0x88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA,  // 0x98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // 0xA0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F,  // 0xB8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,  // 0xC0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F,  // 0xC8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7,  // 0xD0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,  // 0xD8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7,  // 0xE0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF,  // 0xE8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,  // 0xF0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,  // 0xF8
};

constexpr char16_t kEscapeBase = 0xDC00;  // byte b (0x80..0xFF) travels as U+DC00 + b

// Length of the valid UTF-8 sequence starting at `p` (at most `left` bytes), or 0 if none starts there.
int utf8SequenceLength(const unsigned char* p, qsizetype left) {
    const unsigned char b = p[0];
    if (b < 0x80) return 1;
    auto continuation = [&](qsizetype i) { return i < left && (p[i] & 0xC0) == 0x80; };
    if (b >= 0xC2 && b <= 0xDF) return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (b == 0xE0 && p[1] < 0xA0) return 0;   // overlong
        if (b == 0xED && p[1] >= 0xA0) return 0;  // a surrogate
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (b == 0xF0 && p[1] < 0x90) return 0;   // overlong
        if (b == 0xF4 && p[1] >= 0x90) return 0;  // past U+10FFFF
        return 4;
    }
    return 0;  // a continuation byte, C0, C1 or F5 and above
}

bool allAscii(const char* bytes, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        if (static_cast<unsigned char>(bytes[i]) >= 0x80) return false;
    }
    return true;
}

}  // namespace

bool isValidUtf8(const char* bytes, qsizetype size) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    for (qsizetype i = 0; i < size;) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        const int length = utf8SequenceLength(p + i, size - i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

QString decodeFileName(const char* bytes, qsizetype size) {
    // Most names are ASCII; they need neither check.
    if (allAscii(bytes, size)) return QString::fromLatin1(bytes, size);
    if (isValidUtf8(bytes, size)) return QString::fromUtf8(bytes, size);
    return fromWindows1256(bytes, size);
}

QString fromWindows1256(const char* bytes, qsizetype size) {
    QString text(size, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = QChar(b < 0x80 ? char16_t(b) : kWindows1256[b - 0x80]);
    }
    return text;
}

std::optional<QByteArray> toWindows1256(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            bytes.append(char(c.unicode()));
            continue;
        }
        int found = -1;
        for (int i = 0; i < int(kWindows1256.size()) && found < 0; ++i) {
            if (kWindows1256[size_t(i)] == c.unicode()) found = i;
        }
        if (found < 0) return std::nullopt;
        bytes.append(char(0x80 + found));
    }
    return bytes;
}

QString nativePathText(const QByteArray& bytes) {
    if (allAscii(bytes.constData(), bytes.size())) return QString::fromLatin1(bytes);
    if (isValidUtf8(bytes.constData(), bytes.size())) return QString::fromUtf8(bytes);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < size;) {
        const int length = utf8SequenceLength(p + i, size - i);
        if (length == 0) {
            text.append(QChar(char16_t(kEscapeBase + p[i])));
            ++i;
        } else {
            text.append(QString::fromUtf8(bytes.constData() + i, length));
            i += length;
        }
    }
    return text;
}

QByteArray nativePathBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // An escaped byte is a low surrogate without a high one before it.
        const bool escaped =
            c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF && (i == 0 || !text[i - 1].isHighSurrogate());
        if (!escaped) continue;
        bytes.append(QStringView(text).mid(plainFrom, i - plainFrom).toUtf8());
        bytes.append(char(c - kEscapeBase));
        plainFrom = i + 1;
    }
    bytes.append(QStringView(text).mid(plainFrom).toUtf8());
    return bytes;
}

}  // namespace vt
