#include "FindWindowFixture.h"

#include "catalog/ConnectionString.h"
#include "catalog/SqliteStatement.h"

namespace vt::test {

FindWindowFixture::FindWindowFixture() : context(fake.platform()) {
    openCatalogue(context.cnCatalog, buildConnectionString(fake.folder.path()));
}

void FindWindowFixture::addDisk(const QString& name) {
    SqliteStatement insert(
        context.cnCatalog.handle(),
        QStringLiteral("INSERT INTO Disks(DiskName, SerialNo, DiskSize, FileCount) VALUES (?,'1','',0)"));
    insert.bind(1, name);
    insert.step();
}

void FindWindowFixture::addFile(const QString& disk, const QString& path, const QVariant& size) {
    SqliteStatement insert(context.cnCatalog.handle(),
                           QStringLiteral("INSERT INTO BankList(DiskName, FileName, FilePath, FileSize, "
                                          "FileAttr) VALUES (?,?,?,?,'ArchiveNormal')"));
    insert.bind(1, disk);
    insert.bind(2, path.section(QLatin1Char('\\'), -1));
    insert.bind(3, path);
    insert.bind(4, size);
    insert.step();
}

void FindWindowFixture::addFiles(const QString& disk, const QString& pattern, int count) {
    Transaction transaction(context.cnCatalog);
    for (int i = 0; i < count; ++i) addFile(disk, pattern.arg(i));
    transaction.commit();
}

frmFind& FindWindowFixture::loadWindow() {
    window = std::make_unique<frmFind>(context, windowRecordset);
    window->Form_Load();
    return *window;
}

void FindWindowFixture::search(const QString& text, int diskIndex) {
    text1().setText(text);
    combo1().setCurrentIndex(diskIndex);
    window->cmdDelete_Click();
}

QLineEdit& FindWindowFixture::text1() const {
    return *window->findChild<QLineEdit*>(QStringLiteral("Text1"));
}
QComboBox& FindWindowFixture::combo1() const {
    return *window->findChild<QComboBox*>(QStringLiteral("Combo1"));
}
QTreeWidget& FindWindowFixture::listView1() const {
    return *window->findChild<QTreeWidget*>(QStringLiteral("ListView1"));
}

QStringList FindWindowFixture::column(int index) const {
    QStringList texts;
    for (int i = 0; i < listView1().topLevelItemCount(); ++i)
        texts << listView1().topLevelItem(i)->text(index);
    return texts;
}

QStringList FindWindowFixture::comboEntries() const {
    QStringList texts;
    for (int i = 0; i < combo1().count(); ++i) texts << combo1().itemText(i);
    return texts;
}

}  // namespace vt::test
