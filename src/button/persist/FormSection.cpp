#include "button/persist/FormSection.h"

#include "button/persist/FormValueSyntax.h"
#include "button/persist/PropertyBagError.h"

namespace vt::button {

FormSection::FormSection(QString classId, QString instance, QString formName, QString folder,
                         QString fileName)
    : classId_(std::move(classId)),
      instance_(std::move(instance)),
      formName_(std::move(formName)),
      folder_(std::move(folder)),
      fileName_(std::move(fileName)) {}

const FormSection::Entry* FormSection::find(const QString& key) const {
    for (const Entry& entry : entries_)
        if (entry.key == key) return &entry;
    return nullptr;
}

BagValue FormSection::read(const QString& key, const BagValue& defaultValue) {
    const Entry* entry = find(key);
    if (!entry) {
        if (break_)
            throw PropertyBagError(fileName_, key,
                                   QStringLiteral("line %1: %2").arg(break_->line).arg(break_->reason));
        return defaultValue;
    }
    const FormValueSyntax::Decoded decoded = FormValueSyntax::decode(entry->text, folder_);
    if (!decoded.error.isEmpty())
        throw PropertyBagError(fileName_, key,
                               QStringLiteral("line %1: %2").arg(entry->line).arg(decoded.error));
    return decoded.value;
}

QString FormSection::pictureFileName(const QString& key, const Picture& picture) const {
    const QString suffix = picture.type == Picture::Bitmap ? QStringLiteral("bmp") : QStringLiteral("png");
    return QStringLiteral("%1.%2.%3.%4").arg(formName_, instance_, key, suffix);
}

void FormSection::write(const QString& key, const BagValue& value) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->key == key) {
            entries_.erase(it);
            break;
        }
    }
    if (value.isEmpty() || value.isNonePicture()) return;
    Entry entry;
    entry.key = key;
    if (value.kind() == BagValue::Kind::Picture && !value.toPicture()->image.isNull()) {
        entry.picture = value.toPicture();
        entry.text = FormValueSyntax::encode(value, pictureFileName(key, *entry.picture));
    } else {
        entry.text = FormValueSyntax::encode(value, QString());
    }
    entries_.push_back(std::move(entry));
}

void FormSection::addLine(const QString& key, const QString& valueText, int line) {
    if (break_) return;
    if (find(key)) {
        breakAt(line, QStringLiteral("the key %1 is given twice").arg(key));
        return;
    }
    entries_.push_back(Entry{key, valueText, line, nullptr});
}

void FormSection::breakAt(int line, const QString& reason) {
    if (!break_) break_ = Break{line, reason};
}

}  // namespace vt::button
