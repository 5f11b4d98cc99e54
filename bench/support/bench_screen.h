// The offscreen platform with a bench PC's 1280 x 1024 screen instead of its own 800 x 600, so
// that the windows are measured whole rather than scrolled inside a screen too small for them.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace velorin::bench {

// Call before the QApplication is made; the folder holds the screen's description until then.
inline void UseBenchScreen(const QTemporaryDir &folder) {
    const QString path = QDir(folder.path()).filePath("screen.json");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": 1280,)"
                   R"( "height": 1024, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace velorin::bench
