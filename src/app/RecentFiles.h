#pragma once
// The recently-used workspaces of the File menu, newest first, kept in the
// per-user settings.

#include <QStringList>

namespace tarvo {

class CRecentFileList {
public:
    static constexpr int kMaxFiles = 8;

    // Reads the list from the settings.
    CRecentFileList();

    const QStringList& Files() const { return files_; }
    // Puts path first (once) and drops what falls past the eighth entry.
    void Add(const QString& path);
    void Remove(const QString& path);

    // The menu text of entry i: "&1 path", with the path's "&" kept literal.
    static QString MenuText(int i, const QString& path);

private:
    void Save() const;

    QStringList files_;
};

} // namespace tarvo
