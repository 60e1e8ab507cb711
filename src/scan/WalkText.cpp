#include "scan/WalkText.h"

#include "platform/FileSystem.h"

namespace vt {

QString TrimNull(const QString& text) {
    const int nul = text.indexOf(QChar(0));
    return nul < 0 ? QString() : text.left(nul);
}

QString AddBackslash(const QString& path) {
    if (path.isEmpty()) return QStringLiteral("\\");
    return path.endsWith(QLatin1Char('\\')) ? path : path + QLatin1Char('\\');
}

QString AttributeText(std::uint32_t attributes) {
    QString text;
    if (attributes & FileAttribute::Directory) text += QLatin1String("Directory");
    if (attributes & FileAttribute::Hidden) text += QLatin1String("Hidden");
    if (attributes & FileAttribute::System) text += QLatin1String("System");
    if (attributes & FileAttribute::Archive) text += QLatin1String("Archive");
    text += QLatin1String("Normal");
    if (attributes & FileAttribute::ReadOnly) text += QLatin1String("ReadOnly");
    return text;
}

QString TrimBlanks(const QString& text) {
    int begin = 0, end = int(text.size());
    while (begin < end && text[begin] == QLatin1Char(' ')) ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' ')) --end;
    return begin == 0 && end == text.size() ? text : text.mid(begin, end - begin);
}

}  // namespace vt
