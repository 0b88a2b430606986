#pragma once
// The three vented-box alignment tables of the bass reflex table lookup, one row per
// 0.01 of the driver's effective total Q, each row holding α = Vas / Vb and h = fb / fs
// for a box Q of 3, 7 and 15; and the rules that pick a table and a row for a driver.

#include <array>

enum class TBreflAlignment { SBB4 = 0, QB3 = 1, SC4 = 2 };

struct TBreflRow {
    std::array<double, 3> alpha; // box Q 3, 7, 15
    std::array<double, 3> h;
};

namespace TBreflAlignments {

inline constexpr std::array<double, 3> kBoxQ = {3.0, 7.0, 15.0};

int RowCount(TBreflAlignment alignment);
// The total Q of row 0; row i stands for FirstQts + i / 100.
double FirstQts(TBreflAlignment alignment);
const TBreflRow& Row(TBreflAlignment alignment, int row);
// round((qts - FirstQts) · 100), halves up, within the table.
int RowFor(TBreflAlignment alignment, double qts);

// Which tables suit a driver of effective total Q qts, and the one offered first.
enum class TFit { Fits, TooHigh, TooLow };
struct TStart {
    std::array<bool, 3> enabled; // by TBreflAlignment
    TBreflAlignment selected;
    TFit fit;
};
TStart Start(double qts);

} // namespace TBreflAlignments
