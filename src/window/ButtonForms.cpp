#include "window/ButtonForms.h"

#include <QMetaObject>
#include <QWidget>
#include <memory>

#include "button/MyButton.h"
#include "button/control/WidgetButtonHost.h"

// The forms are compiled into the static core library; nothing else references them, so they are
// registered explicitly before first use. (At global scope: the macro declares a global function.)
static void registerStoredForms() {
    Q_INIT_RESOURCE(ButtonForms);
}

namespace vt::button {

QString storedFormPath(const QString& formName) {
    registerStoredForms();
    return QStringLiteral(":/forms/") + formName + QLatin1String(FormFile::kExtension);
}

QString formNameOf(const QWidget& form) {
    const QString className = QString::fromLatin1(form.metaObject()->className());
    return className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
}

void loadStoredButtons(QWidget& form, const vt::SystemColors& colors) {
    FormFile stored = FormFile::load(storedFormPath(formNameOf(form)));
    const auto host = std::make_shared<const WidgetButtonHost>(&colors);
    for (const FormSection* section : stored.sections()) {
        if (section->classId() != QLatin1String(MyButton::kClassId)) continue;
        auto* button = form.findChild<MyButton*>(section->instance());
        if (!button) continue;
        button->setHost(host);
        button->ReadProperties(*stored.find(section->classId(), section->instance()));
    }
}

FormFile saveButtons(QWidget& form, const QStringList& instances) {
    FormFile file(formNameOf(form));
    for (const QString& instance : instances) {
        if (const auto* button = form.findChild<MyButton*>(instance))
            button->WriteProperties(file.add(QLatin1String(MyButton::kClassId), instance));
    }
    return file;
}

}  // namespace vt::button
