#include <gtest/gtest.h>

#include <random>

#include "CatalogueHelpers.h"
#include "catalog/DiscCopy.h"
#include "catalog/DiscRows.h"
#include "catalog/PathSearch.h"
#include "catalog/PathSearchRouter.h"
#include "catalog/Statements.h"
#include "catalog/postgres/PgConnection.h"
#include "support/CatalogueEngines.h"

namespace vt {
namespace {

// Path parts in Latin and Persian script, the Persian ones in both the Arabic and the Persian forms of yeh
// and kaf, with and without zero-width non-joiners, direction marks, diacritics and tatweel, in the letter
// forms a reader takes as one, with Persian, Arabic-Indic and ASCII digits, and with quotes and wildcard
// characters as they can occur in file names.
const QStringList kParts = {QStringLiteral("Music"),
                            QStringLiteral("MUSIC"),
                            QStringLiteral("music"),
                            QStringLiteral("Photos"),
                            QStringLiteral("backup_2004"),
                            QStringLiteral("100% done"),
                            QStringLiteral("it's"),
                            QStringLiteral("O'Brien"),
                            QStringLiteral("Program Files"),
                            QStringLiteral("setup.exe"),
                            QStringLiteral("a\"b"),
                            QStringLiteral("KEY"),
                            QStringLiteral("\u0643\u062A\u0627\u0628"),
                            QStringLiteral("\u06A9\u062A\u0627\u0628"),  // book
                            QStringLiteral("\u0645\u0648\u0633\u064A\u0642\u064A"),
                            QStringLiteral("\u0645\u0648\u0633\u06CC\u0642\u06CC"),
                            QStringLiteral("\u0639\u0644\u0649"),
                            QStringLiteral("\u0641\u064A\u0644\u0645"),
                            QStringLiteral("\u067E\u0631\u0648\u0698\u0647"),
                            QStringLiteral("\u0646\u0631\u0645 \u0627\u0641\u0632\u0627\u0631"),
                            QStringLiteral("\u0645\u06CC\u200C\u062E\u0648\u0627\u0647\u0645"),
                            QStringLiteral("\u0645\u064A\u062E\u0648\u0627\u0647\u0645"),
                            QStringLiteral("\u06F1\u06F3\u06F8\u06F2"),
                            QStringLiteral("\u0661\u0663\u0668\u0662"),
                            QStringLiteral("1382"),
                            QStringLiteral("\u06A9\u0650\u062A\u0627\u0628"),
                            QStringLiteral("\u0622\u0647\u0646\u06AF"),
                            QStringLiteral("\u0627\u0647\u0646\u06AF"),
                            QStringLiteral("\u062E\u0627\u0646\u06C0"),
                            QStringLiteral("\u062E\u0627\u0646\u0629"),
                            QStringLiteral("\u062E\u0627\u0646\u0647"),
                            QStringLiteral("\u0645\u0624\u0645\u0646"),
                            QStringLiteral("\u0645\u0633\u0626\u0644\u0647"),
                            QStringLiteral("\u0641\u06CC\u0640\u0640\u0644\u0645"),
                            QStringLiteral("\u200F\u0641\u064A\u0644\u0645\u200E")};
// Single characters patterns are also made of.
const QStringList kCharacters = {
    QStringLiteral("a"),      QStringLiteral("B"),      QStringLiteral("c"),      QStringLiteral("s"),
    QStringLiteral("k"),      QStringLiteral("M"),      QStringLiteral("u"),      QStringLiteral("0"),
    QStringLiteral("4"),      QStringLiteral("."),      QStringLiteral("\\"),     QStringLiteral(" "),
    QStringLiteral("%"),      QStringLiteral("_"),      QStringLiteral("'"),      QStringLiteral("\""),
    QStringLiteral("\u064A"), QStringLiteral("\u06CC"), QStringLiteral("\u0643"), QStringLiteral("\u06A9"),
    QStringLiteral("\u062A"), QStringLiteral("\u0627"), QStringLiteral("\u0644"), QStringLiteral("\u200C"),
    QStringLiteral("\u06F1"), QStringLiteral("\u0661"), QStringLiteral("1"),      QStringLiteral("\u0650"),
    QStringLiteral("\u0640"), QStringLiteral("\u0622"), QStringLiteral("\u0647"), QStringLiteral("\u0629")};

class SearchDifferential : public ::testing::Test {
  protected:
    void SetUp() override {
        std::mt19937 random(20240917);
        for (int d = 0; d < 30; ++d) {
            std::vector<QString> paths;
            const int files = d == 0 ? 3000 : 300;  // one large disc, so that one-disc searches hit the cap
            for (int f = 0; f < files; ++f) {
                QString path = QStringLiteral("D:");
                const int depth = 1 + int(random() % 4);
                for (int i = 0; i < depth; ++i) {
                    path += QLatin1Char('\\') + (random() % 3 ? kParts[int(random() % kParts.size())]
                                                              : QString::number(random() % 1000));
                }
                path += QStringLiteral("\\f%1.%2").arg(random() % 500).arg(random() % 2 ? "txt" : "MP3");
                paths.push_back(path);
                if (paths.size() == 1 || random() % 2) allPaths_.push_back(path);
            }
            discs_.push_back(d == 7 ? QStringLiteral("O'Neil's CD") : QStringLiteral("CD%1").arg(d));
            test::addDisc(catalogue_.connection, discs_.back(), paths);
        }
        // As after a scan whose disc idle time has half indexed: the first discs through the index, the
        // rest (from the middle of a disc on) from the table.
        test::indexNewRows(catalogue_.connection, 3000 + 300 * 20 + 150);
    }

    // One to twelve characters: a stretch of a recorded path, or random characters and parts, with letter
    // case changed, yeh and kaf swapped, digits made Persian, alef and heh in their other forms, marks and
    // diacritics added and wildcards put in at random.
    QString randomText(std::mt19937& random) {
        const int length = 1 + int(random() % 12);
        QString text;
        if (random() % 2) {
            const QString& path = allPaths_[random() % allPaths_.size()];
            text = path.mid(int(random() % path.size()), length);
        } else {
            while (text.size() < length) {
                text += random() % 4 ? kCharacters[int(random() % kCharacters.size())]
                                     : kParts[int(random() % kParts.size())];
            }
            text = text.left(length);
        }
        QString changed;
        for (QChar c : text) {
            switch (random() % 16) {
                case 0:
                    c = c.toUpper();
                    break;
                case 1:
                    c = c.toLower();
                    break;
                case 2:
                    c = c == QChar(0x064A) ? QChar(0x06CC) : c == QChar(0x06A9) ? QChar(0x0643) : c;
                    break;
                case 3:
                    c = random() % 2 ? QLatin1Char('%') : QLatin1Char('_');
                    break;
                case 4:  // the digit in Persian
                    if (c.isDigit() && c.unicode() < 0x80) c = QChar(0x06F0 + (c.unicode() - '0'));
                    break;
                case 5:  // a non-joiner, a direction mark or a diacritic put in after it
                    changed += c;
                    c = QChar(random() % 3 ? 0x200C : random() % 2 ? 0x200F : 0x064E);
                    break;
                case 6:
                    c = c == QChar(0x0627) ? QChar(0x0622) : c == QChar(0x0647) ? QChar(0x0629) : c;
                    break;
                default:
                    break;
            }
            changed += c;
        }
        text = changed;
        return text;
    }

    test::TempCatalogue catalogue_;
    std::vector<QString> allPaths_;
    QStringList discs_;
};

TEST_F(SearchDifferential, IndexGivesTheRowsOfThePlainScanForThousandsOfPatterns) {
    std::mt19937 random(7);
    int routed = 0, capped = 0, nonEmpty = 0;
    for (int round = 0; round < 2500; ++round) {
        const QString text = randomText(random);
        const bool allDiscs = random() % 2;
        const QString disc = random() % 10 ? discs_[int(random() % 8)] : QStringLiteral("no such disc");
        const QString statement = Statements::search(allDiscs, disc, text);

        const std::vector<QString> plain = test::rowsOf(catalogue_.connection, statement, false);
        const std::vector<QString> indexed = test::rowsOf(catalogue_.connection, statement, true);
        // Both walk the rows in rowid order, so beyond the same set below the cap, the cap keeps the same
        // first 2000 matches.
        ASSERT_EQ(indexed, plain) << statement.toStdString();

        routed += !PathSearchRouter::indexQuery(PathSearch::recognise(statement)->pattern).isEmpty();
        capped += plain.size() == 2000;
        nonEmpty += !plain.empty();
    }
    // The rounds must cover every kind of outcome through the index and the table.
    EXPECT_GT(routed, 700);
    EXPECT_GT(capped, 50);
    EXPECT_GT(nonEmpty, 800);
}

TEST_F(SearchDifferential, IndexStaysExactAfterDiscsAreRemovedAndAdded) {
    test::removeDisc(catalogue_.connection, discs_[0]);
    test::removeDisc(catalogue_.connection, discs_[29]);
    test::addDisc(
        catalogue_.connection, QStringLiteral("CD-new"),
        {QStringLiteral("D:\\Music\\new.mp3"), QStringLiteral("D:\\\u06A9\u062A\u0627\u0628\\x.txt")});
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        const QString statement = Statements::search(true, QString(), randomText(random));
        ASSERT_EQ(test::rowsOf(catalogue_.connection, statement, true),
                  test::rowsOf(catalogue_.connection, statement, false))
            << statement.toStdString();
    }
    EXPECT_EQ(test::indexProblem(catalogue_.connection), QString());
}

TEST_F(SearchDifferential, AServerCatalogueGivesTheRowsOfTheFileForThousandsOfPatterns) {
    VT_SKIP_WITHOUT_SERVER(test::Engine::Server);
    QTemporaryDir unused;
    const QString address = test::freshCatalogueAddress(test::Engine::Server, unused);
    ASSERT_FALSE(address.isEmpty());
    Connection server;
    openCatalogue(server, address);
    for (const std::vector<QVariant>& disc : DiscRows::allDiscs(catalogue_.connection)) {
        ASSERT_EQ(copyDisc(catalogue_.connection, server, disc, [] { return false; }),
                  DiscCopyOutcome::Copied);
    }
    // With the server's statistics, searches that few rows match run through the path index on a plan
    // made once, the others are planned each time: both ways are compared with the file.
    server.server()->execScript("ANALYZE BankList;");
    std::mt19937 random(13);
    int nonEmpty = 0;
    for (int round = 0; round < 1500; ++round) {
        const QString text = randomText(random);
        const QString disc = random() % 10 ? discs_[int(random() % 8)] : QStringLiteral("no such disc");
        const QString statement = Statements::search(random() % 2, disc, text);
        const std::vector<QString> onFile = test::rowsOf(catalogue_.connection, statement, false);
        ASSERT_EQ(test::rowsOf(server, statement, true), onFile) << statement.toStdString();
        nonEmpty += !onFile.empty();
    }
    EXPECT_GT(nonEmpty, 500);
}

}  // namespace
}  // namespace vt
