// The push button control: MyButton's public face (painting in paint/, persistence in persist/,
// input and properties in control/).
#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "button/ButtonState.h"
#include "button/paint/ButtonPainter.h"

namespace vt {

namespace button {
class ButtonHost;
class PropertyBag;
}  // namespace button

// The program's own owner-drawn push button (class identifier "Quor.MyButton"). It holds its properties
// in a ButtonState, draws every face onto an off-screen image through DrawButton and only shows that
// image when Qt asks it to paint; its window shape (the widget's mask) follows the button style, so
// drawing, clicks and the hover test all stop at cut corners and outside an oval.
//
// Windows use Caption and Click; the other events pass their arguments by reference, so a connected
// slot (direct connection) may change them and the control goes on with the changed values.
// Property setters that fail throw; failures inside event handling (including a form's slot connected
// to one of the events) go to the host's HandlerFailed and end that handler only.
class MyButton : public QWidget {
    Q_OBJECT
  public:
    static constexpr const char* kClassId = "Quor.MyButton";

    // Creates the control as a newly placed instance (InitProperties). Without a host it uses a
    // WidgetButtonHost on the desktop's colours; the host is shared and kept alive by the control.
    explicit MyButton(QWidget* parent = nullptr, std::shared_ptr<const button::ButtonHost> host = nullptr);
    ~MyButton() override;

    // Replaces the host (a null host is ignored); nothing is rederived or redrawn until the next event.
    void setHost(std::shared_ptr<const button::ButtonHost> host);
    const button::ButtonHost& host() const { return *host_; }

    // Properties. Each setter stores the value, then repaints and notifies as the property requires.
    std::int32_t ButtonType() const { return state_.ButtonType; }
    void setButtonType(std::int32_t value);
    const QString& Caption() const { return state_.Caption; }
    void setCaption(const QString& value);
    // Hides QWidget::setEnabled: the property repaints the disabled look, then sets the window's flag.
    bool Enabled() const { return state_.Enabled; }
    void setEnabled(bool value);
    // Hides QWidget::setFont: the font is the property's, with layout and repaint.
    const QFont& Font() const { return state_.Font; }
    void setFont(const QFont& value);
    bool FontBold() const { return state_.Font.bold(); }
    void setFontBold(bool value);
    bool FontItalic() const { return state_.Font.italic(); }
    void setFontItalic(bool value);
    bool FontUnderline() const { return state_.Font.underline(); }
    void setFontUnderline(bool value);
    // Whole points, rounded to the nearest (halves to even).
    std::int16_t FontSize() const;
    void setFontSize(std::int16_t value);
    QString FontName() const;
    void setFontName(const QString& value);
    std::int32_t ColorScheme() const { return state_.ColorScheme; }
    void setColorScheme(std::int32_t value);
    bool ShowFocusRect() const { return state_.ShowFocusRect; }
    void setShowFocusRect(bool value);
    button::ColorValue BackColor() const { return state_.BackColor; }
    void setBackColor(button::ColorValue value);
    button::ColorValue BackOver() const { return state_.BackOver; }
    void setBackOver(button::ColorValue value);
    button::ColorValue ForeColor() const { return state_.ForeColor; }
    void setForeColor(button::ColorValue value);
    button::ColorValue ForeOver() const { return state_.ForeOver; }
    void setForeOver(button::ColorValue value);
    button::ColorValue MaskColor() const { return state_.MaskColor; }
    void setMaskColor(button::ColorValue value);
    // Pointer codes: see MousePointerShape.h. A value outside 16 bits throws OverflowError and
    // changes nothing.
    std::int32_t MousePointer() const { return mousePointer_; }
    void setMousePointer(std::int32_t value);
    // The custom pointer picture (pointer 99). Null when there is none, and while HandPointer shows the
    // desktop's pointing hand, which is not a picture the control holds.
    const button::PictureRef& MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const button::PictureRef& value);
    const button::PictureRef& PictureNormal() const { return state_.PictureNormal; }
    void setPictureNormal(const button::PictureRef& value);
    const button::PictureRef& PictureOver() const { return state_.PictureOver; }
    void setPictureOver(const button::PictureRef& value);
    bool UseMaskColor() const { return state_.UseMaskColor; }
    void setUseMaskColor(bool value);
    bool SoftBevel() const { return state_.SoftBevel; }
    void setSoftBevel(bool value);
    std::int32_t PicturePosition() const { return state_.PicturePosition; }
    void setPicturePosition(std::int32_t value);
    bool UseGreyscale() const { return state_.UseGreyscale; }
    void setUseGreyscale(bool value);
    std::int32_t SpecialEffect() const { return state_.SpecialEffect; }
    void setSpecialEffect(std::int32_t value);
    // True: the desktop's pointing-hand pointer (pointer 99); false: the arrow (pointer 1), no picture.
    bool HandPointer() const { return handPointer_; }
    void setHandPointer(bool value);
    bool CheckBoxBehaviour() const { return state_.CheckBoxBehaviour; }
    void setCheckBoxBehaviour(bool value);
    bool Value() const { return state_.Value; }
    void setValue(bool value);
    // The native window the control draws in (that of its nearest native ancestor; none is created).
    WId hwnd() const { return effectiveWinId(); }
    QString Version() const { return QStringLiteral("2.0.6"); }
    // The access key taken from the caption (lower-case), or empty; it works as Alt+key.
    const QString& AccessKeys() const { return accessKey_; }

    // Stops repainting until Refresh, so that many properties can change without a repaint each.
    void DisableRefresh();
    // Recaptures a Transparent button's background, derives colours and layout, and repaints once.
    void Refresh();

    // The container's ambient properties (its colours or font) changed. Called on palette changes.
    void AmbientChanged();

    // Persistence through a property bag: a newly placed instance, loading (no repaint) and saving.
    // ReadProperties stops at a key that cannot be read (PropertyBagError); the keys before it keep
    // their new values.
    void InitProperties();
    void ReadProperties(button::PropertyBag& bag);
    void WriteProperties(button::PropertyBag& bag) const;

    const button::ButtonState& state() const { return state_; }
    // The face as last drawn, and how many times a face has been drawn onto it.
    const QImage& surface() const { return surface_; }
    std::uint64_t drawCount() const { return drawCount_; }

  signals:
    void Click();
    void MouseDown(qint16& Button, qint16& Shift, float& X, float& Y);
    void MouseMove(qint16& Button, qint16& Shift, float& X, float& Y);
    void MouseUp(qint16& Button, qint16& Shift, float& X, float& Y);
    void KeyPress(qint16& KeyAscii);
    void KeyDown(qint16& KeyCode, qint16& Shift);
    void KeyUp(qint16& KeyCode, qint16& Shift);
    void MouseOver();
    void MouseOut();
    // A persisted property changed (its key; "PICO" for PictureOver). Font parts send none.
    void propertyChanged(const QString& name);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // Drawing and shape.
    bool DrawButton(std::uint8_t paintState, bool force);
    void DeriveColors();
    button::ColorSources colorSources() const;
    void ResizeControl();
    void CaptureBackground();
    void UpdateAccessKey();
    void fontChanged();
    void applyPointer();
    void mark(const char* key) { emit propertyChanged(QLatin1String(key)); }

    // Interaction.
    bool IsMouseOver() const;
    void MousePressHandler(qint16 Button, qint16 Shift, float X, float Y);
    void ClickHandler();
    void OverTimer_Timer();
    bool insideShape(const QPoint& position) const;

    button::ButtonState state_;
    std::shared_ptr<const button::ButtonHost> host_;
    QImage surface_;
    QTimer OverTimer;
    std::uint64_t drawCount_ = 0;

    // Pointer: the window's pointer code and picture.
    std::int16_t mousePointer_ = 0;
    button::PictureRef mouseIcon_;
    bool pointerIsHand_ = false;
    bool handPointer_ = false;

    bool capturing_ = false;
    std::uint8_t LastButton = 0;
    std::uint8_t LastKey = 0;
    QString accessKey_;
    int accessShortcut_ = 0;
    // Buttons pressed on this control whose release over it is a click (not the second press of a
    // double-click), and whether a double-click took the mouse until its release.
    Qt::MouseButtons clickCandidates_;
    bool doubleClickGrab_ = false;
};

}  // namespace vt
