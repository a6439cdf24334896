#include "Form1Layout.h"

namespace folio::win {

Form1Layout ComputeForm1Layout(double innerWidth, double innerHeight) {
    Form1Layout layout{design::kDir1, design::kDrive1, design::kCombo1, design::kListView1, design::kFrame1};
    layout.drive1.top = innerHeight - layout.drive1.height - 20;
    layout.dir1.height = layout.drive1.top - layout.dir1.top;
    layout.combo1.top = layout.drive1.top;
    layout.listView1.height = innerHeight - layout.frame1.height - layout.listView1.top;
    layout.listView1.width = innerWidth - layout.listView1.left - 20;
    layout.frame1.top = layout.listView1.top + layout.listView1.height;
    return layout;
}

OuterSize SnapToMinimumSize(OuterSize outer) {
    if (outer.height < design::kMinOuterHeight)
        outer.height = design::kMinOuterHeight;
    if (outer.width < design::kMinOuterWidth)
        outer.width = design::kMinOuterWidth;
    return outer;
}

} // namespace folio::win
