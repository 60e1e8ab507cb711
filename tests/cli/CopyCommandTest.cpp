#include "catalog/Connection.h"
#include "catalog/Statements.h"
#include "cli/CliFixture.h"
#include "support/CatalogueEngines.h"

namespace vt {
namespace {

using test::Engine;

// Copying a catalogue file to a server and back gives the same discs and rows in the same order, and a
// second copy skips what is there.
class CopyCommand : public test::CliFixture {
  protected:
    void SetUp() override {
        VT_SKIP_WITHOUT_SERVER(Engine::Server);
        source = folder.filePath(QStringLiteral("source.mdb"));
        back = folder.filePath(QStringLiteral("back.mdb"));
        server = test::freshCatalogueAddress(Engine::Server, folder);
        ASSERT_FALSE(server.isEmpty());
    }

    void catalogue(const QString& address, const QString& disk, int files) {
        Connection cn;
        openCatalogue(cn, test::connectionStringFor(address));
        Transaction added(cn);
        cn.Execute(QStringLiteral("INSERT INTO Disks VALUES ('%1', '-5', '1,024 bytes', '%2', 'LABEL', "
                                  "'Joliet', 1700000000);")
                       .arg(Statements::quoted(disk))
                       .arg(files));
        for (int i = 0; i < files; ++i) {
            const QString path = QStringLiteral("D:\\dir %1\\%2'file\t%3.txt").arg(i % 3).arg(disk).arg(i);
            cn.Execute(QStringLiteral("INSERT INTO BankList VALUES ('%1', '%2', '%3', %4, 'Normal', %5);")
                           .arg(Statements::quoted(disk),
                                Statements::quoted(path.section(QLatin1Char('\\'), -1)),
                                Statements::quoted(path))
                           .arg(qint64(i) * 1000003)
                           .arg(i % 2 ? QStringLiteral("NULL") : QString::number(1600000000 + i)));
        }
        added.commit();
    }

    // What the catalogue at `address` holds, as the command line lists it.
    QStringList contents(const QString& address) {
        QStringList lines;
        EXPECT_EQ(run({QStringLiteral("disks"), QStringLiteral("--catalog"), address}), 0);
        lines << outLines();
        EXPECT_EQ(run({QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("json"),
                       QStringLiteral("--catalog"), address}),
                  0);
        return lines << outLines();
    }

    int copy(const QString& from, const QString& to) {
        return run({QStringLiteral("copy"), QStringLiteral("--from"), from, QStringLiteral("--to"), to});
    }

    QString source, back, server;
};

TEST_F(CopyCommand, AFileGoesToAServerAndBackUnchangedAndACopyAgainSkipsWhatIsThere) {
    catalogue(source, QStringLiteral("CD1"), 5000);
    catalogue(source, QStringLiteral("a_c"), 3);
    catalogue(source, QStringLiteral("كتاب‌ها"), 7);
    // The server already has one of them, spelt otherwise: it is left as it is.
    catalogue(server, QStringLiteral("cd1"), 1);

    ASSERT_EQ(copy(source, server), 0) << errText.toStdString();
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("skipped\tCD1\talready in the target"),
                                       QStringLiteral("copied\ta_c\t3 files"),
                                       QStringLiteral("copied\tكتاب‌ها\t7 files")}));
    ASSERT_EQ(copy(server, back), 0) << errText.toStdString();
    ASSERT_EQ(copy(source, back), 0) << errText.toStdString();
    EXPECT_EQ(outLines(), (QStringList{QStringLiteral("skipped\tCD1\talready in the target"),
                                       QStringLiteral("skipped\ta_c\talready in the target"),
                                       QStringLiteral("skipped\tكتاب‌ها\talready in the target")}));

    // The server's "cd1" came back first, then the rest in the source's order with every field.
    QStringList expected = contents(source);
    const QStringList copiedBack = contents(back);
    ASSERT_EQ(copiedBack.size(), expected.size() - 5000 + 1);
    EXPECT_EQ(copiedBack.mid(2, 2), expected.mid(2, 2));  // the disc rows of a_c and كتاب‌ها
    EXPECT_EQ(copiedBack.mid(copiedBack.size() - 10), expected.mid(expected.size() - 10));  // their files
}

}  // namespace
}  // namespace vt
