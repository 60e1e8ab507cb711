#include "button/MyButton.h"

#include <QKeySequence>
#include <QPainter>
#include <QPixmap>
#include <QShortcutEvent>

#include "button/ButtonHost.h"
#include "button/control/AccessKey.h"
#include "button/control/MousePointerShape.h"
#include "button/control/WidgetButtonHost.h"

namespace vt {

using namespace button;

namespace {

QRgb toQRgb(Rgb bgr) {
    return qRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace

MyButton::MyButton(QWidget* parent, std::shared_ptr<const ButtonHost> host)
    : QWidget(parent), host_(host ? std::move(host) : std::make_shared<WidgetButtonHost>()) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);  // every move is reported, not only those with a button held
    setAttribute(Qt::WA_OpaquePaintEvent);
    OverTimer.setInterval(3);
    OverTimer.setTimerType(Qt::PreciseTimer);
    connect(&OverTimer, &QTimer::timeout, this, [this] {
        try {
            OverTimer_Timer();
        } catch (const std::exception& error) {
            host_->HandlerFailed(*this, error);
        }
    });
    InitProperties();
}

MyButton::~MyButton() {
    state_.RedrawEnabled = false;
    OverTimer.stop();
}

void MyButton::setHost(std::shared_ptr<const ButtonHost> host) {
    if (host) host_ = std::move(host);
}

ColorSources MyButton::colorSources() const {
    ColorSources sources;
    sources.system = &host_->systemColors();
    sources.parentBackground = host_->ParentBackground(*this);
    sources.parentText = host_->ParentText(*this);
    return sources;
}

void MyButton::DeriveColors() {
    button::DeriveColors(state_, colorSources());
}

bool MyButton::DrawButton(std::uint8_t paintState, bool force) {
    state_.DisplayAsDefault = host_->DisplayAsDefault(*this);
    if (!button::DrawButton(state_, surface_, paintState, force, colorSources())) return false;
    ++drawCount_;
    update();
    return true;
}

void MyButton::ResizeControl() {
    if (capturing_) return;
    state_.ClientWidth = width();
    state_.ClientHeight = height();
    state_.FocusRect = focusRectFor(state_.ButtonType, state_.ClientWidth, state_.ClientHeight);
    if (surface_.size() != size()) {
        surface_ = QImage(size(), QImage::Format_RGB32);
        surface_.fill(toQRgb(state_.colors.FaceColor));
    }
    CalcCaptionRect(state_);
    setMask(BuildRegion(state_.ButtonType, state_.ClientWidth, state_.ClientHeight));
    if (state_.ClientHeight != 0) DrawButton(StateUp, true);
}

void MyButton::CaptureBackground() {
    // Hides the button by making it 0 pixels high (the resize procedure ignores both size changes while
    // capturing), has the parent render the area it covered, and restores the height, whatever fails.
    struct Restore {
        MyButton& button;
        QSize size;
        ~Restore() {
            button.resize(size);
            button.capturing_ = false;
        }
    };
    capturing_ = true;
    Restore restore{*this, size()};
    try {
        resize(restore.size.width(), 0);
        QWidget* parent = parentWidget();
        if (!parent || restore.size.isEmpty()) return;
        const QPixmap pixels = parent->grab(QRect(host_->ExtenderPosition(*this), restore.size));
        QImage background(restore.size, QImage::Format_RGB32);
        background.fill(Qt::black);
        QPainter painter(&background);
        painter.drawPixmap(QRect(QPoint(0, 0), pixels.deviceIndependentSize().toSize()), pixels);
        painter.end();
        state_.Background = background;
    } catch (...) {
        // A background that cannot be captured leaves the previous one; the button still shows.
    }
}

void MyButton::UpdateAccessKey() {
    if (accessShortcut_ != 0) {
        releaseShortcut(accessShortcut_);
        accessShortcut_ = 0;
    }
    accessKey_ = accessKeyOf(state_.Caption);
    if (accessKey_.isEmpty()) return;
    const auto key = static_cast<Qt::Key>(accessKey_.at(0).toUpper().unicode());
    accessShortcut_ = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)));
}

void MyButton::applyPointer() {
    if (mousePointer_ == kPointerCustom) {
        if (pointerIsHand_)
            setCursor(Qt::PointingHandCursor);
        else if (mouseIcon_ && !mouseIcon_->image.isNull())
            setCursor(QCursor(QPixmap::fromImage(mouseIcon_->image)));
        else
            unsetCursor();
        return;
    }
    if (const auto shape = standardPointerShape(mousePointer_))
        setCursor(*shape);
    else
        unsetCursor();
}

void MyButton::DisableRefresh() {
    state_.RedrawEnabled = false;
}

void MyButton::Refresh() {
    if (state_.ButtonType == Transparent) CaptureBackground();
    DeriveColors();
    CalcCaptionRect(state_);
    state_.RedrawEnabled = true;
    DrawButton(state_.LastState, true);
}

void MyButton::AmbientChanged() {
    if (state_.ColorScheme == CustomColors) return;
    DeriveColors();
    DrawButton(state_.LastState, true);
}

bool MyButton::event(QEvent* event) {
    try {
        if (event->type() == QEvent::Shortcut &&
            static_cast<QShortcutEvent*>(event)->shortcutId() == accessShortcut_) {
            // The access key: a click without the pressed look.
            LastButton = 1;
            ClickHandler();
            return true;
        }
        return QWidget::event(event);
    } catch (const std::exception& error) {
        host_->HandlerFailed(*this, error);
        return true;
    }
}

void MyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void MyButton::resizeEvent(QResizeEvent*) {
    ResizeControl();
}

void MyButton::showEvent(QShowEvent*) {
    if (state_.ButtonType == Transparent) CaptureBackground();
    state_.RedrawEnabled = true;
    DeriveColors();
    DrawButton(StateUp, true);
}

void MyButton::hideEvent(QHideEvent*) {
    state_.RedrawEnabled = false;
}

void MyButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        AmbientChanged();
    QWidget::changeEvent(event);
}

}  // namespace vt
