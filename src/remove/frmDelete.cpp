#include "remove/frmDelete.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <memory>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "catalog/Statements.h"
#include "platform/MessageService.h"
#include "remove/DiskRemoval.h"
#include "window/AppContext.h"
#include "window/CatalogueFailureTexts.h"
#include "window/Look.h"

namespace vt {

namespace {

const QString kAreYouSure = QStringLiteral("آيا مطمئن هستيد ؟");
const QString kRemovalFailed = QStringLiteral("حذف ديسك انجام نشد و هيچ اطلاعاتي از فهرست پاك نشد.");
const QString kRemovalOutcomeUnknown = QStringLiteral("معلوم نيست ديسك حذف شد يا نه.");
const QString kCatalogueBusy =
    QStringLiteral("عمليات ديگري روي فهرست در حال انجام است و ديسك حذف نشد. پس از پايان آن دوباره سعي كنيد.");

// Value label 4 + k shows field k of the disc's row.
constexpr int kFirstValueLabel = 4;
// The four detail rows from top to bottom: caption label, its text, the value label beside it, and the
// top of the row within the frame (twips). The rows do not follow the field order.
struct DetailRow {
    int captionIndex;
    const char16_t* caption;
    int valueIndex;
    int top;
};
constexpr DetailRow kDetailRows[] = {
    {8, u"بر چسب :", kFirstValueLabel + 0, 480},
    {1, u"حجم :", kFirstValueLabel + 2, 840},
    {2, u"تعداد فايلها :", kFirstValueLabel + 3, 1200},
    {3, u"سريال :", kFirstValueLabel + 1, 1560},
};
constexpr int kDetailFields = 4;
const QString kNoValue = QStringLiteral("0");

}  // namespace

frmDelete::frmDelete(AppContext& context, Recordset& windowRecordset, QWidget* parent)
    : QWidget(parent), context_(context), recordset_(windowRecordset) {
    setWindowTitle(QStringLiteral("حذف اطلاعات ديسك"));
    setFixedSize(Look::px(3780), Look::px(3450));
    Look::applyWindowLook(*this);
    setLayoutDirection(Qt::RightToLeft);

    addLabel(this, 0, QStringLiteral("نام ديسك :"), Look::twipsRect(2760, 240, 870, 210));

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setEditable(true);
    // Entries must stay one to one with the recordset's rows: typed text is never added as an entry.
    Combo1_->setInsertPolicy(QComboBox::NoInsert);
    Combo1_->setCompleter(nullptr);
    Combo1_->setGeometry(Look::twipsRect(120, 240, 2535, 330));
    connect(Combo1_, &QComboBox::activated, this, [this](int index) {
        listIndex_ = index;
        Combo1_Click();
    });
    connect(Combo1_->lineEdit(), &QLineEdit::textEdited, this, [this] {
        listIndex_ = -1;
        Combo1_Change();
    });
    actBrowseDisc_ = new QAction(QStringLiteral("مرور ديسك"), this);
    actBrowseDisc_->setObjectName(QStringLiteral("actBrowseDisc"));
    connect(actBrowseDisc_, &QAction::triggered, this, &frmDelete::browseChosenDisc);
    actUpdateDisc_ = new QAction(QStringLiteral("به روز كردن ديسك..."), this);
    actUpdateDisc_->setObjectName(QStringLiteral("actUpdateDisc"));
    connect(actUpdateDisc_, &QAction::triggered, this, &frmDelete::updateChosenDisc);
    // The typed text keeps its usual editing menu; browsing the chosen disc is added below it.
    Combo1_->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Combo1_->lineEdit(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QLineEdit* edit = Combo1_->lineEdit();
        std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        // A popup is a window of its own: it does not take the direction of the one it opens over.
        menu->setLayoutDirection(Qt::RightToLeft);
        actBrowseDisc_->setEnabled(listIndex_ >= 0);
        actUpdateDisc_->setEnabled(listIndex_ >= 0);
        menu->addSeparator();
        menu->addAction(actBrowseDisc_);
        menu->addAction(actUpdateDisc_);
        menu->exec(edit->mapToGlobal(at));
    });

    Frame1_ = new QGroupBox(QStringLiteral("جزئيات"), this);
    Frame1_->setObjectName(QStringLiteral("Frame1"));
    Frame1_->setGeometry(Look::twipsRect(120, 600, 3495, 2055));
    for (const DetailRow& row : kDetailRows) {
        addLabel(Frame1_, row.captionIndex, QString::fromUtf16(row.caption),
                 Look::twipsRect(2160, row.top, 1215, 255));
        addLabel(Frame1_, row.valueIndex, kNoValue, Look::twipsRect(120, row.top, 1980, 255));
    }

    cmdDelete_ = new MyButton(this);
    cmdDelete_->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete_->setCaption(QStringLiteral("حذف"));
    cmdDelete_->setGeometry(Look::twipsRect(240, 2880, 1575, 375));
    connect(cmdDelete_, &MyButton::Click, this, &frmDelete::cmdDelete_Click);

    cmdCancel_ = new MyButton(this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setCaption(QStringLiteral("بستن"));
    cmdCancel_->setGeometry(Look::twipsRect(1920, 2880, 1575, 375));
    connect(cmdCancel_, &MyButton::Click, this, &frmDelete::cmdCancel_Click);
}

QLabel* frmDelete::addLabel(QWidget* parent, int index, const QString& caption, const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    // Disc names are shown as stored, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    label->setFont(Look::labelFont());
    label->setGeometry(geometry);
    Label1_.at(size_t(index)) = label;
    return label;
}

void frmDelete::Form_Load() {
    LoadDiskList();
}

void frmDelete::clearDetails() {
    for (int k = 0; k < kDetailFields; ++k) Label1_[size_t(kFirstValueLabel + k)]->setText(kNoValue);
    shownIndex_ = -1;
}

void frmDelete::LoadDiskList() {
    listIndex_ = -1;
    clearDetails();
    Combo1_->clear();
    Combo1_->clearEditText();
    QStringList names;
    try {
        if (recordset_.State() != 0) recordset_.Close();
        recordset_.Open(Statements::allDisks(), context_.cnCatalog);
        const long count = recordset_.RecordCount();
        for (long i = 0; i < count; ++i) {
            names << recordset_.Fields(0).Value().toString();
            recordset_.MoveNext();
        }
    } catch (const CatalogError&) {
        // Entry k must be row k + 1: a list that could not be read whole stays empty.
        return;
    }
    Combo1_->addItems(names);
    // Filling an empty combo picks its first entry; the list starts with none chosen and no text.
    Combo1_->setCurrentIndex(-1);
}

void frmDelete::Combo1_Click() {
    Combo1_Change();
}

void frmDelete::Combo1_Change() {
    if (Combo1_->count() == 0) return;
    if (listIndex_ < 0) {
        clearDetails();
        return;
    }
    QStringList values;
    try {
        recordset_.setAbsolutePosition(listIndex_ + 1);
        for (int k = 0; k < kDetailFields; ++k) values << recordset_.Fields(k).Value().toString();
    } catch (const CatalogError&) {
        // Details of some other row must never stand beside this entry.
        clearDetails();
        return;
    }
    for (int k = 0; k < kDetailFields; ++k) Label1_[size_t(kFirstValueLabel + k)]->setText(values[k]);
    shownIndex_ = listIndex_;
}

void frmDelete::cmdDelete_Click() {
    if (listIndex_ < 0 || shownIndex_ != listIndex_) return;
    MessageService& messages = context_.platform.messages;
    if (!messages.askQuestion(this, kAreYouSure)) return;

    const QString diskName = Label1_[size_t(kFirstValueLabel)]->text();
    // A transaction still open on the shared connection belongs to other work, which must be neither
    // joined nor rolled back; one open on the scan's connection holds the catalogue until the scan ends.
    if (context_.cnCatalog.inTransaction() || context_.cnScan.inTransaction()) {
        messages.information(this, kCatalogueBusy);
        return;
    }
    QString failure;
    try {
        removeDisk(context_.cnCatalog, diskName);
    } catch (const CatalogError& error) {
        const bool unknown = error.cause() == CatalogFailureCause::OutcomeUnknown;
        failure = (unknown ? kRemovalOutcomeUnknown : kRemovalFailed) + QLatin1Char('\n') +
                  catalogueFailureDetail(error);
    }
    // Told only once the transaction is over, so that it never stays open while the box waits.
    if (!failure.isNull()) {
        messages.information(this, failure);
        return;
    }
    LoadDiskList();
}

void frmDelete::browseChosenDisc() {
    if (listIndex_ >= 0) emit browseRequested(Combo1_->itemText(listIndex_), QString());
}

void frmDelete::updateChosenDisc() {
    if (listIndex_ >= 0) emit updateRequested(Combo1_->itemText(listIndex_));
}

void frmDelete::discUpdated() {
    // The window recordset holds the disc's old row: it is read again, with whichever disc was chosen.
    const QString chosen = listIndex_ >= 0 ? Combo1_->itemText(listIndex_) : QString();
    LoadDiskList();
    if (chosen.isNull()) return;
    const int index = Combo1_->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) return;
    Combo1_->setCurrentIndex(index);
    listIndex_ = index;
    Combo1_Click();
}

void frmDelete::cmdCancel_Click() {
    close();
}

}  // namespace vt
