#include "search/frmFind.h"

#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTreeWidget>
#include <algorithm>
#include <vector>

#include "button/MyButton.h"
#include "catalog/CatalogError.h"
#include "catalog/Statements.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "search/ListExport.h"
#include "search/PlainDecimal.h"
#include "window/AppContext.h"
#include "window/CatalogueFailureTexts.h"
#include "window/FoundFileOpening.h"
#include "window/Look.h"

namespace vt {

namespace {

const QString kAllDisks = QStringLiteral("همه ديسكهاي موجود");
const QString kNoSearchText = QStringLiteral("كلمه اي براي جستجو وارد نشده");
const QString kSearchFailed = QStringLiteral("جستجو انجام نشد:");
const QString kSaveFailed = QStringLiteral("ذخيره فايل انجام نشد:");

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
    : QWidget(parent), context_(context), recordset_(windowRecordset), chooseSaveFile_(csvSaveFileWindow()) {
    setWindowTitle(QStringLiteral("پويشگر"));
    setFixedSize(Look::px(9615), Look::px(4020));
    Look::applyWindowLook(*this);
    // Captions sit at the right edge and Persian text runs right to left; positions stay as laid out.
    setLayoutDirection(Qt::RightToLeft);
    buildControls();
    buildMenus();
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
    runSearch({text, Combo1_->currentIndex() == 0, Combo1_->currentText()});
}

void frmFind::runSearch(const Search& wanted) {
    ListView1_->clear();
    lastSearch_ = wanted;
    try {
        if (recordset_.State() != 0) recordset_.Close();
        recordset_.Open(Statements::search(wanted.allDisks, wanted.disc, wanted.text), context_.cnCatalog);
        listResults();
    } catch (const CatalogError& e) {
        ListView1_->clear();
        context_.platform.messages.information(this,
                                               kSearchFailed + QLatin1Char('\n') + catalogueFailureDetail(e));
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
    if (QTreeWidgetItem* row = selectedRow()) openFoundFile(context_.platform, this, row->text(0));
}

QTreeWidgetItem* frmFind::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = ListView1_->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

void frmFind::buildMenus() {
    const auto action = [this](const char* name, const QString& text, void (frmFind::*slot)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    actOpen_ = action("actOpen", QStringLiteral("باز كردن"), &frmFind::ListView1_DblClick);
    actShowInBrowser_ =
        action("actShowInBrowser", QStringLiteral("نمايش در مرورگر ديسك"), &frmFind::showInBrowser);
    actCopyPath_ = action("actCopyPath", QStringLiteral("كپي مسير"), &frmFind::copyPath);
    actSaveResults_ = action("actSaveResults", QStringLiteral("ذخيره نتايج..."), &frmFind::saveResults);
    actBrowseDisc_ = action("actBrowseDisc", QStringLiteral("مرور ديسك"), &frmFind::browseChosenDisc);
    actUpdateDisc_ =
        action("actUpdateDisc", QStringLiteral("به روز كردن ديسك..."), &frmFind::updateChosenDisc);

    ListView1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QTreeWidgetItem* row = ListView1_->itemAt(at)) ListView1_->setCurrentItem(row);
        const bool onRow = selectedRow() != nullptr;
        actOpen_->setEnabled(onRow);
        actShowInBrowser_->setEnabled(onRow);
        actCopyPath_->setEnabled(onRow);
        actSaveResults_->setEnabled(ListView1_->topLevelItemCount() > 0);
        QMenu menu(this);
        // A popup is a window of its own: it does not take the direction of the one it opens over.
        menu.setLayoutDirection(Qt::RightToLeft);
        menu.addAction(actOpen_);
        menu.addAction(actShowInBrowser_);
        menu.addAction(actCopyPath_);
        menu.addSeparator();
        menu.addAction(actSaveResults_);
        menu.exec(ListView1_->viewport()->mapToGlobal(at));
    });
    Combo1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Combo1_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        // Entry 0 stands for every disc, which is no one disc to browse.
        actBrowseDisc_->setEnabled(Combo1_->currentIndex() > 0);
        actUpdateDisc_->setEnabled(Combo1_->currentIndex() > 0);
        QMenu menu(this);
        menu.setLayoutDirection(Qt::RightToLeft);
        menu.addAction(actBrowseDisc_);
        menu.addAction(actUpdateDisc_);
        menu.exec(Combo1_->mapToGlobal(at));
    });
}

void frmFind::showInBrowser() {
    if (QTreeWidgetItem* row = selectedRow()) emit browseRequested(row->text(1), row->text(0));
}

void frmFind::copyPath() {
    if (QTreeWidgetItem* row = selectedRow()) context_.platform.shell.setClipboardText(row->text(0));
}

void frmFind::saveResults() {
    const int count = ListView1_->topLevelItemCount();
    if (count == 0) return;
    const QString target = chooseSaveFile_(this, QStringLiteral("results.csv"));
    if (target.isEmpty()) return;
    std::vector<QStringList> rows;
    rows.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* item = ListView1_->topLevelItem(i);
        rows.push_back({item->text(0), item->text(1), item->text(2)});
    }
    const QString failure = ListExport::saveRows(
        target, {QStringLiteral("Address"), QStringLiteral("DiskName"), QStringLiteral("Size")}, rows);
    if (!failure.isEmpty())
        context_.platform.messages.information(this, kSaveFailed + QLatin1Char('\n') + failure);
}

void frmFind::browseChosenDisc() {
    if (Combo1_->currentIndex() > 0) emit browseRequested(Combo1_->currentText(), QString());
}

void frmFind::updateChosenDisc() {
    if (Combo1_->currentIndex() > 0) emit updateRequested(Combo1_->currentText());
}

void frmFind::discUpdated(const QString& disc) {
    const QString chosen = Combo1_->currentText();
    Form_Load();
    Combo1_->setCurrentIndex(
        std::max(0, Combo1_->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive)));
    bool listsDisc = false;
    for (int i = 0; i < ListView1_->topLevelItemCount() && !listsDisc; ++i)
        listsDisc = ListView1_->topLevelItem(i)->text(1).compare(disc, Qt::CaseInsensitive) == 0;
    if (listsDisc) runSearch(lastSearch_);
}

}  // namespace vt
