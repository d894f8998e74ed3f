#include "import/PositionColumns.h"

#include "import/CsvText.h"
#include "import/ImportFields.h"

#include <cmath>

namespace tarvo {

namespace {

struct CPairNames {
    ImportFrame frame;
    std::vector<std::string_view> first, second;
};

int FindAny(const std::vector<std::string>& header, const std::vector<std::string_view>& names,
            std::string& found) {
    for (std::string_view name : names)
        if (const int index = FindColumn(header, name); index >= 0) {
            found = name;
            return index;
        }
    return -1;
}

} // namespace

CPositionColumns FindPositionColumns(const std::vector<std::string>& header) {
    static const CPairNames kPairs[] = {
        {ImportFrame::Pixels, {"x"}, {"y"}},
        {ImportFrame::SiteMetres, {"x_m"}, {"y_m"}},
        {ImportFrame::LatLon, {"lat", "latitude"}, {"lon", "longitude", "lng"}},
    };
    CPositionColumns result;
    std::vector<std::string> present;
    for (const CPairNames& pair : kPairs) {
        std::string firstName, secondName;
        const int first = FindAny(header, pair.first, firstName);
        const int second = FindAny(header, pair.second, secondName);
        if (first < 0 && second < 0)
            continue;
        if (first < 0 || second < 0) {
            result.error = "missing column " +
                           std::string(first < 0 ? pair.first.front() : pair.second.front()) +
                           " (beside " + (first < 0 ? secondName : firstName) + ")";
            return result;
        }
        present.push_back(firstName + "," + secondName);
        result.frame = pair.frame;
        result.first = first;
        result.second = second;
        result.firstName = firstName;
        result.secondName = secondName;
    }
    if (present.empty())
        result.error = "missing column: a position needs x,y or x_m,y_m or lat,lon";
    else if (present.size() > 1)
        result.error =
            "two kinds of position (" + present[0] + " and " + present[1] + "): keep one pair";
    return result;
}

const std::string* Cell(const std::vector<std::string>& fields, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < fields.size() ? &fields[index] : nullptr;
}

std::string ReadPosition(const CPositionColumns& columns, const std::vector<std::string>& fields,
                         bool decimalComma, CImportRow& row) {
    double values[2] = {0.0, 0.0};
    const int indexes[2] = {columns.first, columns.second};
    const std::string* names[2] = {&columns.firstName, &columns.secondName};
    for (int i = 0; i < 2; ++i) {
        const std::string* cell = Cell(fields, indexes[i]);
        if (!cell || cell->empty())
            return "missing column " + *names[i];
        const auto value = ParseDecimal(*cell, decimalComma);
        if (!value)
            return *names[i] + " is not a number: '" + *cell + "'";
        values[i] = *value;
    }
    if (columns.frame == ImportFrame::LatLon &&
        (std::fabs(values[0]) > 90.0 || std::fabs(values[1]) > 180.0))
        return "latitude or longitude off the globe: " + *Cell(fields, indexes[0]) + ", " +
               *Cell(fields, indexes[1]);
    row.frame = columns.frame;
    row.first = values[0];
    row.second = values[1];
    return {};
}

} // namespace tarvo
