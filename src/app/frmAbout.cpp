#include "app/frmAbout.h"

#include <QLabel>

#include "button/MyButton.h"
#include "search/LeftToRight.h"
#include "window/AboutPictures.h"
#include "window/AppContext.h"
#include "window/Look.h"

namespace vt {

namespace {

QLabel* picture(QWidget* parent, const QPixmap& pixmap, int x, int y) {
    auto* label = new QLabel(parent);
    label->setPixmap(pixmap);
    label->setGeometry(x, y, pixmap.width(), pixmap.height());
    return label;
}

// Which catalogue is open (a server's address never with its password) and the file that chooses it, each
// path on a line of its own so that it reads left to right whole.
QString catalogueInUse(const AppContext& context) {
    const Connection& catalogue = context.cnCatalog;
    QString text;
    if (catalogue.State() != 0) {
        text = (catalogue.server() ? QStringLiteral("فهرست ديسكها روي سرور:")
                                   : QStringLiteral("فهرست ديسكها در فايل:")) +
               QLatin1Char('\n') + leftToRight(catalogue.databasePath()) + QLatin1Char('\n');
    }
    return text + QStringLiteral("جاي فهرست را اين فايل تنظيمات تعيين مي كند:") + QLatin1Char('\n') +
           leftToRight(context.settingsFile);
}

}  // namespace

frmAbout::frmAbout(const AppContext& context, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    Look::applyWindowLook(*this);

    picture(this, aboutBannerPicture(), 8, 8)->setObjectName(QStringLiteral("Picture3"));
    picture(this, aboutDiscPicture(), 8, 158)->setObjectName(QStringLiteral("Picture1"));
    picture(this, aboutDrawersPicture(), 150, 158)->setObjectName(QStringLiteral("Picture2"));

    // Below the pictures, as wide as the banner; the close button goes under it.
    lblCatalogue_ = new QLabel(catalogueInUse(context), this);
    lblCatalogue_->setObjectName(QStringLiteral("lblCatalogue"));
    lblCatalogue_->setWordWrap(true);
    // Each line takes its own direction; all of them stand at the right edge, as the Persian ones begin
    // there.
    lblCatalogue_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignTop);
    // So that the address or the path can be copied into a terminal or a mail.
    lblCatalogue_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int width = 340;
    lblCatalogue_->setGeometry(8, 306, width, lblCatalogue_->heightForWidth(width));

    cmdDelete_ = new MyButton(this);
    cmdDelete_->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete_->setCaption(QStringLiteral("بستن"));
    const int buttonTop = lblCatalogue_->geometry().bottom() + 8;
    cmdDelete_->setGeometry(8, buttonTop, Look::px(1575), Look::px(375));
    connect(cmdDelete_, &MyButton::Click, this, &frmAbout::cmdDelete_Click);
    setFixedSize(356, buttonTop + Look::px(375) + 7);
}

void frmAbout::cmdDelete_Click() {
    close();
}

}  // namespace vt
