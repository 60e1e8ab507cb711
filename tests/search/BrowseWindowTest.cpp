#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTreeView>

#include "FindWindowFixture.h"
#include "app/WindowRegistry.h"
#include "remove/frmDelete.h"
#include "search/FolderFilesModel.h"
#include "search/FolderTreeModel.h"
#include "search/frmBrowse.h"

namespace vt::test {
namespace {

const QString kNotOnAnyDrive = QStringLiteral("در هيچ يک از درايو هاي موجود ،فايل مورد نظر وجود ندارد");
const QString kSaveFailed = QStringLiteral("ذخيره فايل انجام نشد:");

class Browse : public FindWindowFixture {
  protected:
    // The tree's subfolder names under `parent`, loading them as the view would on expanding it.
    static QStringList childNames(FolderTreeModel& tree, const QModelIndex& parent) {
        if (tree.canFetchMore(parent)) tree.fetchMore(parent);
        QStringList names;
        for (int row = 0; row < tree.rowCount(parent); ++row)
            names << tree.index(row, 0, parent).data().toString();
        return names;
    }
    static QStringList listedNames(const frmBrowse& browser) {
        QStringList names;
        for (int row = 0; row < browser.files().rowCount(); ++row) names << browser.files().file(row).name;
        return names;
    }
    template <class T>
    static T& child(QObject& window, const char* name) {
        T* found = window.findChild<T*>(QLatin1String(name));
        if (!found) throw std::runtime_error(name);
        return *found;
    }
    // What the window saves goes here; every save asks once.
    QString saveTo(QWidget& saving, const QString& name) {
        const QString path = fake.folder.filePath(name);
        const auto chooser = [path](QWidget*, const QString&) { return path; };
        if (auto* browser = qobject_cast<frmBrowse*>(&saving)) browser->setSaveFileChooser(chooser);
        if (auto* find = qobject_cast<frmFind*>(&saving)) find->setSaveFileChooser(chooser);
        return path;
    }
    // The file's text, which must begin with the byte-order mark that tells spreadsheets it is UTF-8.
    static QString readCsv(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return QString();
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << path.toStdString();
        return QString::fromUtf8(bytes);
    }
};

TEST_F(Browse, TreeOfPersianSpacedAndQuotedNamesIsReadALevelAtATime) {
    addDisk(QStringLiteral("آرشيو"));
    addDisk(QStringLiteral("Other"));
    const QString quoted = QStringLiteral("it's \"live\"");
    addFile(QStringLiteral("آرشيو"), QStringLiteral("E:\\root file.txt"));
    addFile(QStringLiteral("آرشيو"), QStringLiteral("E:\\موسيقي من\\آهنگ اول.mp3"));
    addFile(QStringLiteral("آرشيو"),
            QStringLiteral("E:\\موسيقي من\\") + quoted + QStringLiteral("\\a b.mp3"));
    // A file and a folder of the same name, in different places.
    addFile(QStringLiteral("آرشيو"), QStringLiteral("E:\\docs\\notes"));
    addFile(QStringLiteral("آرشيو"), QStringLiteral("E:\\notes\\x.txt"));
    addFile(QStringLiteral("Other"), QStringLiteral("F:\\موسيقي من\\not this disc.mp3"));

    frmBrowse browser(context);
    browser.Form_Load();
    browser.browseDisc(QStringLiteral("آرشيو"));
    FolderTreeModel& tree = browser.folders();
    const QModelIndex root = tree.index(0, 0);
    EXPECT_EQ(root.data().toString(), QStringLiteral("آرشيو"));
    EXPECT_EQ(browser.shownFolder(), QStringLiteral("E:\\"));
    EXPECT_EQ(listedNames(browser), QStringList({QStringLiteral("root file.txt")}));
    EXPECT_EQ(child<QLabel>(browser, "lblName").text(), QStringLiteral("آرشيو"));

    EXPECT_EQ(childNames(tree, root), QStringList({"docs", "notes", QStringLiteral("موسيقي من")}));
    const QModelIndex music = tree.index(2, 0, root);
    EXPECT_TRUE(tree.canFetchMore(music));  // not read until opened
    EXPECT_EQ(childNames(tree, music), QStringList({quoted}));
    EXPECT_FALSE(tree.hasChildren(tree.index(0, 0, music)) &&
                 childNames(tree, tree.index(0, 0, music)).size());

    browser.showFile(QStringLiteral("آرشيو"),
                     QStringLiteral("E:\\موسيقي من\\") + quoted + QStringLiteral("\\a b.mp3"));
    EXPECT_EQ(browser.shownFolder(), QStringLiteral("E:\\موسيقي من\\") + quoted + QLatin1Char('\\'));
    EXPECT_EQ(listedNames(browser), QStringList({QStringLiteral("a b.mp3")}));
    auto& list = child<QTreeView>(browser, "List1");
    ASSERT_TRUE(list.currentIndex().isValid());
    EXPECT_EQ(browser.files().file(list.currentIndex().row()).name, QStringLiteral("a b.mp3"));

    browser.showFile(QStringLiteral("آرشيو"), QStringLiteral("E:\\docs\\notes"));
    EXPECT_EQ(browser.shownFolder(), QStringLiteral("E:\\docs\\"));
    EXPECT_EQ(listedNames(browser), QStringList({"notes"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(Browse, FilesMenuOpensCopiesAndSavesTheFolderAndTheTreeMenuSavesEverythingUnder) {
    addDisk(QStringLiteral("CD"));
    addFile(QStringLiteral("CD"), QStringLiteral("E:\\a\\one.txt"), 5.0);
    addFile(QStringLiteral("CD"), QStringLiteral("E:\\a\\two.txt"), 7.0);
    addFile(QStringLiteral("CD"), QStringLiteral("E:\\a\\b\\deep.txt"), 9.0);
    frmBrowse browser(context);
    browser.Form_Load();
    browser.showFile(QStringLiteral("CD"), QStringLiteral("E:\\a\\two.txt"));
    ASSERT_EQ(browser.shownFolder(), QStringLiteral("E:\\a\\"));

    child<QAction>(browser, "actCopyPath").trigger();
    EXPECT_EQ(fake.shell.clipboard, QStringLiteral("E:\\a\\two.txt"));
    // Opening goes the way of a search result: no optical drive holds it here.
    child<QAction>(browser, "actOpen").trigger();
    EXPECT_EQ(fake.messages.texts(), QStringList({kNotOnAnyDrive}));
    fake.messages.clear();

    const QString folderFile = saveTo(browser, QStringLiteral("folder.csv"));
    child<QAction>(browser, "actSaveFolder").trigger();
    const QString folderText = readCsv(folderFile);
    EXPECT_TRUE(folderText.contains(QStringLiteral("E:\\a\\one.txt")));
    EXPECT_TRUE(folderText.contains(QStringLiteral("E:\\a\\two.txt")));
    EXPECT_FALSE(folderText.contains(QStringLiteral("deep.txt")));

    // The tree's save takes the folder under the pointer with everything below it; at the root, the disc.
    const QString discFile = saveTo(browser, QStringLiteral("disc.csv"));
    child<QTreeView>(browser, "Tree1").setCurrentIndex(browser.folders().index(0, 0));
    child<QAction>(browser, "actSaveTree").trigger();
    const QString discText = readCsv(discFile);
    for (const char* name : {"one.txt", "two.txt", "deep.txt"})
        EXPECT_TRUE(discText.contains(QLatin1String(name)));
    EXPECT_TRUE(fake.messages.shown.empty());

    // A file that cannot be written is told, not passed over.
    browser.setSaveFileChooser(
        [](QWidget*, const QString&) { return QStringLiteral("/nonexistent/folder/x.csv"); });
    child<QAction>(browser, "actSaveFolder").trigger();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(kSaveFailed));
}

TEST_F(Browse, SearchAndRemovalMenusReachTheBrowser) {
    addDisk(QStringLiteral("CD1"));
    addDisk(QStringLiteral("CD2"));
    addFile(QStringLiteral("CD1"), QStringLiteral("D:\\music\\song.mp3"), 3.0);
    addFile(QStringLiteral("CD2"), QStringLiteral("G:\\music\\song, \"live\".mp3"), 4.0);
    addFile(QStringLiteral("CD2"), QStringLiteral("G:\\top.txt"), 4.0);
    QMdiArea area;
    area.setLayoutDirection(Qt::RightToLeft);
    area.resize(649, 420);  // the frame's first size
    area.show();
    WindowRegistry registry(context, area);
    frmFind& find = registry.showFind();
    find.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("song"));
    find.cmdDelete_Click();
    auto* results = find.findChild<QTreeWidget*>(QStringLiteral("ListView1"));
    ASSERT_EQ(results->topLevelItemCount(), 2);
    results->setCurrentItem(results->topLevelItem(1));

    child<QAction>(find, "actCopyPath").trigger();
    EXPECT_EQ(fake.shell.clipboard, QStringLiteral("G:\\music\\song, \"live\".mp3"));
    child<QAction>(find, "actOpen").trigger();
    EXPECT_EQ(fake.messages.texts(), QStringList({kNotOnAnyDrive}));
    fake.messages.clear();

    const QString saved = saveTo(find, QStringLiteral("results.csv"));
    child<QAction>(find, "actSaveResults").trigger();
    const QString text = readCsv(saved);
    EXPECT_TRUE(text.contains(QStringLiteral("D:\\music\\song.mp3")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"G:\\music\\song, \"\"live\"\".mp3\"")));

    child<QAction>(find, "actShowInBrowser").trigger();
    frmBrowse* browser = registry.browseWindow();
    ASSERT_NE(browser, nullptr);
    // Within the frame: a wider window would show only its end, the left side of a right-to-left window.
    EXPECT_TRUE(area.viewport()->rect().contains(browser->parentWidget()->geometry()))
        << browser->parentWidget()->width() << " wide in " << area.viewport()->width();
    EXPECT_EQ(child<QLabel>(*browser, "lblName").text(), QStringLiteral("CD2"));
    EXPECT_EQ(browser->shownFolder(), QStringLiteral("G:\\music\\"));
    const QModelIndex current = child<QTreeView>(*browser, "List1").currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(browser->files().file(current.row()).path, QStringLiteral("G:\\music\\song, \"live\".mp3"));

    auto& discs = child<QComboBox>(find, "Combo1");
    discs.setCurrentIndex(1);
    child<QAction>(find, "actBrowseDisc").trigger();
    EXPECT_EQ(child<QLabel>(*browser, "lblName").text(), QStringLiteral("CD1"));
    EXPECT_EQ(browser->shownFolder(), QStringLiteral("D:\\"));

    // A disc catalogued after the browser opened is browsed all the same.
    addDisk(QStringLiteral("CD3"));
    addFile(QStringLiteral("CD3"), QStringLiteral("H:\\new.txt"), 1.0);
    emit find.browseRequested(QStringLiteral("CD3"), QString());
    EXPECT_EQ(listedNames(*browser), QStringList({"new.txt"}));

    frmDelete& removal = registry.showDelete();
    auto& removalDiscs = removal.Combo1();
    ASSERT_EQ(removalDiscs.count(), 3);
    emit removalDiscs.activated(1);
    child<QAction>(removal, "actBrowseDisc").trigger();
    EXPECT_EQ(registry.browseWindow(), browser);  // one browser, brought to the front
    EXPECT_EQ(child<QLabel>(*browser, "lblName").text(), QStringLiteral("CD2"));
    EXPECT_EQ(listedNames(*browser), QStringList({"top.txt"}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace vt::test
