// The recent-file list of the File menu, kept in the per-user settings.
#pragma once

#include <QString>
#include <QStringList>

namespace velorin::gui {

class RecentFileList {
  public:
    // Kept under organisation/application in the user's settings.
    RecentFileList(QString organisation, QString application, int capacity);

    void Load();
    // Puts the path first (once) and drops what no longer fits; saved at once.
    void Add(const QString &path);
    void Remove(const QString &path);
    const QStringList &Files() const { return files_; }

  private:
    void Save() const;

    QString organisation_;
    QString application_;
    int capacity_;
    QStringList files_;
};

}  // namespace velorin::gui
