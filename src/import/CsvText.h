#pragma once
// Delimited text as spreadsheets and loggers write it: lines, the delimiter
// a header uses, and the fields of a line with '"' quoting.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

struct CTextLine {
    int number = 0; // 1-based
    std::string_view text;
};

// The lines of a text ended by "\n", "\r\n" or "\r"; a UTF-8 byte-order
// mark at the start is dropped, and so is an empty last line.
std::vector<CTextLine> SplitLines(std::string_view text);

// The delimiter of a header line: whichever of tab, ';' and ',' occurs most
// often outside quotes (tab, then ';', on a tie); ',' when none does.
char HeaderDelimiter(std::string_view header);

// The fields of a line. With quoting, a field that starts with '"' runs to
// the closing '"' ("" inside stands for one '"') and keeps its text exactly;
// other fields lose the blanks at either end. A quote left open gives
// nothing. Without quoting '"' is an ordinary character and fields are
// taken exactly as they stand.
std::optional<std::vector<std::string>> SplitFields(std::string_view line, char delimiter,
                                                    bool quoting = true);

// Index of the header field named `name` (compared without case and
// without surrounding blanks), or -1.
int FindColumn(const std::vector<std::string>& header, std::string_view name);

} // namespace tarvo
