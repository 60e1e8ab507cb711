#include "scan/frmDifferences.h"

#include <QLabel>
#include <QListWidget>

#include "button/MyButton.h"
#include "catalog/FileTimeText.h"
#include "scan/DiscDifferences.h"
#include "scan/ScanTexts.h"
#include "window/Look.h"

namespace vt {

namespace {

QString sizeText(double bytes) {
    return QString::number(bytes, 'f', 0);
}

// One line per file, read left to right as paths are: "+" added, "-" removed, "~" changed (size or time).
QString lineOf(const FileDifference& file) {
    switch (file.kind) {
        case FileDifference::Kind::Added:
            return QStringLiteral("+  %1  (%2)").arg(file.path, sizeText(file.newSize));
        case FileDifference::Kind::Removed:
            return QStringLiteral("-  %1  (%2)").arg(file.path, sizeText(file.oldSize));
        case FileDifference::Kind::Resized:
            return QStringLiteral("~  %1  (%2 → %3)")
                .arg(file.path, sizeText(file.oldSize), sizeText(file.newSize));
        case FileDifference::Kind::Redated:
            return QStringLiteral("~  %1  (%2 → %3)")
                .arg(file.path, isoUtcText(file.oldModified), isoUtcText(file.newModified));
    }
    return file.path;
}

}  // namespace

frmDifferences::frmDifferences(const QString& diskName, const DiscDifferences& differences, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ScanTexts::differencesTitle(diskName));
    setFixedSize(Look::px(7200), Look::px(5400));
    Look::applyWindowLook(*this);
    setLayoutDirection(Qt::RightToLeft);

    lblCounts_ = new QLabel(ScanTexts::differenceCounts(differences.added, differences.removed,
                                                        differences.resized + differences.redated),
                            this);
    lblCounts_->setObjectName(QStringLiteral("lblCounts"));
    lblCounts_->setGeometry(Look::twipsRect(120, 120, 6960, 375));
    lblCounts_->setFont(Look::labelFont());

    lstFiles_ = new QListWidget(this);
    lstFiles_->setObjectName(QStringLiteral("lstFiles"));
    lstFiles_->setGeometry(Look::twipsRect(120, 600, 6960, 4080));
    lstFiles_->setLayoutDirection(Qt::LeftToRight);
    lstFiles_->setUniformItemSizes(true);  // a disc may list tens of thousands
    for (const FileDifference& file : differences.files) lstFiles_->addItem(lineOf(file));

    cmdApply_ = new MyButton(this);
    cmdApply_->setObjectName(QStringLiteral("cmdApply"));
    cmdApply_->setCaption(ScanTexts::cmdApplyChanges());
    cmdApply_->setGeometry(Look::twipsRect(3720, 4800, 3360, 375));
    connect(cmdApply_, &MyButton::Click, this, &QDialog::accept);
    cmdCancel_ = new MyButton(this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setCaption(ScanTexts::cmdCancel());
    cmdCancel_->setGeometry(Look::twipsRect(120, 4800, 3360, 375));
    connect(cmdCancel_, &MyButton::Click, this, &QDialog::reject);
}

}  // namespace vt
