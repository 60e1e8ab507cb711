#pragma once

#include <QString>
#include <QStringList>

#include "button/persist/FormFile.h"

class QWidget;

namespace vt {
class SystemColors;
}

namespace vt::button {

// The stored looks of the program's buttons: one form file per window among the program's resources,
// named after the window's class (":/forms/frmMain.vtform"), with the pictures beside it.
QString storedFormPath(const QString& formName);
// The form name of a window: its class name without the namespace ("frmMain").
QString formNameOf(const QWidget& form);

// Gives every MyButton inside `form` that has a section in the window's stored form file (matched by
// object name) its stored properties, and a host on `colors` (which must outlive the buttons). Buttons
// without a section keep what they have; sections without a button are passed over.
// Throws FormFileError or PropertyBagError when the stored file is damaged.
void loadStoredButtons(QWidget& form, const vt::SystemColors& colors);

// A form file for `form` holding the properties of its buttons named `instances`, in that order; a name
// without a button is left out.
FormFile saveButtons(QWidget& form, const QStringList& instances);

}  // namespace vt::button
