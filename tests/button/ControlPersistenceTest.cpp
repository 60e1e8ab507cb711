// Saving and loading MyButton through the form-file property bag: the 23 keys, their defaults, pointers
// and pictures, and damaged form files.
#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "button/MyButton.h"
#include "button/persist/FormFile.h"
#include "button/persist/FormFileError.h"
#include "button/persist/PropertyBagError.h"
#include "support/FakeButtonHost.h"

namespace vt::test {
namespace {

using namespace vt::button;

const QStringList kAllKeys = {"BTYPE", "TX",     "ENAB",  "FONT", "COLTYPE", "FOCUSR", "BCOL", "BCOLO",
                              "FCOL",  "FCOLO",  "MCOL",  "MPTR", "MICON",   "PICN",   "PICH", "UMCOL",
                              "SOFT",  "PICPOS", "NGREY", "FX",   "HAND",    "CHECK",  "VALUE"};

QStringList keysOf(const FormSection& section) {
    QStringList keys;
    for (const auto& entry : section.entries()) keys << entry.key;
    return keys;
}

class ControlPersistence : public ::testing::Test {
  protected:
    ControlPersistence() {
        form.resize(300, 100);
        button = new MyButton(&form, host);
        button->setGeometry(10, 10, 100, 25);
    }

    // Writes `text` as <dir>/Form1.vtform (after the header line) and loads it.
    FormFile formFile(const QByteArray& body) {
        const QString path = dir.filePath(QStringLiteral("Form1.vtform"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArrayLiteral("VTFORM 1\n") + body);
        file.close();
        return FormFile::load(path);
    }
    FormFile sectionFile(const QByteArray& lines) {
        return formFile(QByteArrayLiteral("Begin Quor.MyButton cmdOne\n") + lines +
                        QByteArrayLiteral("End\n"));
    }
    void load(FormFile& file) { button->ReadProperties(*file.find(MyButton::kClassId, "cmdOne")); }

    PictureRef bitmap(QRgb colour) {
        auto p = std::make_shared<Picture>();
        p->image = QImage(16, 16, QImage::Format_RGB32);
        p->image.fill(colour);
        p->image.setPixel(3, 4, qRgb(255, 0, 255));
        return p;
    }
    PictureRef icon() {
        auto p = std::make_shared<Picture>();
        p->type = Picture::Icon;
        p->image = QImage(12, 10, QImage::Format_ARGB32);
        p->image.fill(qRgba(0, 0, 255, 255));
        p->image.setPixel(0, 0, qRgba(0, 0, 0, 0));
        return p;
    }

    QTemporaryDir dir;
    std::shared_ptr<FakeButtonHost> host = std::make_shared<FakeButtonHost>();
    QWidget form;
    MyButton* button;
};

TEST_F(ControlPersistence, SaveWritesEveryKeyInOrderExceptAbsentPictures) {
    FormFile file(QStringLiteral("Form1"));
    button->WriteProperties(file.add(MyButton::kClassId, "cmdOne"));
    QStringList withoutPictures = kAllKeys;
    withoutPictures.removeAll("PICN");
    withoutPictures.removeAll("PICH");
    EXPECT_EQ(keysOf(*file.find(MyButton::kClassId, "cmdOne")), withoutPictures);
    EXPECT_TRUE(file.toText().contains("    MICON = picture()\n"))
        << "an empty pointer picture is still stored";
    EXPECT_TRUE(file.toText().contains("    ENAB = -1\n"));
    EXPECT_TRUE(file.toText().contains("    HAND = 0\n")) << "values equal to their defaults are stored too";

    button->setPictureNormal(bitmap(qRgb(0, 128, 0)));
    button->setPictureOver(bitmap(qRgb(0, 0, 128)));
    button->WriteProperties(*file.find(MyButton::kClassId, "cmdOne"));
    EXPECT_EQ(keysOf(*file.find(MyButton::kClassId, "cmdOne")), kAllKeys);
}

TEST_F(ControlPersistence, EveryPropertySurvivesASaveAndALoad) {
    button->setButtonType(Oval);
    button->setCaption(QStringLiteral("&ذخيره \"quoted\"\\ and\ttab"));
    button->setEnabled(false);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(10.5);
    font.setBold(true);
    font.setItalic(true);
    font.setUnderline(true);
    button->setFont(font);
    button->setColorScheme(ContainerColors);
    button->setShowFocusRect(false);
    button->setBackColor(static_cast<ColorValue>(0x8000000F));
    button->setBackOver(0x123456);
    button->setForeColor(0x654321);
    button->setForeOver(0x0000FF);
    button->setMaskColor(0xFF00FF);
    button->setPictureNormal(bitmap(qRgb(0, 128, 0)));
    button->setPictureOver(icon());
    button->setUseMaskColor(false);
    button->setSoftBevel(true);
    button->setPicturePosition(PictureBottom);
    button->setUseGreyscale(true);
    button->setSpecialEffect(EffectSunken);
    button->setCheckBoxBehaviour(true);
    button->setValue(true);
    button->setHandPointer(true);

    FormFile saved(QStringLiteral("Form1"));
    button->WriteProperties(saved.add(MyButton::kClassId, "cmdOne"));
    saved.save(dir.path());

    FormFile file = FormFile::load(dir.filePath("Form1.vtform"));
    MyButton copy(&form, host);
    copy.ReadProperties(*file.find(MyButton::kClassId, "cmdOne"));
    EXPECT_EQ(copy.ButtonType(), Oval);
    EXPECT_EQ(copy.Caption(), button->Caption());
    EXPECT_FALSE(copy.Enabled());
    EXPECT_FALSE(copy.isEnabled());
    EXPECT_EQ(copy.FontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_DOUBLE_EQ(copy.Font().pointSizeF(), 10.5);
    EXPECT_TRUE(copy.FontBold() && copy.FontItalic() && copy.FontUnderline());
    EXPECT_EQ(copy.ColorScheme(), ContainerColors);
    EXPECT_FALSE(copy.ShowFocusRect());
    EXPECT_EQ(copy.BackColor(), static_cast<ColorValue>(0x8000000F))
        << "a system colour stays a system colour";
    EXPECT_EQ(copy.BackOver(), 0x123456);
    EXPECT_EQ(copy.ForeColor(), 0x654321);
    EXPECT_EQ(copy.ForeOver(), 0x0000FF);
    EXPECT_EQ(copy.MaskColor(), 0xFF00FF);
    ASSERT_TRUE(copy.PictureNormal());
    EXPECT_EQ(copy.PictureNormal()->type, Picture::Bitmap);
    EXPECT_EQ(copy.PictureNormal()->image, button->PictureNormal()->image);
    ASSERT_TRUE(copy.PictureOver());
    EXPECT_EQ(copy.PictureOver()->type, Picture::Icon);
    EXPECT_EQ(copy.PictureOver()->image, button->PictureOver()->image) << "an icon keeps its transparency";
    EXPECT_FALSE(copy.UseMaskColor());
    EXPECT_TRUE(copy.SoftBevel());
    EXPECT_EQ(copy.PicturePosition(), PictureBottom);
    EXPECT_TRUE(copy.UseGreyscale());
    EXPECT_EQ(copy.SpecialEffect(), EffectSunken);
    EXPECT_TRUE(copy.CheckBoxBehaviour());
    EXPECT_TRUE(copy.Value());
    EXPECT_TRUE(copy.HandPointer());
    EXPECT_EQ(copy.MousePointer(), 99);
    EXPECT_EQ(copy.AccessKeys(), QStringLiteral("ذ"));
    EXPECT_EQ(copy.state().PictureWidth, 16) << "pictures are measured after loading";
}

TEST_F(ControlPersistence, MissingKeysTakeTheirLoadDefaults) {
    button->setButtonType(7);
    button->setCaption("old");
    button->setMousePointer(5);
    const QFont before = button->Font();
    host->colors.set(15, 0x0A0B0C);
    host->colors.set(18, 0x030201);
    FormFile file = sectionFile(QByteArray());
    load(file);
    EXPECT_EQ(button->ButtonType(), Standard3D);
    EXPECT_EQ(button->Caption(), QString());
    EXPECT_TRUE(button->Enabled());
    EXPECT_EQ(button->Font(), before) << "the font default is the control's current font";
    EXPECT_EQ(button->ColorScheme(), vt::button::SystemColors);
    EXPECT_TRUE(button->ShowFocusRect());
    EXPECT_EQ(button->BackColor(), 0x0A0B0C) << "the current button face as RGB, not 0x8000000F";
    EXPECT_EQ(button->BackOver(), 0x0A0B0C);
    EXPECT_EQ(button->ForeColor(), 0x030201);
    EXPECT_EQ(button->ForeOver(), 0x030201);
    EXPECT_EQ(button->MaskColor(), 0xC0C0C0);
    EXPECT_EQ(button->MousePointer(), 1) << "HAND false leaves the arrow";
    EXPECT_FALSE(button->PictureNormal());
    EXPECT_FALSE(button->PictureOver());
    EXPECT_TRUE(button->UseMaskColor());
    EXPECT_FALSE(button->SoftBevel());
    EXPECT_EQ(button->PicturePosition(), PictureLeft);
    EXPECT_FALSE(button->UseGreyscale());
    EXPECT_EQ(button->SpecialEffect(), EffectNone);
    EXPECT_FALSE(button->HandPointer());
    EXPECT_FALSE(button->CheckBoxBehaviour());
    EXPECT_FALSE(button->Value());
}

TEST_F(ControlPersistence, MissingHoverColoursFollowTheColoursJustLoaded) {
    FormFile file = sectionFile("    BCOL = 0x00112233\n    FCOL = 0x00445566\n");
    load(file);
    EXPECT_EQ(button->BackOver(), 0x112233);
    EXPECT_EQ(button->ForeOver(), 0x445566);
}

TEST_F(ControlPersistence, LoadingNeverKeepsACustomPointer) {
    bitmap(qRgb(1, 2, 3))->image.save(dir.filePath("cursor.bmp"));
    FormFile file = sectionFile("    MPTR = 99\n    MICON = picture(\"cursor.bmp\", 1)\n    HAND = 0\n");
    load(file);
    EXPECT_EQ(button->MousePointer(), 1);
    EXPECT_FALSE(button->MouseIcon());
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
    FormFile saved(QStringLiteral("Form1"));
    button->WriteProperties(saved.add(MyButton::kClassId, "cmdOne"));
    EXPECT_TRUE(saved.toText().contains("    MPTR = 1\n    MICON = picture()\n"));

    FormFile hand = sectionFile("    MPTR = 3\n    HAND = -1\n");
    load(hand);
    EXPECT_EQ(button->MousePointer(), 99);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ControlPersistence, PictureOverMarksPICOButIsStoredUnderPICH) {
    QSignalSpy marks(button, &MyButton::propertyChanged);
    button->setPictureNormal(bitmap(qRgb(0, 0, 0)));
    button->setPictureOver(bitmap(qRgb(9, 9, 9)));
    ASSERT_EQ(marks.count(), 2);
    EXPECT_EQ(marks.at(1).at(0).toString(), QStringLiteral("PICO"));
    FormFile saved(QStringLiteral("Form1"));
    button->WriteProperties(saved.add(MyButton::kClassId, "cmdOne"));
    saved.save(dir.path());
    const QString text = saved.toText();
    EXPECT_TRUE(text.contains("    PICH = picture(\"Form1.cmdOne.PICH.bmp\", 1)\n"));
    EXPECT_FALSE(text.contains("PICO"));

    FormFile file = FormFile::load(dir.filePath("Form1.vtform"));
    MyButton copy(&form, host);
    copy.ReadProperties(*file.find(MyButton::kClassId, "cmdOne"));
    ASSERT_TRUE(copy.PictureOver());
    EXPECT_EQ(copy.PictureOver()->image.pixel(0, 0), qRgb(9, 9, 9));
}

TEST_F(ControlPersistence, LoadingDrawsNothingAndDerivesNoColours) {
    form.show();
    const auto drawn = button->drawCount();
    const Rgb face = button->state().colors.FaceColor;
    QSignalSpy marks(button, &MyButton::propertyChanged);
    FormFile file = sectionFile(
        "    BTYPE = 9\n    TX = \"&Find\"\n    ENAB = 0\n    COLTYPE = 2\n    BCOL = 0x000000FF\n");
    load(file);
    EXPECT_EQ(button->drawCount(), drawn);
    EXPECT_EQ(button->state().colors.FaceColor, face);
    ASSERT_EQ(marks.count(), 1);
    EXPECT_EQ(marks.at(0).at(0).toString(), QStringLiteral("HAND")) << "HAND goes through its property";
    EXPECT_FALSE(button->isEnabled()) << "the window's flag follows ENAB at the end";
    EXPECT_EQ(button->AccessKeys(), QStringLiteral("f"));
}

// A damaged form file: the error names the file and the key that could not be read, and what was read
// before that key stays loaded.
struct Damage {
    const char* name;
    QByteArray lines;
    const char* failingKey;
};

class DamagedFormFile : public ControlPersistence, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFormFile, FailsAtTheKeyKeepingWhatCameBefore) {
    const Damage& damage = GetParam();
    bitmap(qRgb(1, 2, 3))->image.save(dir.filePath("ok.bmp"));
    QFile(dir.filePath("broken.bmp")).open(QIODevice::WriteOnly);
    button->setCaption("before");
    FormFile file = sectionFile(QByteArrayLiteral("    BTYPE = 13\n") + damage.lines);
    try {
        load(file);
        ADD_FAILURE() << "the damaged file loaded";
    } catch (const PropertyBagError& error) {
        EXPECT_EQ(error.key(), QLatin1String(damage.failingKey)) << error.what();
        EXPECT_EQ(error.origin(), dir.filePath("Form1.vtform"));
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(dir.filePath("Form1.vtform")));
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QLatin1String(damage.failingKey)));
    }
    EXPECT_EQ(button->ButtonType(), Oval) << "the key read before the damage keeps its value";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFormFile,
    ::testing::Values(Damage{"TextWithoutClosingQuote", "    TX = \"abc\n", "TX"},
                      Damage{"NumberWithGarbage", "    TX = \"a\"\n    ENAB = -1x\n", "ENAB"},
                      Damage{"TextWhereANumberBelongs", "    ENAB = \"yes\"\n", "ENAB"},
                      Damage{"HexTooLong", "    BCOL = 0x1234567890\n", "BCOL"},
                      Damage{"BadEscape", "    TX = \"a\\qb\"\n", "TX"},
                      Damage{"FontWithoutSize", "    FONT = font(\"Tahoma\")\n", "FONT"},
                      Damage{"FontOfZeroPoints", "    FONT = font(\"Tahoma\", 0, 400, 0, 0, 0)\n", "FONT"},
                      Damage{"PointerBeyond16Bits", "    MPTR = 70000\n", "MPTR"},
                      Damage{"TypeBeyond32Bits", "    COLTYPE = 4294967296\n", "COLTYPE"},
                      Damage{"PictureFileMissing", "    PICN = picture(\"gone.bmp\", 1)\n", "PICN"},
                      Damage{"PictureFileNotAnImage", "    PICN = picture(\"broken.bmp\", 1)\n", "PICN"},
                      Damage{"PicturePathLeavesTheFolder", "    PICN = picture(\"../ok.bmp\", 1)\n", "PICN"},
                      Damage{"PictureOfUnknownType", "    PICN = picture(\"ok.bmp\", 2)\n", "PICN"},
                      Damage{"LineThatIsNoKey", "    TX = \"a\"\n    this is not a key\n    ENAB = 0\n",
                             "ENAB"},
                      Damage{"KeyGivenTwice", "    TX = \"a\"\n    TX = \"b\"\n", "ENAB"},
                      Damage{"ValueMissing", "    TX =\n", "TX"},
                      Damage{"NotUtf8", "    TX = \"\xff\"\n", "TX"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ControlPersistence, TruncatedFileFailsAtTheFirstKeyItLacks) {
    const QString path = dir.filePath(QStringLiteral("Form1.vtform"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(
        "VTFORM 1\nBegin Quor.MyButton cmdOne\n    BTYPE = 13\n    TX = \"kept\"\n    ENAB = 0\n    FO");
    out.close();
    FormFile file = FormFile::load(path);
    try {
        load(file);
        ADD_FAILURE() << "the truncated file loaded";
    } catch (const PropertyBagError& error) {
        EXPECT_EQ(error.key(), QStringLiteral("FONT"));
        EXPECT_TRUE(error.reason().contains(QStringLiteral("line 6"))) << error.what();
    }
    EXPECT_EQ(button->ButtonType(), Oval);
    EXPECT_EQ(button->Caption(), QStringLiteral("kept"));
    EXPECT_FALSE(button->Enabled());

    // Cut after a whole line: the section's End is missing, so the keys not yet seen cannot be trusted.
    FormFile cut = formFile("Begin Quor.MyButton cmdOne\n    BTYPE = 4\n");
    EXPECT_THROW(load(cut), PropertyBagError);
    EXPECT_EQ(button->ButtonType(), RoundedFramed);
}

TEST_F(ControlPersistence, BrokenFileStructureIsAnErrorNamingTheFileAndLine) {
    const QString path = dir.filePath(QStringLiteral("Form1.vtform"));
    const std::pair<QByteArray, int> cases[] = {
        {"VTFORM 2\n", 1},
        {"", 1},
        {"VTFORM 1\nstray text\n", 2},
        {"VTFORM 1\n\nEnd\n", 3},
        {"VTFORM 1\nBegin Quor.MyButton\n", 2},
        {"VTFORM 1\nBegin Quor.MyButton a\nEnd\nBegin Quor.MyButton a\nEnd\n", 4},
        {"VTFORM 1\n\xff\xfe\n", 2},
    };
    for (const auto& [content, line] : cases) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(content);
        out.close();
        try {
            FormFile::load(path);
            ADD_FAILURE() << content.toStdString();
        } catch (const FormFileError& error) {
            EXPECT_EQ(error.file(), path);
            EXPECT_EQ(error.line(), line) << error.what();
        }
    }
    EXPECT_THROW(FormFile::load(dir.filePath("absent.vtform")), FormFileError);
}

}  // namespace
}  // namespace vt::test
