// Detail enhancement (DDE): an integer guided filter splits the frame into base and detail; the detail,
// scaled by the level, is added to the stretched gray level.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sarvik {

constexpr int kDdeMinSize = 32;  // smaller frames render without detail enhancement
constexpr int kDdeRadius = 3;    // 7 x 7 window
constexpr int kDdeArea = 49;
constexpr int kDdeTableSize = 1 << 20;  // coefficient tables, one entry per (49 S2 - S1^2) >> 10
constexpr int kDdeSwitch = 15052;       // G1 below this selects the second epsilon's coefficients
constexpr int kDdeCentreLimit = 6144;   // percentiles beyond +-this centre the filter's input

// Filter constants of a slope and level.
struct DdeParams {
    int eps1;
    int eps2;
    int strength;
};
DdeParams dde_params(int slope, int level);

// Coefficient table entry i = i x 2^20 / (49 x eps x 49 + 1024 x i), entry 0 = 0.
void dde_table_build(int eps, uint16_t *table);

// Work area of one frame size: the two tables, the row buffers of the running box sums and the detail.
struct DdeState {
    int width;
    int height;
    int eps1;  // the tables' constants; 0 before the first build
    int eps2;
    uint16_t *table1;
    uint16_t *table2;
    int16_t *detail;  // width x height
    void *rows;       // row buffers, one block
};

// Returns a state for the frame size (null when out of memory). The tables are built by dde_state_tables.
DdeState *dde_state_create(int width, int height);
void dde_state_free(DdeState *s);
// Builds the tables unless they already hold these constants.
void dde_state_tables(DdeState *s, int eps1, int eps2);

// Input offset of the filter: the percentile midpoint when either percentile lies beyond +-6144, else 0.
int dde_centre(int low, int high);

// Computes the detail of every pixel into s->detail. Needs width and height of at least 32 and tables built.
// The filter works on x = sample - centre.
void dde_detail(DdeState *s, const int16_t *data, int centre, int strength);

}  // namespace sarvik
