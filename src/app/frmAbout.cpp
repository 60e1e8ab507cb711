#include "app/frmAbout.h"

#include <QLabel>

#include "button/MyButton.h"
#include "window/AboutPictures.h"
#include "window/Look.h"

namespace vt {

namespace {

QLabel* picture(QWidget* parent, const QPixmap& pixmap, int x, int y) {
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setGeometry(x, y, pixmap.width(), pixmap.height());
    return label;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    Look::applyWindowLook(*this);
    setFixedSize(356, 340);

    picture(this, aboutBannerPicture(), 8, 8)->setObjectName(QStringLiteral("Picture3"));
    picture(this, aboutDiscPicture(), 8, 158)->setObjectName(QStringLiteral("Picture1"));
    picture(this, aboutDrawersPicture(), 150, 158)->setObjectName(QStringLiteral("Picture2"));

    cmdDelete_ = new MyButton(this);
    cmdDelete_->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete_->setCaption(QStringLiteral("بستن"));
    cmdDelete_->setGeometry(8, 308, Look::px(1575), Look::px(375));
    connect(cmdDelete_, &MyButton::Click, this, &frmAbout::cmdDelete_Click);
}

void frmAbout::cmdDelete_Click() {
    close();
}

}  // namespace vt
