#include "gui/app/document.h"

#include <QFileInfo>
#include <string>

#include "core/device/configuration_file.h"

namespace velorin::gui {

CQVVelorinCtrlGuiDoc::CQVVelorinCtrlGuiDoc(core::RegisterImage &image, QObject *parent)
    : QObject(parent), image_(image) {}

bool CQVVelorinCtrlGuiDoc::OnNewDocument() {
    pathName_.clear();
    lastProblem_.clear();
    title_ = core::kConfigDocumentTitle;
    emit titleChanged(title_);
    return true;
}

bool CQVVelorinCtrlGuiDoc::OnOpenDocument(const QString &path) {
    std::string why;
    lastProblem_.clear();
    if (!core::LoadConfiguration(path.toStdString(), image_, &why)) {
        lastProblem_ = QString::fromStdString(why);
    }
    SetPathName(path);
    return true;
}

bool CQVVelorinCtrlGuiDoc::OnSaveDocument(const QString &path) {
    std::string why;
    lastProblem_.clear();
    if (!core::SaveConfiguration(path.toStdString(), image_, &why)) {
        lastProblem_ = QString::fromStdString(why);
    }
    SetPathName(path);
    return true;
}

void CQVVelorinCtrlGuiDoc::SetPathName(const QString &path) {
    const QFileInfo info(path);
    pathName_ = info.absoluteFilePath();
    title_ = info.fileName();
    emit titleChanged(title_);
}

}  // namespace velorin::gui
