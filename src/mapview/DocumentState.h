#pragma once
// The few flags of the document that the window's enable and check rules
// read. The document host hands out a copy taken before a worker starts,
// so that nothing on the GUI thread reads the document while the worker
// may write it.

#include "model/Document.h"

#include <cstdint>

namespace tarvo {

struct CDocumentState {
    bool processed = false;
    bool mapLoaded = false;
    bool gpsPointsPresent = false;
    bool coveragePresent = false;
    bool legendShown = false;
    bool infoWindowShown = false;
    std::int32_t projectionKind = kProjectionNone;
    CMapViewState view; // show map, pointer modes, compass, zoom

    static CDocumentState Of(const CTarvoAnalyzerDoc& doc) {
        CDocumentState state;
        state.processed = doc.processed;
        state.mapLoaded = doc.mapLoaded;
        state.gpsPointsPresent = doc.gpsPointsPresent;
        state.coveragePresent = doc.coveragePresent;
        state.legendShown = doc.legendShown;
        state.infoWindowShown = doc.infoWindowShown;
        state.projectionKind = doc.projectionKind;
        state.view = doc.view;
        return state;
    }

    bool operator==(const CDocumentState&) const = default;
};

} // namespace tarvo
