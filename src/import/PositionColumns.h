#pragma once
// The position columns of a measurement table: one pair of x,y (map
// pixels), x_m,y_m (site metres) or lat,lon (degrees).

#include "import/ImportRows.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct CPositionColumns {
    ImportFrame frame = ImportFrame::SiteMetres;
    int first = -1;  // x, x_m or lat
    int second = -1; // y, y_m or lon
    std::string firstName, secondName;
    std::string error; // not empty: the header has no usable pair
};

// Finds the one pair in a header. A missing partner ("x" without "y") and
// two pairs at once are errors: which one was meant is not for the reader
// to guess. lat and lon may also be spelt latitude and longitude (or lng).
CPositionColumns FindPositionColumns(const std::vector<std::string>& header);

// Reads the two numbers of a row into `row`; the reason for a refusal
// otherwise ("missing column y", "x_m is not a number: 'abc'", a latitude
// off the globe).
std::string ReadPosition(const CPositionColumns& columns, const std::vector<std::string>& fields,
                         bool decimalComma, CImportRow& row);

// The cell at `index` of a row, nullptr when the row is shorter.
const std::string* Cell(const std::vector<std::string>& fields, int index);

} // namespace tarvo
