// File > Export Settings... from the running view: the program's image and the view's block.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/device/library_board.h"
#include "gui/app/main_frame.h"
#include "gui/planning/main_view.h"
#include "support/emulated_board.h"
#include "support/recording_sleeper.h"
#include "support/scripted_prompts.h"
#include "velorin.h"

namespace velorin::gui {
namespace {

namespace fs = std::filesystem;

QAction *FileMenuItem(CMainFrame &frame, const QString &text) {
    for (QAction *menu : frame.menuBar()->actions()) {
        if (menu->text() != "&File") continue;
        for (QAction *item : menu->menu()->actions()) {
            if (item->text() == text) return item;
        }
    }
    return nullptr;
}

TEST(ExportSettingsMenu, WritesTheViewsBlockAsAHeader) {
    std::string pattern = (fs::temp_directory_path() / "velorin-gui-export-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path dir = pattern;

    velorin::testing::EmulatedBoard board;
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(Velorin_OpenUsbDevice(), 0);
    ::testing::internal::GetCapturedStdout();
    velorin::testing::ScriptedPrompts prompts;
    velorin::testing::RecordingSleeper sleeper;
    core::LibraryBoard library;
    core::RegisterImage image;
    ProgramServices services{library, prompts, sleeper, image};
    CMainFrame frame;
    QAction *item = FileMenuItem(frame, "Export Settings...");
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isEnabled());  // nothing to export without a view

    auto view = std::make_unique<CGuiView>(services, frame);
    frame.SetView(view.get());
    view->OnInitialUpdate();
    EXPECT_TRUE(item->isEnabled());
    QTest::mouseClick(view->findChild<QRadioButton *>("blockRadioB"), Qt::LeftButton);
    image.bytes = {0x15, 0x9E, 0x27, 0x02, 0x80, 0x03};

    prompts.files.push_back((dir / "bench.h").string());
    item->trigger();
    std::ifstream in(dir / "bench.h");
    std::stringstream header;
    header << in.rdbuf();
    EXPECT_NE(header.str().find("for Block B"), std::string::npos);
    EXPECT_NE(header.str().find("static const uint8_t bench[6] = {0x15, 0x9E, 0x27, 0x02, 0x80, "
                                "0x03};"),
              std::string::npos)
        << header.str();
    EXPECT_TRUE(prompts.shown.empty());

    frame.TakeView();
    Velorin_CloseUsbDevice();
    fs::remove_all(dir);
}

}  // namespace
}  // namespace velorin::gui
