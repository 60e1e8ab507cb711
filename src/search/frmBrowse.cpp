#include "search/frmBrowse.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>

#include "catalog/CatalogError.h"
#include "catalog/Recordset.h"
#include "catalog/Statements.h"
#include "platform/MessageService.h"
#include "platform/Shell.h"
#include "search/FolderFilesModel.h"
#include "search/FolderTreeModel.h"
#include "search/ListExport.h"
#include "search/PersianDate.h"
#include "window/AppContext.h"
#include "window/CatalogueFailureTexts.h"
#include "window/FoundFileOpening.h"
#include "window/Look.h"

namespace vt {

namespace {

const QString kCaption = QStringLiteral("مرورگر ديسك");
const QString kReadFailed = QStringLiteral("خواندن اطلاعات ديسك از فهرست انجام نشد:");
const QString kSaveFailed = QStringLiteral("ذخيره فايل انجام نشد:");
const QString kFileCount = QStringLiteral("%1 فايل");
const QString kFilteredCount = QStringLiteral("%1 فايل از %2");

QLabel* captionLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(Look::labelFont());
    return label;
}

QLabel* valueLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // Disc names and labels are shown as stored, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// A catalogued moment shown as a Persian date in local time, its Gregorian UTC date in the tooltip.
void showMoment(QLabel* label, const std::optional<qint64>& seconds) {
    const QDateTime moment = seconds ? QDateTime::fromSecsSinceEpoch(*seconds) : QDateTime();
    label->setText(seconds ? solarHijriText(moment) : QString());
    label->setToolTip(seconds ? gregorianUtcText(moment) : QString());
}

// A file name made from a disc or folder name: what a file system would refuse becomes "_".
QString suggestedFileName(QString name) {
    for (QChar& c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 32) {
            c = QLatin1Char('_');
        }
    }
    return (name.isEmpty() ? QStringLiteral("disc") : name) + QStringLiteral(".csv");
}

}  // namespace

frmBrowse::frmBrowse(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), chooseSaveFile_(csvSaveFileWindow()) {
    setWindowTitle(kCaption);
    Look::applyWindowLook(*this);
    setLayoutDirection(Qt::RightToLeft);
    buildControls();
}

frmBrowse::~frmBrowse() = default;

void frmBrowse::buildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* discRow = new QHBoxLayout;
    discRow->addWidget(captionLabel(this, QStringLiteral("ديسك :")));
    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->setMinimumWidth(260);
    discRow->addWidget(Combo1_);
    discRow->addStretch(1);
    layout->addLayout(discRow);
    connect(Combo1_, &QComboBox::activated, this, &frmBrowse::Combo1_Click);

    auto* facts = new QGroupBox(QStringLiteral("مشخصات ديسك"), this);
    facts->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(facts);
    const auto addFact = [&](int row, int column, const QString& caption, QLabel*& value, const char* name) {
        value = valueLabel(facts, name);
        grid->addWidget(captionLabel(facts, caption), row, column * 2);
        grid->addWidget(value, row, column * 2 + 1);
    };
    addFact(0, 0, QStringLiteral("نام ديسك :"), lblName_, "lblName");
    addFact(1, 0, QStringLiteral("بر چسب :"), lblLabel_, "lblLabel");
    addFact(2, 0, QStringLiteral("سيستم فايل :"), lblFileSystem_, "lblFileSystem");
    addFact(0, 1, QStringLiteral("سريال :"), lblSerial_, "lblSerial");
    addFact(1, 1, QStringLiteral("حجم :"), lblSize_, "lblSize");
    addFact(2, 1, QStringLiteral("تعداد فايلها :"), lblFiles_, "lblFiles");
    addFact(0, 2, QStringLiteral("تاريخ ثبت :"), lblCatalogued_, "lblCatalogued");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);
    layout->addWidget(facts);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    treeModel_ = new FolderTreeModel([this](const QString& folder) { return subfoldersOf(folder); }, this);
    Tree1_ = new QTreeView(splitter);
    Tree1_->setObjectName(QStringLiteral("Tree1"));
    Tree1_->setModel(treeModel_);
    Tree1_->setHeaderHidden(true);
    Tree1_->setUniformRowHeights(true);
    Tree1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tree1_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Tree1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) showFolder(treeModel_->folderPath(current));
            });

    auto* filesPane = new QWidget(splitter);
    auto* filesLayout = new QVBoxLayout(filesPane);
    filesLayout->setContentsMargins(0, 0, 0, 0);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(captionLabel(filesPane, QStringLiteral("فيلتر :")));
    Text1_ = new QLineEdit(filesPane);
    Text1_->setObjectName(QStringLiteral("Text1"));
    Text1_->setClearButtonEnabled(true);
    filterRow->addWidget(Text1_, 1);
    lblCount_ = new QLabel(filesPane);
    lblCount_->setObjectName(QStringLiteral("lblCount"));
    filterRow->addWidget(lblCount_);
    filesLayout->addLayout(filterRow);

    filesModel_ = new FolderFilesModel(this);
    List1_ = new QTreeView(filesPane);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setModel(filesModel_);
    List1_->setRootIsDecorated(false);
    // Every row the same height: a folder of tens of thousands of files scrolls without measuring each.
    List1_->setUniformRowHeights(true);
    List1_->setAllColumnsShowFocus(true);
    List1_->setSelectionMode(QAbstractItemView::SingleSelection);
    List1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1_->setContextMenuPolicy(Qt::CustomContextMenu);
    List1_->header()->setSortIndicator(FolderFilesModel::Name, Qt::AscendingOrder);
    List1_->setSortingEnabled(true);
    List1_->header()->resizeSection(FolderFilesModel::Name, 200);
    List1_->header()->resizeSection(FolderFilesModel::Bytes, 90);
    List1_->header()->resizeSection(FolderFilesModel::Size, 70);
    List1_->header()->resizeSection(FolderFilesModel::Modified, 115);
    filesLayout->addWidget(List1_, 1);
    connect(Text1_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filesModel_->setFilterText(text);
        showCount();
    });
    connect(List1_, &QAbstractItemView::doubleClicked, this, [this] { openSelectedFile(); });

    splitter->addWidget(Tree1_);
    splitter->addWidget(filesPane);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    layout->addWidget(splitter, 1);

    actOpen_ = new QAction(QStringLiteral("باز كردن"), this);
    actOpen_->setObjectName(QStringLiteral("actOpen"));
    actCopyPath_ = new QAction(QStringLiteral("كپي مسير"), this);
    actCopyPath_->setObjectName(QStringLiteral("actCopyPath"));
    actSaveFolder_ = new QAction(QStringLiteral("ذخيره..."), this);
    actSaveFolder_->setObjectName(QStringLiteral("actSaveFolder"));
    actSaveTree_ = new QAction(QStringLiteral("ذخيره..."), this);
    actSaveTree_->setObjectName(QStringLiteral("actSaveTree"));
    connect(actOpen_, &QAction::triggered, this, &frmBrowse::openSelectedFile);
    connect(actCopyPath_, &QAction::triggered, this, &frmBrowse::copySelectedPath);
    connect(actSaveFolder_, &QAction::triggered, this, &frmBrowse::saveShownFolder);
    connect(actSaveTree_, &QAction::triggered, this, &frmBrowse::saveTreeFolder);

    connect(List1_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = List1_->indexAt(at);
        if (index.isValid()) List1_->setCurrentIndex(index);
        const bool onFile = selectedFile() != nullptr;
        actOpen_->setEnabled(onFile);
        actCopyPath_->setEnabled(onFile);
        actSaveFolder_->setEnabled(!shownFolder_.isEmpty());
        QMenu menu(this);
        // A popup is a window of its own: it does not take the direction of the one it opens over.
        menu.setLayoutDirection(Qt::RightToLeft);
        menu.addAction(actOpen_);
        menu.addAction(actCopyPath_);
        menu.addSeparator();
        menu.addAction(actSaveFolder_);
        menu.exec(List1_->viewport()->mapToGlobal(at));
    });
    connect(Tree1_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = Tree1_->indexAt(at);
        if (!index.isValid()) return;
        Tree1_->setCurrentIndex(index);
        QMenu menu(this);
        menu.setLayoutDirection(Qt::RightToLeft);
        menu.addAction(actSaveTree_);
        menu.exec(Tree1_->viewport()->mapToGlobal(at));
    });
}

void frmBrowse::Form_Load() {
    Combo1_->clear();
    QStringList names;
    try {
        Recordset discs;
        discs.Open(Statements::allDisks(), context_.cnCatalog);
        const long count = discs.RecordCount();
        for (long i = 0; i < count; ++i) {
            names << discs.Fields(0).Value().toString();
            discs.MoveNext();
        }
    } catch (const CatalogError& e) {
        reportCatalogueFailure(e);
    }
    Combo1_->addItems(names);
    Combo1_->setCurrentIndex(-1);
}

void frmBrowse::Combo1_Click(int index) {
    if (index < 0 || index >= Combo1_->count()) return;
    disc_.reset();
    shownFolder_.clear();
    listingRead_ = false;
    filesModel_->setFiles({});
    treeModel_->clear();
    QString root;
    try {
        disc_ = std::make_unique<DiscTree>(context_.cnCatalog, Combo1_->itemText(index));
        showFacts(disc_->facts().value_or(DiscFacts{Combo1_->itemText(index), {}, {}, {}, {}, {}, {}}));
        root = disc_->root();
    } catch (const CatalogError& e) {
        reportCatalogueFailure(e);
    }
    treeModel_->setRoot(Combo1_->itemText(index), root);
    const QModelIndex top = treeModel_->index(0, 0);
    if (top.isValid()) {
        Tree1_->expand(top);
        Tree1_->setCurrentIndex(top);
    }
    showCount();
}

void frmBrowse::browseDisc(const QString& disc) {
    int index = Combo1_->findText(disc, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        // Catalogued since the list was filled.
        Form_Load();
        index = Combo1_->findText(disc, Qt::MatchExactly | Qt::MatchCaseSensitive);
    }
    if (index < 0) return;
    Combo1_->setCurrentIndex(index);
    Combo1_Click(index);
}

void frmBrowse::discUpdated(const QString& disc) {
    if (disc_ && disc_->diskName() == disc) browseDisc(disc);
}

void frmBrowse::showFile(const QString& disc, const QString& recordedPath) {
    browseDisc(disc);
    if (!disc_ || disc_->diskName() != disc) return;
    const QModelIndex folder = treeModel_->locate(DiscTree::folderOf(recordedPath));
    if (!folder.isValid()) return;
    Text1_->clear();
    Tree1_->setCurrentIndex(folder);
    Tree1_->scrollTo(folder);
    const int row = filesModel_->rowOf(recordedPath);
    if (row < 0) return;
    const QModelIndex file = filesModel_->index(row, 0);
    List1_->setCurrentIndex(file);
    List1_->scrollTo(file);
}

void frmBrowse::showFacts(const DiscFacts& facts) {
    lblName_->setText(facts.name);
    lblLabel_->setText(facts.label);
    lblFileSystem_->setText(facts.fileSystem);
    lblSerial_->setText(facts.serial);
    lblSize_->setText(facts.size);
    lblFiles_->setText(facts.fileCount);
    showMoment(lblCatalogued_, facts.cataloguedAt);
}

DiscFolder& frmBrowse::listing(const QString& folderPath) {
    if (!listingRead_ || listingPath_ != folderPath) {
        listingRead_ = false;
        listing_ = disc_->list(folderPath);
        listingPath_ = folderPath;
        listingRead_ = true;
        listingFilesTaken_ = false;
    }
    return listing_;
}

void frmBrowse::showFolder(const QString& folderPath) {
    if (folderPath == shownFolder_ || !disc_) return;
    shownFolder_ = folderPath;
    std::vector<DiscFile> listed;
    try {
        // The files go to the list rather than being copied, as a folder may hold tens of thousands; a
        // listing whose files went to the list before is read again.
        if (listingFilesTaken_ && listingPath_ == folderPath) listingRead_ = false;
        listed = std::move(listing(folderPath).files);
        listing_.files.clear();
        listingFilesTaken_ = true;
    } catch (const CatalogError& e) {
        reportCatalogueFailure(e);
    }
    filesModel_->setFiles(std::move(listed));
    showCount();
}

void frmBrowse::showCount() {
    const int shown = filesModel_->rowCount();
    const int all = int(filesModel_->allFiles().size());
    lblCount_->setText(shown == all ? kFileCount.arg(all) : kFilteredCount.arg(shown).arg(all));
}

std::vector<QString> frmBrowse::subfoldersOf(const QString& folderPath) {
    // Asked by the tree while the view works; a failure is told and the folder shows no subfolders.
    if (!disc_) return {};
    try {
        return listing(folderPath).folders;
    } catch (const CatalogError& e) {
        reportCatalogueFailure(e);
        return {};
    }
}

const DiscFile* frmBrowse::selectedFile() const {
    const QModelIndex current = List1_->currentIndex();
    if (!current.isValid() || !List1_->selectionModel()->isRowSelected(current.row(), {})) return nullptr;
    return &filesModel_->file(current.row());
}

void frmBrowse::openSelectedFile() {
    if (const DiscFile* file = selectedFile()) openFoundFile(context_.platform, this, file->path);
}

void frmBrowse::copySelectedPath() {
    if (const DiscFile* file = selectedFile()) context_.platform.shell.setClipboardText(file->path);
}

void frmBrowse::saveShownFolder() {
    if (disc_ && !shownFolder_.isEmpty()) saveFolder(shownFolder_, false);
}

void frmBrowse::saveTreeFolder() {
    const QModelIndex current = Tree1_->currentIndex();
    if (disc_ && current.isValid()) saveFolder(treeModel_->folderPath(current), true);
}

void frmBrowse::saveFolder(const QString& folderPath, bool withSubfolders) {
    const QModelIndex folder = treeModel_->locate(folderPath);
    const QString name = folder.isValid() ? folder.data().toString() : disc_->diskName();
    const QString target = chooseSaveFile_(this, suggestedFileName(name));
    if (target.isEmpty()) return;
    QString failure;
    try {
        failure = ListExport::saveFiles(target, [&](const std::function<void(const DiscFile&)>& write) {
            if (withSubfolders) {
                disc_->forEachFile(folderPath, write);
            } else {
                for (const DiscFile& file : filesModel_->allFiles()) write(file);
            }
        });
    } catch (const CatalogError& e) {
        failure = catalogueFailureDetail(e);
    }
    if (!failure.isEmpty())
        context_.platform.messages.information(this, kSaveFailed + QLatin1Char('\n') + failure);
}

void frmBrowse::reportCatalogueFailure(const CatalogError& error) {
    context_.platform.messages.information(this,
                                           kReadFailed + QLatin1Char('\n') + catalogueFailureDetail(error));
}

}  // namespace vt
