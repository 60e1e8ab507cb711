#include "button/persist/FormFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>

#include "button/persist/Bitmap24.h"
#include "button/persist/FormFileError.h"

namespace vt::button {

namespace {

// Form files are a few kilobytes; anything far larger is not one and is refused before it is read.
constexpr qint64 kMaxFileSize = 1 << 20;

const QRegularExpression& beginPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^Begin\s+([A-Za-z_][A-Za-z0-9_.]*)\s+([A-Za-z_][A-Za-z0-9_]*)$)"));
    return pattern;
}

const QRegularExpression& entryPattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(^([A-Za-z_][A-Za-z0-9_]*)\s*=(.*)$)"));
    return pattern;
}

bool decodeUtf8(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace

FormFile::FormFile(QString formName) : formName_(std::move(formName)) {}

FormFile::FormFile(QString formName, QString folder, QString fileName)
    : formName_(std::move(formName)), folder_(std::move(folder)), fileName_(std::move(fileName)) {}

FormFile FormFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FormFileError(path, 0, QStringLiteral("the file cannot be read"));
    if (file.size() > kMaxFileSize)
        throw FormFileError(path, 0, QStringLiteral("the file is too large for a form file"));
    const QByteArray content = file.read(kMaxFileSize + 1);
    if (content.size() > kMaxFileSize)
        throw FormFileError(path, 0, QStringLiteral("the file is too large for a form file"));
    return parse(content, path);
}

FormFile FormFile::parse(const QByteArray& content, const QString& path) {
    const QFileInfo info(path);
    FormFile form(info.completeBaseName(), info.path(), path);
    QList<QByteArray> lines = content.split('\n');
    if (!content.isEmpty() && content.endsWith('\n')) lines.removeLast();

    FormSection* current = nullptr;
    bool skipping = false;  // after a line the current section cannot hold, up to its End
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        QByteArray bytes = lines[i];
        if (bytes.endsWith('\r')) bytes.chop(1);
        QString text;
        const bool utf8 = decodeUtf8(bytes, text);
        const QString line = text.trimmed();
        if (lineNo == 1) {
            if (!utf8 || line != QLatin1String(kHeader))
                throw FormFileError(path, 1, QStringLiteral("this is not a Vellumtrove form file"));
            continue;
        }
        if (!utf8) {
            if (!current) throw FormFileError(path, lineNo, QStringLiteral("the line is not UTF-8 text"));
            current->breakAt(lineNo, QStringLiteral("the line is not UTF-8 text"));
            skipping = true;
            continue;
        }
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        if (line == QLatin1String("Begin") || line.startsWith(QLatin1String("Begin "))) {
            if (current)
                current->breakAt(lineNo, QStringLiteral("the section has no End before the next Begin"));
            const QRegularExpressionMatch m = beginPattern().match(line);
            if (!m.hasMatch())
                throw FormFileError(path, lineNo,
                                    QStringLiteral("\"%1\" is not Begin <class> <instance>").arg(line));
            if (form.find(m.captured(1), m.captured(2)))
                throw FormFileError(path, lineNo, QStringLiteral("%1 has two sections").arg(m.captured(2)));
            current = &form.add(m.captured(1), m.captured(2));
            skipping = false;
            continue;
        }
        if (!current) {
            throw FormFileError(path, lineNo,
                                line == QLatin1String("End")
                                    ? QStringLiteral("End without Begin")
                                    : QStringLiteral("text outside any control's section"));
        }
        if (line == QLatin1String("End")) {
            current = nullptr;
            continue;
        }
        if (skipping) continue;
        const QRegularExpressionMatch m = entryPattern().match(line);
        if (!m.hasMatch()) {
            current->breakAt(lineNo, QStringLiteral("\"%1\" is not KEY = value").arg(line));
            skipping = true;
            continue;
        }
        current->addLine(m.captured(1), m.captured(2), lineNo);
    }
    if (current)
        current->breakAt(lines.size(), QStringLiteral("the file ends here, before the section's End"));
    return form;
}

FormSection* FormFile::find(const QString& classId, const QString& instance) {
    for (const auto& section : sections_)
        if (section->classId() == classId && section->instance() == instance) return section.get();
    return nullptr;
}

FormSection& FormFile::add(const QString& classId, const QString& instance) {
    if (find(classId, instance))
        throw FormFileError(fileName_, 0, QStringLiteral("%1 has two sections").arg(instance));
    sections_.push_back(std::make_unique<FormSection>(classId, instance, formName_, folder_, fileName_));
    return *sections_.back();
}

std::vector<const FormSection*> FormFile::sections() const {
    std::vector<const FormSection*> out;
    for (const auto& section : sections_) out.push_back(section.get());
    return out;
}

QString FormFile::toText() const {
    QString text = QLatin1String(kHeader) + QLatin1Char('\n');
    for (const auto& section : sections_) {
        text += QStringLiteral("\nBegin %1 %2\n").arg(section->classId(), section->instance());
        for (const FormSection::Entry& entry : section->entries())
            text += QStringLiteral("    %1 = %2\n").arg(entry.key, entry.text.trimmed());
        text += QStringLiteral("End\n");
    }
    return text;
}

void FormFile::save(const QString& folder) const {
    const QString path = folder + QLatin1Char('/') + formName_ + QLatin1String(kExtension);
    for (const auto& section : sections_) {
        for (const FormSection::Entry& entry : section->entries()) {
            if (!entry.picture) continue;
            const QString file =
                folder + QLatin1Char('/') + section->pictureFileName(entry.key, *entry.picture);
            const bool written = entry.picture->type == Picture::Bitmap
                                     ? writeBitmap24(entry.picture->image, file)
                                     : entry.picture->image.save(file, "png");
            if (!written) throw FormFileError(file, 0, QStringLiteral("the picture cannot be written"));
        }
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(toText().toUtf8()) < 0 || !out.commit())
        throw FormFileError(path, 0, QStringLiteral("the file cannot be written: %1").arg(out.errorString()));
}

}  // namespace vt::button
