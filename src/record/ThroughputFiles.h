#pragma once
// The throughput side files of a study's walks: WALK.throughput.csv beside
// each selected survey file of the file list (a walk recorded without
// throughput has none), and any side files named in addition.

#include "model/Document.h"

#include <string>
#include <vector>

namespace tarvo {

struct CThroughputLoad {
    std::vector<CThroughputPoint> points; // every file's, in file order
    std::vector<std::string> read;        // the side files read
    // "FILE:LINE: reason" of rows left out, and files that could not be
    // read (a named one that is missing, one without x_m,y_m columns).
    std::vector<std::string> problems;
};

CThroughputLoad LoadThroughputFiles(const CTarvoAnalyzerDoc& doc,
                                    const std::vector<std::string>& named = {});

} // namespace tarvo
