#include "app/ProgramSettings.h"

#include <QSettings>

#include <string>

namespace tarvo {

namespace {

const QString kEstimatorKey = QStringLiteral("Settings/PositionEstimator");

} // namespace

EstimatorKind StoredEstimator() {
    const QSettings settings(kSettingsOrganisation, kSettingsApplication);
    const std::string name = settings.value(kEstimatorKey).toString().toStdString();
    return EstimatorFromName(name).value_or(EstimatorKind::Study);
}

void StoreEstimator(EstimatorKind kind) {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.setValue(kEstimatorKey, QString::fromUtf8(EstimatorName(kind)));
}

} // namespace tarvo
