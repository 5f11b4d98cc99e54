// Saves pictures of windows under the build folder's screenshots/ for a person to look at.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

namespace velorin::gui::testing {

inline QString ScreenshotFolder() {
    // The test programs live in <build>/tests.
    QDir build(QCoreApplication::applicationDirPath());
    build.cdUp();
    build.mkpath("screenshots");
    return build.filePath("screenshots");
}

inline bool SaveScreenshot(QWidget &widget, const QString &name) {
    return widget.grab().save(QDir(ScreenshotFolder()).filePath(name + ".png"), "PNG");
}

}  // namespace velorin::gui::testing
