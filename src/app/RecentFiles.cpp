#include "app/RecentFiles.h"

#include "app/ProgramSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tarvo {

namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString Key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

} // namespace

CRecentFileList::CRecentFileList() {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxFiles; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !files_.contains(path))
            files_ << path;
    }
}

void CRecentFileList::Add(const QString& path) {
    const QString file = Canonical(path);
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kMaxFiles)
        files_.removeLast();
    Save();
}

void CRecentFileList::Remove(const QString& path) {
    if (files_.removeAll(path) + files_.removeAll(Canonical(path)) > 0)
        Save();
}

QString CRecentFileList::MenuText(int i, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(i + 1).arg(shown);
}

void CRecentFileList::Save() const {
    QSettings settings(kSettingsOrganisation, kSettingsApplication);
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxFiles; ++i) {
        if (i < files_.size())
            settings.setValue(Key(i), files_[i]);
        else
            settings.remove(Key(i));
    }
}

} // namespace tarvo
