#pragma once
// What a formula's Array Area stands for; the number is stored in the formula flags and in files.

namespace qx {

enum class ObjectKind : int {
    Number = 0,
    Text = 1,
    Matrix = 2,
    Direction = 3,
    Coordinate = 4,
    Segment = 5,
    Polygon = 6,
    Curve = 7,
    Triangle = 8,
    Profile = 9,
    StationElement = 10,
    CrossSection = 12,
    CrossSectionPart = 13,  // shown by cross-section views; no function makes one yet
    Table = 19,
    Viewport = 20,
    PlanView = 21,
    ProfileView = 22,
    SectionView = 23,
    XYGraph = 28,
    LineGraph = 29,
    BarGraph = 30,
};

}  // namespace qx
