#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "button/persist/PropertyBag.h"

namespace vt::button {

// The property bag of one control instance inside a form file: the lines between "Begin <class>
// <instance>" and "End". Values are kept as their text and decoded when read, so a damaged line only
// fails the key it holds. When the section is broken (a line that is not KEY = value, a key given twice,
// the file ending before End), every key that was not read in before the break fails to read, naming
// the line; the keys before it read normally.
class FormSection final : public PropertyBag {
  public:
    // `formName` names the pictures written into this section; `folder` is where pictures are read from;
    // `fileName` is the form file, for error messages.
    FormSection(QString classId, QString instance, QString formName, QString folder, QString fileName);

    const QString& classId() const { return classId_; }
    const QString& instance() const { return instance_; }

    BagValue read(const QString& key, const BagValue& defaultValue) override;
    void write(const QString& key, const BagValue& value) override;
    QString origin() const override { return fileName_; }

    // Building the section while parsing: a KEY = value line (a repeated key breaks the section), or the
    // first line the section cannot hold.
    void addLine(const QString& key, const QString& valueText, int line);
    void breakAt(int line, const QString& reason);

    // Each entry: its key, its value text, and the picture to be saved beside the form (or null).
    struct Entry {
        QString key;
        QString text;
        int line = 0;
        PictureRef picture;
    };
    const std::vector<Entry>& entries() const { return entries_; }
    // The file name a picture stored under `key` is saved as.
    QString pictureFileName(const QString& key, const Picture& picture) const;

  private:
    struct Break {
        int line;
        QString reason;
    };

    const Entry* find(const QString& key) const;

    QString classId_;
    QString instance_;
    QString formName_;
    QString folder_;
    QString fileName_;
    std::vector<Entry> entries_;
    std::optional<Break> break_;
};

}  // namespace vt::button
