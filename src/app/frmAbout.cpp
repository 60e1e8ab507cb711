#include "app/frmAbout.h"

#include <QFontMetrics>
#include <QLabel>

#include "button/MyButton.h"
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

// A path in a line of its own that begins in Persian: an embedding keeps its slashes where they belong (the
// label lays a line of isolates out with a taller fallback font, and two lines no longer fit).
QString embeddedLeftToRight(const QString& text) {
    return QChar(0x202A) + text + QChar(0x202C);
}

// Which catalogue is open (a server's address never with its password) and the file that chooses it, a
// line each.
QString catalogueInUse(const AppContext& context) {
    const Connection& catalogue = context.cnCatalog;
    QString text;
    if (catalogue.State() != 0) {
        text = (catalogue.server() ? QStringLiteral("سرور: ") : QStringLiteral("فايل: ")) +
               embeddedLeftToRight(catalogue.databasePath()) + QLatin1Char('\n');
    }
    return text + QStringLiteral("تنظيمات: ") + embeddedLeftToRight(context.settingsFile);
}

}  // namespace

frmAbout::frmAbout(const AppContext& context, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    Look::applyWindowLook(*this);

    picture(this, aboutBannerPicture(), 8, 8)->setObjectName(QStringLiteral("Picture3"));
    picture(this, aboutDiscPicture(), 8, 158)->setObjectName(QStringLiteral("Picture1"));
    picture(this, aboutDrawersPicture(), 150, 158)->setObjectName(QStringLiteral("Picture2"));

    cmdDelete_ = new MyButton(this);
    cmdDelete_->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete_->setCaption(QStringLiteral("بستن"));
    cmdDelete_->setGeometry(8, 308, Look::px(1575), Look::px(375));
    connect(cmdDelete_, &MyButton::Click, this, &frmAbout::cmdDelete_Click);

    // In the room beside the close button: two small lines, each shortened in its middle to fit; the whole
    // text is the tooltip, and can be selected and copied.
    const QRect room(cmdDelete_->geometry().right() + 8, 300, 348 - cmdDelete_->geometry().right() - 8, 40);
    lblCatalogue_ = new QLabel(this);
    lblCatalogue_->setObjectName(QStringLiteral("lblCatalogue"));
    QFont small = lblCatalogue_->font();
    small.setPixelSize(9);  // two lines in the 40 pixels below the pictures
    lblCatalogue_->setFont(small);
    const QString whole = catalogueInUse(context);
    QStringList shown;
    const QFontMetrics metrics(small);
    for (const QString& line : whole.split(QLatin1Char('\n'))) {
        shown << metrics.elidedText(line, Qt::ElideMiddle, room.width());
    }
    lblCatalogue_->setText(shown.join(QLatin1Char('\n')));
    lblCatalogue_->setToolTip(whole);
    lblCatalogue_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    lblCatalogue_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCatalogue_->setGeometry(room);
    setFixedSize(356, 340);
}

void frmAbout::cmdDelete_Click() {
    close();
}

}  // namespace vt
