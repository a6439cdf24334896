#include <gtest/gtest.h>

#include "ResultGrid.h"

namespace folio {
namespace {

GridRow Row(const std::string& key, const std::string& name, const std::string& width = "")
{
    GridRow row;
    row.key = key;
    row.fileName = name;
    row.cells[0] = width;
    return row;
}

std::vector<std::string> Keys(const ResultGrid& grid)
{
    std::vector<std::string> keys;
    for (const GridRow& row : grid.Rows())
        keys.push_back(row.key);
    return keys;
}

TEST(ResultGrid, StandardColumnsHaveTheirHeadersAndWidths)
{
    ResultGrid grid;
    grid.AddStandardColumns();
    const std::vector<std::pair<std::string, int>> expected = {
        {"File Name", 1200},   {"Width", 735},        {"Height", 735},           {"DPI (Width)", 1001},
        {"DPI (Height)", 1066}, {"File Size", 1001},  {"File Type", 1320},       {"Colors", 660},
        {"Compression", 1320}, {"Bits per Sample", 1320}, {"Samples per Pixel", 1471},
    };
    ASSERT_EQ(grid.Columns().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(grid.Columns()[i].header, expected[i].first);
        EXPECT_EQ(grid.Columns()[i].widthTwips, expected[i].second);
    }
}

TEST(ResultGrid, RowTextZeroIsTheFileNameThenTheCells)
{
    GridRow row = Row("A-1", "a.bmp");
    for (int i = 0; i < 10; ++i)
        row.cells[static_cast<std::size_t>(i)] = "cell" + std::to_string(i + 1);
    EXPECT_EQ(row.Text(0), "a.bmp");
    EXPECT_EQ(row.Text(1), "cell1");
    EXPECT_EQ(row.Text(10), "cell10");
}

TEST(ResultGrid, ClearRemovesRowsAndColumnsButKeepsTheSortState)
{
    ResultGrid grid;
    grid.AddStandardColumns();
    grid.AddRow(Row("A-1", "a"));
    grid.ClickColumn(3);
    grid.ClickColumn(3);
    grid.Clear();
    EXPECT_TRUE(grid.Columns().empty());
    EXPECT_EQ(grid.RowCount(), 0u);
    EXPECT_TRUE(grid.Rows().empty());
    EXPECT_EQ(grid.SortColumn(), 2);
    EXPECT_EQ(grid.Direction(), SortDirection::Descending);
}

TEST(ResultGrid, ColumnClickRule)
{
    ResultGrid grid;
    EXPECT_EQ(grid.SortColumn(), 0);
    EXPECT_EQ(grid.Direction(), SortDirection::Ascending);

    struct Step {
        int click;
        int column;
        SortDirection direction;
    };
    const Step steps[] = {
        {2, 1, SortDirection::Ascending},  // "Width": new column, direction kept
        {2, 1, SortDirection::Descending}, // "Width" again: flips
        {3, 2, SortDirection::Descending}, // "Height": new column, still descending
        {1, 0, SortDirection::Descending},
        {1, 0, SortDirection::Ascending},
        {0, 0, SortDirection::Ascending},  // outside the columns: ignored
        {12, 0, SortDirection::Ascending},
    };
    for (const Step& step : steps) {
        grid.ClickColumn(step.click);
        EXPECT_EQ(grid.SortColumn(), step.column) << "click " << step.click;
        EXPECT_EQ(grid.Direction(), step.direction) << "click " << step.click;
    }
}

// Rows with equal texts keep the order they had before the sort.
TEST(ResultGrid, SortsByTextIgnoringCaseAndKeepsEqualRowsInTheirOrder)
{
    ResultGrid grid;
    grid.AddRow(Row("A-1", "b.tif", "00640"));
    grid.AddRow(Row("A-2", "A.tif", "01024"));
    grid.AddRow(Row("A-3", "a.TIF", "00640"));
    grid.AddRow(Row("A-4", "C.tif", "123456"));
    grid.AddRow(Row("A-5", "\xC3\x84pfel.tif", "")); // "Äpfel" sorts with "äpfel"
    grid.AddRow(Row("A-6", "\xC3\xA4pfel.tif", ""));

    EXPECT_EQ(Keys(grid), (std::vector<std::string>{"A-2", "A-3", "A-1", "A-4", "A-5", "A-6"}));

    grid.ClickColumn(2); // by width, as text: "" < "00640" < "01024" < "123456"
    EXPECT_EQ(Keys(grid), (std::vector<std::string>{"A-5", "A-6", "A-3", "A-1", "A-2", "A-4"}));

    grid.ClickColumn(2); // descending
    EXPECT_EQ(Keys(grid), (std::vector<std::string>{"A-4", "A-2", "A-3", "A-1", "A-5", "A-6"}));
}

TEST(ResultGrid, AddedRowsTakeTheirPlaceByTheSortState)
{
    ResultGrid grid;
    grid.ClickColumn(1); // file name again: descending
    grid.AddRow(Row("A-1", "b"));
    grid.AddRow(Row("A-2", "d"));
    EXPECT_EQ(Keys(grid), (std::vector<std::string>{"A-2", "A-1"}));

    grid.AddRow(Row("A-3", "c"));
    grid.AddRow(Row("A-4", "B"));
    grid.AddRow(Row("A-5", "e"));
    EXPECT_EQ(Keys(grid), (std::vector<std::string>{"A-5", "A-2", "A-3", "A-1", "A-4"}));
    EXPECT_EQ(grid.RowCount(), 5u);
}

} // namespace
} // namespace folio
