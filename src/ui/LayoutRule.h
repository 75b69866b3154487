#pragma once

// One row of a page's layout table (see LayoutManager.h): "this control's right side is the page's
// right side minus 3 dialog units", "this list's bottom is the page's bottom minus 20".

// Metrics of a control: its four sides and two dimensions, in client coordinates of the page.
enum LayoutMetric : int
{
    LayoutLeft = 0,
    LayoutTop = 1,
    LayoutRight = 2,
    LayoutBottom = 3,
    LayoutWidth = 4,
    LayoutHeight = 5,
    // The source's whole extent along the axis: used by the centring actions only.
    LayoutExtent = 6,
};

enum LayoutAction : int
{
    // Sets one side (or dimension); the opposite side stays, the size changes.
    LayoutStretch = 0,
    // Sets one side; the size stays, the control moves.
    LayoutMove = 1,
    // Centres the controls with ids id..lastId as a group in the source's extent, vertically ...
    LayoutCenterVertical = 2,
    // ... or horizontally.
    LayoutCenterHorizontal = 3,
    // Ends a table.
    LayoutEnd = 4,
};

// The source id that means the page itself (its client rectangle).
inline constexpr int LayoutPageId = 65536;

struct LayoutRule
{
    int action = LayoutEnd;
    int metric = 0;       // the target metric (a side for LayoutMove)
    int id = 0;           // the target control id (centring: the first id of the group)
    int lastId = 0;       // centring: the last id of the group, inclusive
    int sourceMetric = 0; // the metric of the source that the value is taken from
    int sourceId = 0;     // the source control id, or LayoutPageId
    int percent = 100;    // a width or height source counts value × percent / 100
    int offset = 0;       // dialog units added to the source value; negative moves left or up
    int done = 0;         // working value of the solver (tables leave it 0)
    int offsetPixels = 0; // working value of the solver (tables leave it 0)
};

constexpr LayoutRule LayoutMoveRule(int side, int id, int sourceMetric, int sourceId, int offset)
{
    return LayoutRule{LayoutMove, side, id, id, sourceMetric, sourceId, 100, offset, 0, 0};
}

constexpr LayoutRule LayoutStretchRule(int metric, int id, int sourceMetric, int sourceId, int offset)
{
    return LayoutRule{LayoutStretch, metric, id, id, sourceMetric, sourceId, 100, offset, 0, 0};
}

constexpr LayoutRule LayoutEndRule()
{
    return LayoutRule{};
}
