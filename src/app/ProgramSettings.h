#pragma once
// The program's per-user settings, under the key it has always kept them
// in: the recently-used workspaces (RecentFiles.h) and the position
// estimator that processing files uses.

#include "model/EstimatorKind.h"

#include <QString>

namespace tarvo {

inline const QString kSettingsOrganisation =
    QStringLiteral("Local AppWizard-Generated Applications");
inline const QString kSettingsApplication = QStringLiteral("TarvoAnalyzer");

// The stored estimator; the study method when none (or an unknown one) is
// stored.
EstimatorKind StoredEstimator();
void StoreEstimator(EstimatorKind kind);

} // namespace tarvo
