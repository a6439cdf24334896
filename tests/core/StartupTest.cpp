#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Fakes.h"
#include "Startup.h"

namespace folio {
namespace {

TEST(Startup, ModeFollowsTheArgumentCount)
{
    EXPECT_EQ(ChooseStartupMode(std::nullopt), StartupMode::Interactive);
    const std::pair<std::vector<std::string>, StartupMode> cases[] = {
        {{""}, StartupMode::Interactive},
        {{"  "}, StartupMode::Interactive},
        {{"", "a"}, StartupMode::Usage},
        {{"", "a", "b"}, StartupMode::Usage},
        {{"", "a", "b", "c"}, StartupMode::Batch},
        {{"", "a", "b", "c", "d"}, StartupMode::Usage},
    };
    for (const auto& [slots, mode] : cases)
        EXPECT_EQ(ChooseStartupMode(ArgumentList{slots}), mode) << slots.size() - 1;
}

TEST(Startup, UsageTextIsFourLinesEachEndedByCrLf)
{
    EXPECT_STREQ(kUsageText,
                 "The command line arguments for this application need to be specified as:\r\n"
                 "Folder to run -   example:    \"c:\\images\\\"\r\n"
                 "File Filter -   example:           \"*.TIF\"\r\n"
                 "CSV Filename -   example:    \"c:\\report.txt\"\r\n");
}

class BatchTest : public ::testing::Test, protected testing::ScanHarness {
protected:
    Selection selection{"d:", "d:\\start", "*.*"};
    std::string reason;

    int Run(const std::string& folder, const std::string& filter, const std::string& csv)
    {
        return RunBatch(ArgumentList{{"", folder, filter, csv}}, selection, fileSystem, scanner, grid,
                        settings, &reason);
    }
};

TEST_F(BatchTest, SelectsDriveFolderAndFilterThenAppendsTheRows)
{
    fileSystem.driveFolders["c:\\"] = "c:\\work";
    fileSystem.folders["c:\\images\\"] = {ListedFile{"a.TIF", 2048}, ListedFile{"b.bmp", 2048}};
    imaging.images["c:\\images\\a.TIF"] = {};
    fileSystem.files["c:\\report.csv"] = "earlier\r\n";

    EXPECT_EQ(Run("c:\\images\\", "*.tif", "c:\\report.csv"), 0);

    EXPECT_EQ(selection.drive, "c:\\");
    EXPECT_EQ(selection.folder, "c:\\images\\");
    EXPECT_EQ(selection.filter, "*.tif");
    EXPECT_THAT(fileSystem.listedFolders, ::testing::ElementsAre("c:\\images\\"));
    EXPECT_EQ(fileSystem.files["c:\\report.csv"],
              "earlier\r\n\"a.TIF\",00640,00480,0072,0072,\"2.00 kb\",\"BMP Packaging\",\"24 bit color.\","
              "\"Not Compressed.\",08,03\r\n");
}

TEST_F(BatchTest, AnUnusableDriveIsPassedOver)
{
    fileSystem.folders["/home/me/pics"] = {};
    EXPECT_EQ(Run("/home/me/pics", "*.*", "out.csv"), 0);
    EXPECT_EQ(selection.drive, "d:");
    EXPECT_EQ(selection.folder, "/home/me/pics");
    EXPECT_EQ(fileSystem.files["out.csv"], ""); // no matching file: created, empty
}

TEST_F(BatchTest, AMissingFolderScansNothingAndLeavesTheCsvFileAlone)
{
    fileSystem.driveFolders["c:\\"] = "c:\\";
    fileSystem.folders["c:\\"] = {ListedFile{"other.bmp", 10}};
    fileSystem.folders["d:\\start"] = {ListedFile{"other.bmp", 10}};
    imaging.images["c:\\other.bmp"] = {};

    EXPECT_EQ(Run("c:\\no such folder", "*.*", "out.csv"), 1);

    EXPECT_TRUE(fileSystem.listedFolders.empty());
    EXPECT_FALSE(fileSystem.files.contains("out.csv"));
    EXPECT_NE(reason.find("c:\\no such folder"), std::string::npos);
    EXPECT_EQ(reason.find('\n'), std::string::npos);
}

TEST_F(BatchTest, ACsvFileThatCannotBeWrittenGivesOne)
{
    fileSystem.folders["c:\\images"] = {ListedFile{"a.bmp", 10}};
    imaging.images["c:\\images\\a.bmp"] = {};
    fileSystem.unopenable = {"z:\\locked.csv"};

    EXPECT_EQ(Run("c:\\images", "*.*", "z:\\locked.csv"), 1);
    EXPECT_NE(reason.find("z:\\locked.csv"), std::string::npos);

    fileSystem.writesBeforeFailure = 0;
    EXPECT_EQ(Run("c:\\images", "*.*", "c:\\full.csv"), 1);
}

TEST_F(BatchTest, TheDriveIsTheFirstThreeCharacters)
{
    fileSystem.driveFolders["c"] = "c:\\x";
    fileSystem.driveFolders["\xC3\xA4:\\"] = "\xC3\xA4:\\";
    fileSystem.folders["c"] = {};
    fileSystem.folders["\xC3\xA4:\\pics"] = {};

    EXPECT_EQ(Run("c", "*.*", "out.csv"), 0);
    EXPECT_EQ(selection.drive, "c");
    EXPECT_EQ(Run("\xC3\xA4:\\pics", "*.*", "out.csv"), 0);
    EXPECT_EQ(selection.drive, "\xC3\xA4:\\");
}

} // namespace
} // namespace folio
