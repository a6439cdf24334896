#include <gtest/gtest.h>

#include "CsvWriter.h"
#include "Fakes.h"

namespace folio {
namespace {

using testing::FakeFileSystem;

GridRow Row(const std::string& name, std::array<std::string, 10> cells)
{
    GridRow row;
    row.key = "A-" + name;
    row.fileName = name;
    row.cells = std::move(cells);
    return row;
}

const std::array<std::string, 10> kHoliday = {"01600", "01200", "0072", "0072", "342.17 kb", "JPEG Packaging",
                                              "24 bit color.", "JPEG encoding for JPEG", "08", "03"};

TEST(IsNumericText, Forms)
{
    const std::pair<const char*, bool> cases[] = {
        {"0300", true},      {"00640", true},   {"-5", true},        {"+5", true},
        {" 42 ", true},      {"\t7", true},     {"1.5", true},       {".5", true},
        {"5.", true},        {"1e5", true},     {"1.5E-3", true},    {"-00005", true},
        {"", false},         {"  ", false},     {"-", false},        {".", false},
        {"1e", false},       {"e5", false},     {"8,219.36 kb", false}, {"342.17 kb", false},
        {"1,000", false},    {"Unknown", false}, {"0x1F", false},    {"1 2", false},
        {"--1", false},      {"1.2.3", false},
    };
    for (const auto& [text, numeric] : cases)
        EXPECT_EQ(IsNumericText(text, "."), numeric) << '"' << text << '"';

    EXPECT_TRUE(IsNumericText("0,5", ","));
    EXPECT_FALSE(IsNumericText("0.5", ","));
}

TEST(CsvWriter, WritesOneLinePerRowInDisplayedOrder)
{
    ResultGrid grid;
    grid.AddRow(Row("holiday 2.jpg", kHoliday));
    grid.AddRow(Row("a,b.tif", {"0300", "", "Unknown", "8,219.36 kb", "-5", "1.5", "", "", "", "x"}));
    FakeFileSystem fileSystem;

    SaveInfoToCsv(grid, "out.csv", fileSystem, RegionalSettings{});

    EXPECT_EQ(fileSystem.files["out.csv"],
              "\"a,b.tif\",0300,\"\",\"Unknown\",\"8,219.36 kb\",-5,1.5,\"\",\"\",\"\",\"x\"\r\n"
              "\"holiday 2.jpg\",01600,01200,0072,0072,\"342.17 kb\",\"JPEG Packaging\",\"24 bit color.\","
              "\"JPEG encoding for JPEG\",08,03\r\n");
}

TEST(CsvWriter, AppendsAndNeverEmptiesAFile)
{
    FakeFileSystem fileSystem;
    ResultGrid empty;
    SaveInfoToCsv(empty, "new.csv", fileSystem, RegionalSettings{});
    ASSERT_TRUE(fileSystem.files.contains("new.csv"));
    EXPECT_EQ(fileSystem.files["new.csv"], "");

    fileSystem.files["old.csv"] = "old line\r\n";
    SaveInfoToCsv(empty, "old.csv", fileSystem, RegionalSettings{});
    EXPECT_EQ(fileSystem.files["old.csv"], "old line\r\n");

    ResultGrid grid;
    grid.AddRow(Row("a.bmp", {}));
    SaveInfoToCsv(grid, "old.csv", fileSystem, RegionalSettings{});
    SaveInfoToCsv(grid, "old.csv", fileSystem, RegionalSettings{});
    const std::string line = "\"a.bmp\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    EXPECT_EQ(fileSystem.files["old.csv"], "old line\r\n" + line + line);
}

TEST(CsvWriter, NumericCellsFollowTheRegionalDecimalSeparator)
{
    ResultGrid grid;
    grid.AddRow(Row("a.bmp", {"0,5", "0.5", "1.025,00 kb", "", "", "", "", "", "", ""}));
    FakeFileSystem fileSystem;
    RegionalSettings german;
    german.decimalSeparator = ",";
    german.groupSeparator = ".";
    SaveInfoToCsv(grid, "out.csv", fileSystem, german);
    EXPECT_TRUE(fileSystem.files["out.csv"].starts_with("\"a.bmp\",0,5,\"0.5\",\"1.025,00 kb\","));
}

TEST(CsvWriter, NamesWithQuotesOrLineBreaksStayOneField)
{
    const std::pair<const char*, const char*> cases[] = {
        {"say \"hi\".png", "\"say \"\"hi\"\".png\""},
        {"two\nlines.png", "\"two\nlines.png\""},
        {"quote\"and\r\nbreak.png", "\"quote\"\"and\r\nbreak.png\""},
        {"plain 'name', (1).png", "\"plain 'name', (1).png\""},
    };
    for (const auto& [name, field] : cases) {
        ResultGrid grid;
        grid.AddRow(Row(name, {}));
        FakeFileSystem fileSystem;
        SaveInfoToCsv(grid, "out.csv", fileSystem, RegionalSettings{});
        EXPECT_TRUE(fileSystem.files["out.csv"].starts_with(std::string(field) + ",\"\",")) << name;
    }
}

TEST(CsvWriter, TextGoesThroughTheFileEncoding)
{
    ResultGrid grid;
    grid.AddRow(Row("\xC3\xA4.bmp", {}));
    FakeFileSystem fileSystem;
    RegionalSettings settings;
    settings.encodeForFile = [](std::string_view text) {
        std::string encoded(text);
        if (const auto at = encoded.find("\xC3\xA4"); at != std::string::npos)
            encoded.replace(at, 2, "\xE4");
        return encoded;
    };
    SaveInfoToCsv(grid, "out.csv", fileSystem, settings);
    EXPECT_TRUE(fileSystem.files["out.csv"].starts_with("\"\xE4.bmp\","));
}

TEST(CsvWriter, FailuresReachTheCallerAndWrittenLinesStay)
{
    ResultGrid grid;
    grid.AddRow(Row("a.bmp", kHoliday));
    grid.AddRow(Row("b.bmp", kHoliday));
    grid.AddRow(Row("c.bmp", kHoliday));

    FakeFileSystem unopenable;
    unopenable.unopenable = {"locked.csv"};
    EXPECT_THROW(SaveInfoToCsv(grid, "locked.csv", unopenable, RegionalSettings{}), FileError);
    EXPECT_THROW(SaveInfoToCsv(grid, "", unopenable, RegionalSettings{}), FileError);
    EXPECT_FALSE(unopenable.files.contains("locked.csv"));

    // Lines go out in blocks of whole lines; a block that fails leaves the earlier ones.
    ResultGrid large;
    for (int i = 0; i < 2000; ++i)
        large.AddRow(Row("file" + std::to_string(i) + ".bmp", kHoliday));
    FakeFileSystem full;
    full.writesBeforeFailure = 1;
    EXPECT_THROW(SaveInfoToCsv(large, "out.csv", full, RegionalSettings{}), FileError);
    const std::string& written = full.files["out.csv"];
    EXPECT_TRUE(written.starts_with("\"file0.bmp\","));
    EXPECT_TRUE(written.ends_with("\r\n"));
    EXPECT_GT(std::count(written.begin(), written.end(), '\n'), 0);
    EXPECT_LT(std::count(written.begin(), written.end(), '\n'), 2000);

    FakeFileSystem unflushable;
    unflushable.closeFails = true;
    EXPECT_THROW(SaveInfoToCsv(grid, "out.csv", unflushable, RegionalSettings{}), FileError);
}

} // namespace
} // namespace folio
