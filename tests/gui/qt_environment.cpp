// One QApplication for every GUI test, with settings kept in a scratch folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QWidget>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        settingsDir_ = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", settingsDir_->path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_->path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_->path());
        UseBenchScreen();
        static int argc = 1;
        static char name[] = "test_gui";
        static char *argv[] = {name, nullptr};
        application_ = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override {
        application_.reset();
        settingsDir_.reset();
    }

  private:
    // Qt's offscreen screen is 800 x 600; the windows are checked on a bench PC's 1280 x 1024.
    // Under QT_SCALE_FACTOR the screen has as many more pixels (a laptop's 4K screen at
    // 200 %), so that the windows still meet a screen of 1280 x 1024 of their own units.
    void UseBenchScreen() {
        if (qgetenv("QT_QPA_PLATFORM") != "offscreen") return;
        bool scaled = false;
        double scale = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&scaled);
        if (!scaled || scale <= 0) scale = 1.0;
        const QString path = settingsDir_->filePath("screen.json");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(QString(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": %1,)"
                           R"( "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                       .arg(qRound(1280 * scale))
                       .arg(qRound(1024 * scale))
                       .toUtf8());
        file.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit());
    }

    std::unique_ptr<QTemporaryDir> settingsDir_;
    std::unique_ptr<QApplication> application_;
};

// A test that leaves a window on screen would let it take the next test's clicks and keys.
class LeftWindowCheck : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo &test) override {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            ADD_FAILURE() << test.name() << " left the window '"
                          << window->objectName().toStdString() << "' open";
            window->close();
        }
    }
};

[[maybe_unused]] auto *const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
[[maybe_unused]] const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new LeftWindowCheck);
    return true;
}();

}  // namespace
