#include "ResultGrid.h"

#include <algorithm>
#include <cstdint>

#include "TextFold.h"

namespace folio {

const std::string& GridRow::Text(int column) const
{
    return column == 0 ? fileName : cells.at(static_cast<std::size_t>(column - 1));
}

void ResultGrid::Clear()
{
    rows_.clear();
    orderedCount_ = 0;
    columns_.clear();
}

void ResultGrid::AddStandardColumns()
{
    static const GridColumn standard[kColumnCount] = {
        {"File Name", 1200},       {"Width", 735},         {"Height", 735},
        {"DPI (Width)", 1001},     {"DPI (Height)", 1066}, {"File Size", 1001},
        {"File Type", 1320},       {"Colors", 660},        {"Compression", 1320},
        {"Bits per Sample", 1320}, {"Samples per Pixel", 1471},
    };
    columns_.insert(columns_.end(), std::begin(standard), std::end(standard));
}

const std::vector<GridColumn>& ResultGrid::Columns() const { return columns_; }

void ResultGrid::AddRow(GridRow row) { rows_.push_back(std::move(row)); }

const std::vector<GridRow>& ResultGrid::Rows() const
{
    PlaceAddedRows();
    return rows_;
}

std::size_t ResultGrid::RowCount() const { return rows_.size(); }

int ResultGrid::SortColumn() const { return sortColumn_; }

SortDirection ResultGrid::Direction() const { return direction_; }

void ResultGrid::ClickColumn(int oneBasedIndex)
{
    const int column = oneBasedIndex - 1;
    if (column < 0 || column >= kColumnCount)
        return;
    if (column != sortColumn_)
        sortColumn_ = column;
    else
        direction_ = direction_ == SortDirection::Ascending ? SortDirection::Descending
                                                            : SortDirection::Ascending;
    Sort();
}

namespace {

constexpr std::uint32_t kPlaced = UINT32_MAX;

// Puts rows[first + order[i]] at rows[first + i] for every i, following each cycle of the
// permutation so that rows move in place without a second array. Consumes order.
void PermuteInPlace(std::vector<GridRow>& rows, std::size_t first, std::vector<std::uint32_t>& order)
{
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == kPlaced)
            continue;
        GridRow held = std::move(rows[first + start]);
        std::size_t hole = start;
        while (order[hole] != start) {
            const std::size_t from = order[hole];
            rows[first + hole] = std::move(rows[first + from]);
            order[hole] = kPlaced;
            hole = from;
        }
        rows[first + hole] = std::move(held);
        order[hole] = kPlaced;
    }
}

// Stable-sorts rows[first, last) by the sort state. The folded texts are made once; the sort
// itself moves only row numbers, with ties broken by position to keep it stable, and each row
// moves once, after its place is known.
void SortRange(std::vector<GridRow>& rows, std::size_t first, std::size_t last, int column,
               SortDirection direction)
{
    const std::size_t count = last - first;
    std::vector<std::string> keys;
    keys.reserve(count);
    for (std::size_t i = first; i < last; ++i)
        keys.push_back(text::FoldedKey(rows[i].Text(column)));

    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i)
        order[i] = static_cast<std::uint32_t>(i);
    const bool descending = direction == SortDirection::Descending;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return descending ? c > 0 : c < 0;
        return a < b;
    });
    PermuteInPlace(rows, first, order);
}

} // namespace

void ResultGrid::Sort()
{
    SortRange(rows_, 0, rows_.size(), sortColumn_, direction_);
    orderedCount_ = rows_.size();
}

void ResultGrid::PlaceAddedRows() const
{
    if (orderedCount_ == rows_.size())
        return;
    const std::size_t added = orderedCount_;
    SortRange(rows_, added, rows_.size(), sortColumn_, direction_);
    const bool descending = direction_ == SortDirection::Descending;
    const int column = sortColumn_;
    // Merging keeps earlier rows ahead of added rows with an equal text.
    std::inplace_merge(rows_.begin(), rows_.begin() + static_cast<std::ptrdiff_t>(added), rows_.end(),
                       [&](const GridRow& a, const GridRow& b) {
                           const int c = text::CompareIgnoringCase(a.Text(column), b.Text(column));
                           return descending ? c > 0 : c < 0;
                       });
    orderedCount_ = rows_.size();
}

} // namespace folio
