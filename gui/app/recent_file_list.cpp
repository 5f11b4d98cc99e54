#include "gui/app/recent_file_list.h"

#include <QFileInfo>
#include <QSettings>
#include <utility>

namespace velorin::gui {

namespace {

constexpr const char *kGroup = "Recent File List";

QString Key(int index) {
    return QString("File%1").arg(index + 1);
}

}  // namespace

RecentFileList::RecentFileList(QString organisation, QString application, int capacity)
    : organisation_(std::move(organisation)),
      application_(std::move(application)),
      capacity_(capacity) {}

void RecentFileList::Load() {
    files_.clear();
    QSettings settings(organisation_, application_);
    settings.beginGroup(kGroup);
    for (int i = 0; i < capacity_; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty() && !files_.contains(path)) files_ << path;
    }
}

void RecentFileList::Add(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > capacity_) files_.removeLast();
    Save();
}

void RecentFileList::Remove(const QString &path) {
    if (files_.removeAll(path) > 0) Save();
}

void RecentFileList::Save() const {
    QSettings settings(organisation_, application_);
    settings.beginGroup(kGroup);
    for (int i = 0; i < capacity_; ++i) {
        if (i < files_.size()) {
            settings.setValue(Key(i), files_[i]);
        } else {
            settings.remove(Key(i));
        }
    }
}

}  // namespace velorin::gui
