// Seeded random damage to the program's stored form files: reading them must end in a clear error or a
// button whose saved form reads back the same, never in a crash or another kind of failure.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <optional>
#include <random>

#include "button/MyButton.h"
#include "button/persist/FormFile.h"
#include "button/persist/FormFileError.h"
#include "button/persist/PropertyBagError.h"
#include "support/FakeButtonHost.h"
#include "window/ButtonForms.h"

namespace vt::test {
namespace {

using namespace vt::button;

class FormFileMutator {
  public:
    explicit FormFileMutator(std::uint32_t seed) : random_(seed) {}

    QByteArray mutate(QByteArray content) {
        const int steps = pick(1, 4);
        for (int i = 0; i < steps && !content.isEmpty(); ++i) {
            switch (pick(0, 5)) {
                case 0: {  // flip one bit
                    const int at = pick(0, int(content.size()) - 1);
                    content[at] = char(content[at] ^ (1 << pick(0, 7)));
                    break;
                }
                case 1:  // drop a few bytes
                    content.remove(pick(0, int(content.size()) - 1), pick(1, 8));
                    break;
                case 2: {  // insert characters that mean something to the reader
                    static const char kAlphabet[] = "\"\\=(),x0-9 \n&u#\xff\xd8\x80picture font Begin End";
                    QByteArray insert;
                    for (int n = pick(1, 6); n > 0; --n)
                        insert += kAlphabet[pick(0, int(sizeof kAlphabet) - 2)];
                    content.insert(pick(0, int(content.size())), insert);
                    break;
                }
                case 3:  // truncate
                    content.truncate(pick(0, int(content.size()) - 1));
                    break;
                case 4: {  // repeat a line
                    QList<QByteArray> lines = content.split('\n');
                    const int at = pick(0, int(lines.size()) - 1);
                    lines.insert(at, lines[at]);
                    content = lines.join('\n');
                    break;
                }
                default: {  // swap two lines
                    QList<QByteArray> lines = content.split('\n');
                    lines.swapItemsAt(pick(0, int(lines.size()) - 1), pick(0, int(lines.size()) - 1));
                    content = lines.join('\n');
                    break;
                }
            }
        }
        return content;
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::mt19937 random_;
};

// Loads every section into a fresh button and returns the buttons' saved form; throws the reader's
// errors.
QString loadAndSave(FormFile& file, const std::shared_ptr<FakeButtonHost>& host, const QString& saveFolder) {
    QWidget form;
    FormFile saved(file.formName());
    for (const FormSection* section : file.sections()) {
        MyButton button(&form, host);
        button.ReadProperties(*file.find(section->classId(), section->instance()));
        button.WriteProperties(saved.add(section->classId(), section->instance()));
    }
    if (!saveFolder.isEmpty()) saved.save(saveFolder);
    return saved.toText();
}

TEST(ControlFormFuzz, DamagedStoredFormsFailCleanlyOrReadBackTheSame) {
    const QStringList forms = {"MDIForm1", "frmMain", "frmFind", "frmDelete", "frmAbout"};
    auto host = std::make_shared<FakeButtonHost>();
    FormFileMutator mutator(20240611);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 600; ++round) {
        for (const QString& name : forms) {
            QFile stored(storedFormPath(name));
            ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
            const QByteArray damaged = mutator.mutate(stored.readAll());
            try {
                FormFile file = FormFile::parse(damaged, storedFormPath(name));
                // Now and then the saved form is written out and read back, pictures and all.
                const bool deep = round % 50 == 0;
                std::optional<QTemporaryDir> dir;
                if (deep) dir.emplace();
                const QString first = loadAndSave(file, host, deep ? dir->path() : QString());
                if (deep) {
                    FormFile again = FormFile::load(dir->filePath(name + ".vtform"));
                    EXPECT_EQ(loadAndSave(again, host, QString()), first) << damaged.toStdString();
                }
                ++loaded;
            } catch (const FormFileError&) {
                ++refused;
            } catch (const PropertyBagError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace vt::test
