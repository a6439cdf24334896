#pragma once

namespace folio::win {

// A control's place in twips, relative to its parent's inner area.
struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The main window's design places, in twips.
namespace design {
inline constexpr double kInnerWidth = 10140;
inline constexpr double kInnerHeight = 4950;
inline constexpr double kMinOuterWidth = 10200;
inline constexpr double kMinOuterHeight = 4845;
inline constexpr TwipRect kLabel1{60, 45, 2055, 195};
inline constexpr TwipRect kDir1{60, 240, 3255, 0};
inline constexpr TwipRect kDrive1{60, 0, 2415, 315};
inline constexpr TwipRect kLabel2{3420, 40, 1515, 255};
inline constexpr TwipRect kListView1{3420, 240, 0, 0};
inline constexpr TwipRect kFrame1{3420, 0, 6675, 315};
inline constexpr TwipRect kLnkRun{60, 60, 1965, 255};
inline constexpr TwipRect kLnkCsvSave{5040, 60, 1530, 255};
inline constexpr TwipRect kCombo1{2520, 0, 795, 315};
inline constexpr TwipRect kLabel3{3780, 1140, 5835, 1215};
inline constexpr TwipRect kLabel4{3840, 2280, 5835, 1035};
} // namespace design

// The places that follow the window's inner size; every other place stays at its design value.
struct Form1Layout {
    TwipRect dir1;
    TwipRect drive1;
    TwipRect combo1;
    TwipRect listView1;
    TwipRect frame1;
};

// The layout of one resize, on fractional twips: the drive list and the filter box sit 20
// twips above the bottom, the folder tree reaches down to them, the grid fills the right side
// down to the link bar, which touches the bottom edge, and ends 20 twips short of the right.
Form1Layout ComputeForm1Layout(double innerWidth, double innerHeight);

// The outer size after the minimum-size snap: height first, then width.
struct OuterSize {
    double width;
    double height;
};
OuterSize SnapToMinimumSize(OuterSize outer);

} // namespace folio::win
