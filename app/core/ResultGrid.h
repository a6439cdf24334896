#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace folio {

struct GridColumn {
    std::string header;
    int widthTwips = 0;
};

struct GridRow {
    std::string key;      // "A-" and the sequence number
    std::string fileName; // the text of column 0
    std::array<std::string, 10> cells; // columns 1 to 10; a cell may be empty

    // The text of a column, 0 being the file name.
    const std::string& Text(int column) const;
};

enum class SortDirection { Ascending, Descending };

// The rows and columns of the result grid, in displayed order. Rows are ordered by the text of
// the sort column, letter case ignored; rows with equal texts keep the order they were added in.
class ResultGrid {
public:
    static constexpr int kColumnCount = 11;

    // Removes all rows and columns; the sort column and direction stay.
    void Clear();
    // Adds the eleven columns with their headers and widths.
    void AddStandardColumns();
    const std::vector<GridColumn>& Columns() const;

    // The row takes its place by the sort state (after rows whose text is equal).
    void AddRow(GridRow row);
    // The rows in displayed order.
    const std::vector<GridRow>& Rows() const;
    std::size_t RowCount() const;

    int SortColumn() const;
    SortDirection Direction() const;
    // A click on a column header (1-based): a new column becomes the sort column keeping the
    // direction, the sort column again flips the direction; then the rows are sorted.
    // Indexes outside the eleven columns are ignored.
    void ClickColumn(int oneBasedIndex);
    // Orders all rows by the sort state.
    void Sort();

private:
    // Rows are appended unordered and put in place when they are next read, so that adding
    // many rows costs one sort instead of one insertion each.
    void PlaceAddedRows() const;

    std::vector<GridColumn> columns_;
    mutable std::vector<GridRow> rows_;
    mutable std::size_t orderedCount_ = 0; // rows_[0, orderedCount_) are in order
    int sortColumn_ = 0;
    SortDirection direction_ = SortDirection::Ascending;
};

} // namespace folio
