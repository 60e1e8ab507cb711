#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "button/persist/FormSection.h"

namespace vt::button {

// A form file of ours: one plain-text UTF-8 file per form (<form>.vtform) holding one section per
// control instance, with the pictures as image files beside it:
//
//   VTFORM 1
//
//   Begin Quor.MyButton cmdAddnew
//       BTYPE = 9
//       TX = "..."
//       PICN = picture("MDIForm1.cmdAddnew.PICN.bmp", 1)
//   End
//
// Blank lines and lines starting with # are ignored. Values follow FormValueSyntax.
class FormFile {
  public:
    static constexpr const char* kExtension = ".vtform";
    static constexpr const char* kHeader = "VTFORM 1";

    // An empty form file for the form `formName`, to be filled and saved.
    explicit FormFile(QString formName);
    FormFile(FormFile&&) = default;
    FormFile& operator=(FormFile&&) = default;

    // Reads the form file at `path` (a file or resource path; its pictures are looked for in the same
    // folder). Throws FormFileError when the file cannot be read, is not a form file, or is broken
    // outside the sections; a broken section is reported only when its keys are read.
    static FormFile load(const QString& path);
    // The same from text already in memory; `path` names the file and its folder.
    static FormFile parse(const QByteArray& content, const QString& path);

    const QString& formName() const { return formName_; }
    // The section of `instance` of class `classId`, or null. The pointer lives as long as this object.
    FormSection* find(const QString& classId, const QString& instance);
    // Adds an empty section at the end; throws FormFileError when the instance already has one.
    FormSection& add(const QString& classId, const QString& instance);
    std::vector<const FormSection*> sections() const;

    QString toText() const;
    // Writes <folder>/<formName>.vtform and the pictures beside it. Throws FormFileError on failure.
    void save(const QString& folder) const;

  private:
    FormFile(QString formName, QString folder, QString fileName);

    QString formName_;
    QString folder_;    // where pictures are read from
    QString fileName_;  // for error messages
    std::vector<std::unique_ptr<FormSection>> sections_;
};

}  // namespace vt::button
