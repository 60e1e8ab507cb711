#include "search/frmFind.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTreeWidget>
#include <vector>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "catalog/Statements.h"
#include "platform/DriveTable.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "search/OpenFailedText.h"
#include "search/OpticalDriveSearch.h"
#include "search/PlainDecimal.h"
#include "window/AppContext.h"
#include "window/Look.h"

namespace vt {

namespace {

const QString kAllDisks = QStringLiteral("همه ديسكهاي موجود");
const QString kNoSearchText = QStringLiteral("كلمه اي براي جستجو وارد نشده");
const QString kOfferToOpen = QStringLiteral("آيا مايل به احظار فايل مورد نظر هستيد ؟");
const QString kNotOnAnyDrive = QStringLiteral("در هيچ يک از درايو هاي موجود ،فايل مورد نظر وجود ندارد");
const QString kSearchFailed = QStringLiteral("جستجو انجام نشد:");

// Runs one step of a sequence whose steps each may fail alone; true when the step succeeded.
template <class Step>
bool passOver(Step step) {
    try {
        step();
        return true;
    } catch (const CatalogError&) {
        return false;
    }
}

QLabel* label(QWidget* parent, int index, const QString& caption, QRect rect) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QStringLiteral("Label1_%1").arg(index));
    l->setFont(Look::labelFont());
    // Centred in height: the Arabic fonts' line box is taller than the label, their letters are not.
    l->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    l->setGeometry(rect);
    return l;
}

MyButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect rect) {
    auto* b = new MyButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setCaption(caption);
    b->setGeometry(rect);
    return b;
}

}  // namespace

frmFind::frmFind(AppContext& context, Recordset& windowRecordset, QWidget* parent)
    : QWidget(parent), context_(context), recordset_(windowRecordset) {
    setWindowTitle(QStringLiteral("پويشگر"));
    setFixedSize(Look::px(9615), Look::px(4020));
    Look::applyWindowLook(*this);
    // Captions sit at the right edge and Persian text runs right to left; positions stay as laid out.
    setLayoutDirection(Qt::RightToLeft);
    buildControls();
}

void frmFind::buildControls() {
    label(this, 0, QStringLiteral("مورد جستجو :"), Look::twipsRect(7800, 120, 1215, 255));
    label(this, 1, QStringLiteral("جستجو در ديسك :"), Look::twipsRect(7800, 600, 1440, 210));
    label(this, 2, QStringLiteral("موارد مطابق :"), Look::twipsRect(8280, 1080, 1215, 255));

    Text1_ = new QLineEdit(this);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setGeometry(Look::twipsRect(1920, 120, 5775, 375));

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setEditable(false);
    Combo1_->setGeometry(Look::twipsRect(1920, 600, 5775, 330));

    cmdDelete_ = makeButton(this, "cmdDelete", QStringLiteral("جستجو"), Look::twipsRect(120, 120, 1575, 375));
    cmdCancel_ = makeButton(this, "cmdCancel", QStringLiteral("بستن"), Look::twipsRect(120, 600, 1575, 375));
    connect(cmdDelete_, &MyButton::Click, this, &frmFind::cmdDelete_Click);
    connect(cmdCancel_, &MyButton::Click, this, &frmFind::cmdCancel_Click);

    ListView1_ = new QTreeWidget(this);
    ListView1_->setObjectName(QStringLiteral("ListView1"));
    // Recorded paths read left to right, whatever the window's direction.
    ListView1_->setLayoutDirection(Qt::LeftToRight);
    ListView1_->setGeometry(Look::twipsRect(120, 1320, 9375, 2535));
    ListView1_->setColumnCount(3);
    ListView1_->setHeaderLabels(
        {QStringLiteral("Address"), QStringLiteral("DiskName"), QStringLiteral("Size")});
    ListView1_->setRootIsDecorated(false);
    ListView1_->setUniformRowHeights(true);
    ListView1_->setItemsExpandable(false);
    ListView1_->setAllColumnsShowFocus(true);
    ListView1_->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The Size column takes the room the others leave, so that sizes of ten digits and more stay whole.
    ListView1_->header()->setStretchLastSection(true);
    ListView1_->header()->setMinimumSectionSize(Look::px(300));
    ListView1_->header()->resizeSection(0, Look::px(5840));
    ListView1_->header()->resizeSection(1, Look::px(1440));
    ListView1_->header()->resizeSection(2, Look::px(1000));
    // A double-click anywhere on the list acts on the selected row, as the list's DblClick event did.
    ListView1_->viewport()->installEventFilter(this);
}

bool frmFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        ListView1_DblClick();
    }
    return QWidget::eventFilter(watched, event);
}

void frmFind::Form_Load() {
    passOver([&] {
        if (recordset_.State() != 0) recordset_.Close();
    });
    passOver([&] { recordset_.Open(Statements::allDisks(), context_.cnCatalog); });
    // Without a readable count there is no disc to offer, so the all-discs entry is left out too.
    long count = 0;
    if (!passOver([&] { count = recordset_.RecordCount(); }) || count < 1) return;

    Combo1_->clear();
    Combo1_->addItem(kAllDisks);
    Combo1_->setCurrentIndex(0);
    for (long i = 0; i < count; ++i) {
        passOver([&] { Combo1_->addItem(recordset_.Fields(0).Value().toString()); });
        passOver([&] { recordset_.MoveNext(); });
    }
}

void frmFind::cmdDelete_Click() {
    ListView1_->clear();
    const QString text = Text1_->text();
    if (text.isEmpty()) {
        context_.platform.messages.information(this, kNoSearchText);
        return;
    }
    try {
        if (recordset_.State() != 0) recordset_.Close();
        const bool allDisks = Combo1_->currentIndex() == 0;
        recordset_.Open(Statements::search(allDisks, Combo1_->currentText(), text), context_.cnCatalog);
        listResults();
    } catch (const CatalogError& e) {
        ListView1_->clear();
        context_.platform.messages.information(this, kSearchFailed + QLatin1Char('\n') + e.message());
    }
}

// Reads every row first and lists them together, so a failure part-way never leaves a partial list
// that looks complete.
void frmFind::listResults() {
    const long count = recordset_.RecordCount();
    if (count <= 0) return;
    std::vector<QStringList> rows;
    rows.reserve(size_t(count));
    recordset_.MoveFirst();
    for (long i = 0; i < count; ++i) {
        rows.push_back({recordset_.Fields(2).Value().toString(), recordset_.Fields(0).Value().toString(),
                        plainDecimal(recordset_.Fields(3).Value())});
        recordset_.MoveNext();
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.size()));
    for (const QStringList& row : rows) items.append(new QTreeWidgetItem(row));
    ListView1_->addTopLevelItems(items);
}

void frmFind::cmdCancel_Click() {
    // Inside the main frame the window is the content of a sub-window, which is what closes.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->close();
    } else {
        close();
    }
}

void frmFind::ListView1_DblClick() {
    if (ListView1_->topLevelItemCount() == 0) return;
    const QList<QTreeWidgetItem*> selected = ListView1_->selectedItems();
    if (selected.isEmpty()) return;
    // Stored paths begin with the root of the drive the disc was scanned from; the rest is the path
    // within the disc, which any drive holding the disc now can serve.
    const QString withinDisc = selected.front()->text(0).mid(3);

    const Platform& platform = context_.platform;
    const QString root = firstOpticalDriveHolding(platform.drives, platform.fileSystem, withinDisc);
    if (root.isEmpty()) {
        platform.messages.information(this, kNotOnAnyDrive);
        return;
    }
    if (!platform.messages.askYesNo(this, kOfferToOpen)) return;
    // The launcher reports later; by then the window may have been closed, and then nobody is told.
    const QPointer<frmFind> window(this);
    platform.shell.openWithDefaultApplication(this, platform.drives.nativePath(root + withinDisc),
                                              platform.drives.mountPoint(root), [window](OpenOutcome outcome) {
                                                  if (!window || outcome == OpenOutcome::Opened) return;
                                                  window->context_.platform.messages.information(
                                                      window, openFailedText(outcome));
                                              });
}

}  // namespace vt
