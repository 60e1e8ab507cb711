#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <exception>

#include "button/ButtonState.h"

class QWidget;

namespace vt {
class SystemColors;
}

namespace vt::button {

// The container a MyButton lives in, as the control sees it: ambient and extender properties, the
// desktop's colours and the parent's colours, and where the failures of its event handlers go.
// A host may serve many controls; it is shared by them and must not outlive the services it refers to.
class ButtonHost {
  public:
    virtual ~ButtonHost() = default;

    // Ambient properties.
    virtual QString DisplayName(const QWidget& control) const = 0;
    virtual QFont AmbientFont(const QWidget& control) const = 0;
    // True at run time, false while a form is being designed.
    virtual bool UserMode() const = 0;
    // True when the container shows `control` as its default button.
    virtual bool DisplayAsDefault(const QWidget& control) const = 0;

    // Extender Left and Top: the control's position in its parent, in pixels.
    virtual QPoint ExtenderPosition(const QWidget& control) const = 0;

    virtual const vt::SystemColors& systemColors() const = 0;
    // The parent's current background and text colours.
    virtual Rgb ParentBackground(const QWidget& control) const = 0;
    virtual Rgb ParentText(const QWidget& control) const = 0;

    // An event handler of `control` (or a form's handler of one of its events) failed; the control
    // has stopped that handler and goes on.
    virtual void HandlerFailed(const QWidget& control, const std::exception& error) const = 0;
};

}  // namespace vt::button
