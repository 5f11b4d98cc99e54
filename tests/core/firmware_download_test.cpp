// Firmware download against the emulated board EEPROM: requests, progress, messages.
#include "core/app/firmware_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "forwarding_board.h"
#include "sequence_run.h"

namespace velorin::testing {
namespace {

using core::FirmwareOutcome;

std::vector<uint8_t> Image(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>((i * 37 + 11) ^ (i >> 8));
    return bytes;
}

struct Observed {
    std::vector<std::string> statuses;
    std::vector<int> progress;
    core::FirmwareObserver Observer() {
        return core::FirmwareObserver{[this](const std::string &s) { statuses.push_back(s); },
                                      [this](int p) { progress.push_back(p); }};
    }
};

std::vector<int> Range(int from, int to) {
    std::vector<int> values;
    for (int v = from; v <= to; ++v) values.push_back(v);
    return values;
}

TEST(FirmwareDownloadTest, EmptyImageOnlyReadsAddressZeroAndSucceeds) {
    SequenceRun s;
    Observed seen;
    const auto result = core::DownloadFirmwareImage(s.run.Board(), s.prompts, {}, seen.Observer());
    EXPECT_EQ(result.outcome, FirmwareOutcome::Succeeded);
    EXPECT_EQ(s.Sent(), std::vector<Request>{EepromRead(0, 3)});
    EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{"Firmware download successfull!"});
    EXPECT_EQ(s.prompts.shown[0].icon, core::MessageIcon::Exclamation);
    EXPECT_EQ(seen.statuses,
              (std::vector<std::string>{"Writing to eeprom", "Verifying eeprom", "   "}));
    EXPECT_EQ(seen.progress, std::vector<int>{0});
}

TEST(FirmwareDownloadTest, OneByteIsOneWriteAndOneRead) {
    SequenceRun s;
    Observed seen;
    const std::vector<uint8_t> image{0xFF};
    s.WithBoard([](sim::BoardModel &b) { b.Eeprom().Write(0, 0x00); });
    EXPECT_EQ(core::DownloadFirmwareImage(s.run.Board(), s.prompts, image, seen.Observer()).outcome,
              FirmwareOutcome::Succeeded);
    EXPECT_EQ(s.Sent(),
              (std::vector<Request>{EepromRead(0, 3), EepromWrite(0, 0xFF), EepromRead(0, 3)}));
    EXPECT_EQ(seen.progress, (std::vector<int>{0, 100}));
}

TEST(FirmwareDownloadTest, TwoHundredBytesGiveThePercentSeriesOnceEach) {
    std::vector<int> writeSeries, verifySeries;
    for (size_t a = 0; a < 200; ++a) writeSeries.push_back(core::FirmwareProgress(a, 200));
    for (size_t a = 0; a < 200; ++a) verifySeries.push_back(core::FirmwareProgress(a + 1, 200));
    EXPECT_EQ(std::vector<int>(writeSeries.begin(), writeSeries.begin() + 5),
              (std::vector<int>{0, 0, 1, 1, 2}));
    EXPECT_EQ(writeSeries.back(), 99);
    EXPECT_EQ(std::vector<int>(verifySeries.begin(), verifySeries.begin() + 5),
              (std::vector<int>{0, 1, 1, 2, 2}));
    EXPECT_EQ(verifySeries.back(), 100);

    SequenceRun s;
    Observed seen;
    const auto image = Image(200);
    EXPECT_EQ(core::DownloadFirmwareImage(s.run.Board(), s.prompts, image, seen.Observer()).outcome,
              FirmwareOutcome::Succeeded);
    // Repeated positions are not passed on; the verify phase starts again at 0.
    std::vector<int> expected = Range(0, 99);
    const auto verify = Range(0, 100);
    expected.insert(expected.end(), verify.begin(), verify.end());
    EXPECT_EQ(seen.progress, expected);

    const auto log = s.Sent();
    ASSERT_EQ(log.size(), 401u);
    for (size_t a = 0; a < 200; ++a) {
        EXPECT_EQ(log[1 + a], EepromWrite(static_cast<uint16_t>(a), image[a]));
        EXPECT_EQ(log[201 + a], EepromRead(static_cast<uint16_t>(a), 3));
    }
}

TEST(FirmwareDownloadTest, ByteCountsRunThroughEachPhaseAheadOfItsTexts) {
    SequenceRun s;
    std::vector<std::string> events;
    core::FirmwareObserver observer{
        [&events](const std::string &text) { events.push_back(text); },
        [&events](int percent) { events.push_back(std::to_string(percent) + "%"); },
        [&events](size_t done, size_t size) {
            events.push_back(std::to_string(done) + "/" + std::to_string(size));
        }};
    const auto image = Image(2);
    EXPECT_EQ(core::DownloadFirmwareImage(s.run.Board(), s.prompts, image, observer).outcome,
              FirmwareOutcome::Succeeded);
    EXPECT_EQ(events, (std::vector<std::string>{"0/2", "Writing to eeprom", "0%", "1/2", "2/2",
                                                "50%", "0/2", "Verifying eeprom", "0%", "1/2",
                                                "50%", "2/2", "100%", "   "}));
    using std::chrono::milliseconds;
    EXPECT_EQ(core::FirmwareTallyText(0, 0, milliseconds(0)), "0 of 0 bytes, 0:00");
    EXPECT_EQ(core::FirmwareTallyText(655, 65536, milliseconds(59999)), "655 of 65536 bytes, 0:59");
    EXPECT_EQ(core::FirmwareTallyText(65536, 65536, milliseconds(754000)),
              "65536 of 65536 bytes, 12:34");
}

TEST(FirmwareDownloadTest, FullEepromFitsAndOneByteMoreIsRefusedBeforeAnythingIsSent) {
    SequenceRun s;
    const auto image = Image(core::kMaxFirmwareSize);
    Observed seen;
    EXPECT_EQ(core::DownloadFirmwareImage(s.run.Board(), s.prompts, image, seen.Observer()).outcome,
              FirmwareOutcome::Succeeded);
    EXPECT_EQ(s.Logged(), 1u + 2 * core::kMaxFirmwareSize);
    EXPECT_EQ(s.WithBoard([](sim::BoardModel &b) { return b.Eeprom().Read(0xFFFF); }),
              image.back());
    EXPECT_LE(seen.progress.size(), 202u);

    SequenceRun big;
    const auto tooBig = Image(core::kMaxFirmwareSize + 1);
    const auto refused =
        core::DownloadFirmwareImage(big.run.Board(), big.prompts, tooBig, seen.Observer());
    EXPECT_EQ(refused.outcome, FirmwareOutcome::TooLarge);
    EXPECT_EQ(big.Logged(), 0u);
    EXPECT_EQ(big.prompts.Texts(), std::vector<std::string>{core::kFirmwareTooLarge});
}

TEST(FirmwareDownloadTest, EachPhaseStopsAtItsFirstFailureWithItsMessage) {
    const auto image = Image(50);
    struct Case {
        sim::Faults faults;
        FirmwareOutcome outcome;
        size_t address;
        const char *message;
        size_t logged;
    };
    const std::vector<Case> cases{
        // The read at address 0 is ignored.
        {sim::Faults::FailRequest(1), FirmwareOutcome::Succeeded, 50,
         "Firmware download successfull!", 101},
        {sim::Faults::FailRequest(2), FirmwareOutcome::WriteFailed, 0,
         "Unable to write firmware to eeprom!", 2},
        {sim::Faults::FailRequest(31), FirmwareOutcome::WriteFailed, 29,
         "Unable to write firmware to eeprom!", 31},
        {sim::Faults::UnplugAt(1), FirmwareOutcome::WriteFailed, 0,
         "Unable to write firmware to eeprom!", 1},
        {sim::Faults::FailRequest(52), FirmwareOutcome::ReadBackFailed, 0,
         "Unable to read back firmware from eeprom!", 52},
        {sim::Faults::UnplugAt(101), FirmwareOutcome::ReadBackFailed, 49,
         "Unable to read back firmware from eeprom!", 101},
    };
    for (const auto &c : cases) {
        SequenceRun s;
        s.run.SetFaults(c.faults);
        Observed seen;
        const auto result =
            core::DownloadFirmwareImage(s.run.Board(), s.prompts, image, seen.Observer());
        EXPECT_EQ(result.outcome, c.outcome) << c.message << " " << c.logged;
        EXPECT_EQ(result.address, c.address) << c.logged;
        EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{c.message}) << c.logged;
        EXPECT_EQ(s.Logged(), c.logged);
        EXPECT_EQ(seen.statuses.back(), "   ");
    }
}

// A board whose EEPROM stores one byte wrongly.
class FlippingBoard : public ForwardingBoard {
  public:
    using ForwardingBoard::ForwardingBoard;
    bool WriteI2C(uint16_t start, std::span<const uint8_t> data) override {
        if (start != 7 || data.size() != 1) return ForwardingBoard::WriteI2C(start, data);
        const std::array<uint8_t, 1> flipped{static_cast<uint8_t>(data[0] ^ 0x40)};
        return ForwardingBoard::WriteI2C(start, flipped);
    }
};

TEST(FirmwareDownloadTest, ADifferingByteFailsVerificationThere) {
    SequenceRun s;
    FlippingBoard board(s.run.Board());
    const auto image = Image(20);
    Observed seen;
    const auto result = core::DownloadFirmwareImage(board, s.prompts, image, seen.Observer());
    EXPECT_EQ(result.outcome, FirmwareOutcome::VerifyFailed);
    EXPECT_EQ(result.address, 7u);
    EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{"Verification failed!"});
    EXPECT_EQ(s.Logged(), 1u + 20 + 8);
    EXPECT_EQ(seen.progress.back(), core::FirmwareProgress(7, 20));
    EXPECT_EQ(seen.statuses.back(), "   ");
}

TEST(FirmwareDownloadTest, FilesThatCannotBeUsedAreRefusedBeforeAnythingIsSent) {
    const auto dir = std::filesystem::temp_directory_path() / "velorin-fw-download-test";
    std::filesystem::create_directories(dir);
    const auto good = (dir / "MXR817_Eval_Fw1.bin").string();
    {
        std::ofstream out(good, std::ios::binary);
        out << "firmware";
    }
    struct Case {
        std::string path;
        FirmwareOutcome outcome;
        const char *message;
    };
    const std::vector<Case> cases{
        {(dir / "missing.bin").string(), FirmwareOutcome::OpenFailed,
         "Unable to open firmware file!"},
        {dir.string(), FirmwareOutcome::FileReadFailed, core::kFirmwareFileReadError},
        {good, FirmwareOutcome::Succeeded, "Firmware download successfull!"},
    };
    for (const auto &c : cases) {
        SequenceRun s;
        Observed seen;
        const auto result =
            core::DownloadFirmware(s.run.Board(), s.prompts, c.path, seen.Observer());
        EXPECT_EQ(result.outcome, c.outcome) << c.path;
        EXPECT_EQ(s.prompts.Texts(), std::vector<std::string>{c.message});
        if (c.outcome != FirmwareOutcome::Succeeded) {
            EXPECT_EQ(s.Logged(), 0u);
            // The dialog keeps its initial text.
            EXPECT_TRUE(seen.statuses.empty());
        } else {
            EXPECT_EQ(s.Logged(), 1u + 2 * 8);
        }
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velorin::testing
