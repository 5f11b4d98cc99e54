// velorinctl's chip and board-EEPROM commands against the emulated board.
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "ctl_run.h"

namespace velorin::testing {
namespace {

using BoardCommandsTest = CtlBoardTest;

constexpr const char *kCalibrating = "159E27028003";
const sim::ImageBytes kCalibratingBytes{0x15, 0x9E, 0x27, 0x02, 0x80, 0x03};

bool Contains(const std::string &text, const std::string &part) {
    return text.find(part) != std::string::npos;
}

TEST_F(BoardCommandsTest, WriteRamRestartsCalibrationAndSetsTheOutputEnable) {
    const CtlResult run = Ctl({"write-ram", "--block", "C", kCalibrating});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Block C RAM: 15 9E 27 02 80 03\n");
    EXPECT_EQ(Log().size(), 16u);
    EXPECT_EQ(Log()[4].value, 0x00);  // Byte4 with the enable bit clear first
    EXPECT_EQ(Log()[11].value, 0x80);
    EXPECT_GE(Log()[7].time - Log()[6].time, std::chrono::milliseconds(50));
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Chip(2).Ram(); }), kCalibratingBytes);
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Port(1); }), 0x20);

    const CtlResult quiet =
        Ctl({"write-ram", "--block", "2", kCalibrating, "--output-enable", "off", "--quiet"});
    EXPECT_EQ(quiet.code, 0);
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Port(1); }), 0x00);
    EXPECT_EQ(Ctl({"write-ram", "--block", "C", "159E2702800"}).code, 2);
    EXPECT_EQ(Ctl({"write-ram", "--block", "C", "159E2702800G"}).code, 2);

    board_.Emulator().SetFaults(sim::Faults::FailRequest(3));
    const CtlResult failed = Ctl({"write-ram", "--block", "A", kCalibrating});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err, "Error writing to Velorin Eval board\n");
    EXPECT_EQ(failed.out, "");
}

TEST_F(BoardCommandsTest, ProgramAsksOnTheTerminalAndRefusesWithoutOne) {
    WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0xA001, 254); });
    const CtlResult refused = Ctl({"eeprom", "program", "--block", "B", kCalibrating});
    EXPECT_EQ(refused.code, 2);
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(Contains(refused.err, "--yes")) << refused.err;

    std::istringstream no("n\n");
    const CtlResult declined =
        Ctl({"eeprom", "program", "--block", "B", kCalibrating}, cli::TerminalIo{&no, false});
    EXPECT_EQ(declined.code, 1);
    EXPECT_TRUE(Contains(declined.err, "EEPROM has been written (254) times. [y/N]"))
        << declined.err;
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA001); }), 254);
    EXPECT_FALSE(WithBoard([](sim::BoardModel &b) { return b.Chip(1).Written(); }));

    std::istringstream yes("Y\n");
    const CtlResult confirmed =
        Ctl({"eeprom", "program", "--block", "B", kCalibrating}, cli::TerminalIo{&yes, false});
    EXPECT_EQ(confirmed.code, 0) << confirmed.err;
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xA001); }), 255);
    EXPECT_EQ(WithBoard([](sim::BoardModel &b) { return b.Chip(1).Eeprom(); }), kCalibratingBytes);

    const CtlResult counter = Ctl({"eeprom", "counter", "--block", "B", "--json"});
    ASSERT_EQ(counter.code, 0);
    EXPECT_EQ(nlohmann::json::parse(counter.out)["count"], 0);
}

TEST_F(BoardCommandsTest, ProgramWithYesAndVerifyReportsADifferingEeprom) {
    const CtlResult ok =
        Ctl({"eeprom", "program", "--block", "A", kCalibrating, "--yes", "--verify"});
    ASSERT_EQ(ok.code, 0) << ok.err;
    EXPECT_EQ(ok.out, "EEPROM holds 159E27028003\n");
    EXPECT_TRUE(Contains(ok.err, "(0) times. yes (--yes)")) << ok.err;

    // A locked EEPROM keeps its old content when programmed.
    EXPECT_EQ(Ctl({"eeprom", "lock", "--block", "A", "--confirm", "YeS"}).code, 0);
    const CtlResult differs =
        Ctl({"eeprom", "program", "--block", "A", "159E27028103", "--yes", "--verify"});
    EXPECT_EQ(differs.code, 1);
    EXPECT_TRUE(Contains(differs.err, "Byte4: image 81, EEPROM 80")) << differs.err;
    EXPECT_TRUE(Contains(differs.err, "(170) times.")) << differs.err;
}

TEST_F(BoardCommandsTest, LockAndUnlockNeedTheirWords) {
    WithBoard([](sim::BoardModel &b) { b.Chip(3).CommitToRam({1, 2, 3, 4, 5, 6}); });
    const CtlResult notConfirmed = Ctl({"eeprom", "lock", "--block", "D", "--confirm", "yes "});
    EXPECT_EQ(notConfirmed.code, 1);
    EXPECT_FALSE(WithBoard([](sim::BoardModel &b) { return b.Chip(3).Locked(); }));
    EXPECT_EQ(Log().size(), 2u);  // the output enable is still refreshed

    EXPECT_EQ(Ctl({"eeprom", "lock", "--block", "D", "--confirm", "yes"}).code, 0);
    EXPECT_TRUE(WithBoard([](sim::BoardModel &b) { return b.Chip(3).Locked(); }));
    const CtlResult counter = Ctl({"eeprom", "counter", "--block", "D"});
    EXPECT_EQ(counter.out, "Block D: EEPROM has been written (170) times.\n");

    const CtlResult wrong =
        Ctl({"eeprom", "unlock", "--block", "D", "--password", "48201937561029384757"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.err, "Password in incorrect!\n");
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(Ctl({"eeprom", "unlock", "--block", "D", "--password", "56473829105647382910"}).code,
              0);
    EXPECT_FALSE(WithBoard([](sim::BoardModel &b) { return b.Chip(3).Locked(); }));
    EXPECT_EQ(Ctl({"eeprom", "lock", "--block", "D"}).code, 2);
}

TEST_F(BoardCommandsTest, IdleReportsTheSystemsMessageOnFailure) {
    EXPECT_EQ(Ctl({"idle", "--block", "A"}).code, 0);
    EXPECT_TRUE(WithBoard([](sim::BoardModel &b) { return b.Chip(0).Idle(); }));
    board_.Emulator().SetFaults(sim::Faults::FailCommand(0xA3));
    const CtlResult failed = Ctl({"idle", "--block", "A"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err, "Error writing to Velorin Eval board\n");
}

TEST_F(BoardCommandsTest, ReadBackPrintsWhatReadbackDecodePrints) {
    WithBoard([&](sim::BoardModel &b) { b.Chip(1).SetEeprom(kCalibratingBytes, true, false); });
    const auto fetched = WithBoard([](sim::BoardModel &b) { return b.Chip(1).ReadBackBuffer(); });
    char hex[17];
    for (size_t i = 0; i < 8; ++i) std::snprintf(hex + 2 * i, 3, "%02X", fetched[i]);
    for (const bool json : {false, true}) {
        for (const bool invert : {false, true}) {
            std::vector<std::string> board{"readback", "--block", "B"};
            std::vector<std::string> offline{"readback", "decode", hex};
            if (json) board.push_back("--json"), offline.push_back("--json");
            if (invert) board.push_back("--invert"), offline.push_back("--invert");
            const CtlResult read = Ctl(board);
            ASSERT_EQ(read.code, 0) << read.err;
            EXPECT_EQ(read.out, RunCtl(offline).out);
        }
    }
    EXPECT_TRUE(Contains(Ctl({"readback", "--block", "B"}).out, "EE written"));
    EXPECT_EQ(Ctl({"readback"}).code, 2);
    board_.Emulator().SetFaults(sim::Faults::FailRequest(10));
    const CtlResult failed = Ctl({"readback", "--block", "B"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(failed.out.empty());
}

TEST_F(BoardCommandsTest, SaveRecordWritesTheTenBytes) {
    const CtlResult run = Ctl({"save-record", "--block", "1", "C00000008000", "--output-enable",
                               "1", "--terminate", "1"});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::vector<uint8_t> expected{0xC0, 0, 0, 0, 0x80, 0, 1, 1, 1, 0x42};
    WithBoard([&](sim::BoardModel &b) {
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(b.Eeprom().Read(static_cast<uint16_t>(0xA010 + i)), expected[i]) << i;
        }
    });
    EXPECT_EQ(Ctl({"save-record", "--block", "1", "C00000008000", "--output-enable", "2",
                   "--terminate", "1"})
                  .code,
              2);
}

TEST_F(BoardCommandsTest, XtalStoresAndReadsTheRecord) {
    const CtlResult blank = Ctl({"xtal", "get"});
    EXPECT_EQ(blank.code, 0);
    std::string blankRecord;
    for (int i = 0; i < 10; ++i) blankRecord += "\\xFF";
    EXPECT_EQ(blank.out, blankRecord + "\n");

    const CtlResult set = Ctl({"xtal", "set", "30"});
    EXPECT_EQ(set.code, 0) << set.err;
    EXPECT_EQ(set.out, "30.000\n");
    EXPECT_EQ(Ctl({"xtal", "get"}).out, "30.000\n");

    // Refused before the board is opened: the trace stays empty.
    const CtlResult refused = Ctl({"--trace", "xtal", "set", "38.3331"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "XTAL frequency is beyond vco input range!\n");
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(Ctl({"xtal", "get"}).out, "30.000\n");

    // With a unit, the top of the range is still in it.
    EXPECT_EQ(Ctl({"xtal", "set", "38333kHz"}).out, "38.333\n");
}

class FirmwareCommandTest : public CtlBoardTest {
  protected:
    void TearDown() override { std::filesystem::remove(path_); }
    std::string Image(size_t size) {
        std::ofstream out(path_, std::ios::binary);
        for (size_t i = 0; i < size; ++i) out.put(static_cast<char>(i));
        return path_;
    }
    std::string path_ = board_.Root() + "/MXR817_Eval_Fw1.bin";
};

TEST_F(FirmwareCommandTest, PlainPercentagesAndTheSuccessMessage) {
    const CtlResult run = Ctl({"firmware", Image(4)});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "Writing to eeprom\n0%\n25%\n50%\n75%\nVerifying eeprom\n0%\n25%\n50%\n75%\n100%\n"
              "Firmware download successfull!\n");
    EXPECT_EQ(Log().size(), 9u);
}

TEST_F(FirmwareCommandTest, BarOnATerminal) {
    const CtlResult run = Ctl({"firmware", Image(2)}, cli::TerminalIo{nullptr, true});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(Contains(run.out, "\rWriting to eeprom [" + std::string(40, ' ') + "] 0%"));
    EXPECT_TRUE(Contains(run.out, "\rVerifying eeprom [" + std::string(40, '#') + "] 100%\n"));
}

TEST_F(FirmwareCommandTest, FailuresPrintTheirMessagesAndExitOne) {
    const CtlResult missing = Ctl({"firmware", board_.Root() + "/none.bin"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "Unable to open firmware file!\n");
    EXPECT_TRUE(Log().empty());

    const CtlResult big = Ctl({"firmware", Image(65537)});
    EXPECT_EQ(big.code, 1);
    EXPECT_TRUE(Contains(big.err, "65,536")) << big.err;
    EXPECT_TRUE(Log().empty());

    board_.Emulator().SetFaults(sim::Faults::FailRequest(5));
    const CtlResult write = Ctl({"firmware", Image(10)});
    EXPECT_EQ(write.code, 1);
    EXPECT_EQ(write.err, "Unable to write firmware to eeprom!\n");
}

}  // namespace
}  // namespace velorin::testing
