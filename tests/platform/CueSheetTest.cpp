#include <gtest/gtest.h>

#include "platform/CueSheet.h"

namespace vt {
namespace {

TEST(DiscImageCueSheet, TheFirstDataTrackGivesFileLayoutAndStart) {
    QString error;
    // Quoted names keep their spaces; keywords in any case; CRLF line ends.
    auto track = parseCueSheet(QStringLiteral("REM made by hand\r\nfile \"دیسک من (1).bin\" BINARY\r\n"
                                              "  track 01 mode2/2352\r\n    INDEX 00 00:00:00\r\n"
                                              "    INDEX 01 00:02:00\r\n"),
                               error);
    ASSERT_TRUE(track) << error.toStdString();
    EXPECT_EQ(track->file, QStringLiteral("دیسک من (1).bin"));
    EXPECT_EQ(track->sectorBytes, 2352);
    EXPECT_EQ(track->dataOffset, 24);           // sync, header and mode 2 subheader
    EXPECT_EQ(track->startByte, 150u * 2352u);  // two seconds of 75 sectors

    // An audio track in a file of its own before the data track's file.
    track =
        parseCueSheet(QStringLiteral("FILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                     "FILE data.iso BINARY\n  TRACK 02 MODE1/2048\n    INDEX 01 00:00:00\n"),
                      error);
    ASSERT_TRUE(track) << error.toStdString();
    EXPECT_EQ(track->file, QStringLiteral("data.iso"));
    EXPECT_EQ(track->sectorBytes, 2048);
    EXPECT_EQ(track->dataOffset, 0);

    for (const QString& sheet :
         {QStringLiteral("FILE \"a.bin\" BINARY\n  TRACK 01 AUDIO\n"), QString(),
          QStringLiteral("TRACK 01 MODE1/2352\n"),
          QStringLiteral("FILE a.bin BINARY\n TRACK 01 MODE1/2352\n INDEX 01 00:xx:00\n")}) {
        error.clear();
        EXPECT_FALSE(parseCueSheet(sheet, error)) << sheet.toStdString();
        EXPECT_FALSE(error.isEmpty()) << sheet.toStdString();
    }
}

}  // namespace
}  // namespace vt
