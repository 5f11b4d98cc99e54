// CQVVelorinCtrlGuiDoc: the document is the program-wide register image, stored in and loaded
// from configuration files. It holds only its name and never counts as modified.
#pragma once

#include <QObject>
#include <QString>

#include "core/device/register_image.h"

namespace velorin::gui {

class CQVVelorinCtrlGuiDoc : public QObject {
    Q_OBJECT
  public:
    explicit CQVVelorinCtrlGuiDoc(core::RegisterImage &image, QObject *parent = nullptr);

    // Titled "Config", without a file; the image is left alone.
    bool OnNewDocument();
    // Reads the file's record into the image. A missing or unreadable file, or a bad record,
    // leaves the image as it was; the document takes the file's name all the same.
    bool OnOpenDocument(const QString &path);
    // Writes the image into the file's record. A file that cannot be written stays as it
    // was; the document takes the new name all the same.
    bool OnSaveDocument(const QString &path);

    QString Title() const { return title_; }
    QString PathName() const { return pathName_; }
    bool IsModified() const { return false; }
    // Why the last open or save did not read or write the file; empty when it did.
    QString LastProblem() const { return lastProblem_; }

  signals:
    void titleChanged(const QString &title);

  private:
    void SetPathName(const QString &path);

    core::RegisterImage &image_;
    QString title_;
    QString pathName_;
    QString lastProblem_;
};

}  // namespace velorin::gui
