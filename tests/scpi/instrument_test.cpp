// The instrument against the emulated board: the board requests behind a setting, refused
// commands, failing and vanishing boards, clients of their own, and the JSON answers.
#include "core/scpi/instrument.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/board_run.h"
#include "core/device/library_board.h"
#include "support/emulated_board.h"
#include "support/recording_sleeper.h"

namespace velorin::testing {
namespace {

using core::scpi::ClientSession;
using core::scpi::Instrument;

constexpr const char *kStartImage = "009E277A8000";

struct InstrumentRun {
    explicit InstrumentRun(sim::BoardKind kind = sim::BoardKind::FourBlock, bool plugged = true)
        : emulated(kind), sleeper([this] { return emulated.Emulator().Log().size(); }) {
        if (!plugged) emulated.Emulator().Unplug();
        ::testing::internal::CaptureStdout();
        instrument.Start();
        ::testing::internal::GetCapturedStdout();
        emulated.Emulator().ClearLog();
    }
    ~InstrumentRun() { Velorin_CloseUsbDevice(); }

    std::string Run(const std::string &line, ClientSession *session = nullptr) {
        ::testing::internal::CaptureStdout();
        std::string answer = instrument.Execute(session ? *session : client, line);
        ::testing::internal::GetCapturedStdout();
        return answer;
    }
    std::vector<Request> Sent() { return Requests(emulated.Emulator().Log()); }
    void Clear() {
        emulated.Emulator().ClearLog();
        sleeper.waits.clear();
    }

    EmulatedBoard emulated;
    core::LibraryBoard board;
    RecordingSleeper sleeper;
    Instrument instrument{board, sleeper, "1.0.0"};
    ClientSession client;
};

TEST(InstrumentTest, PrescalerChangeSendsTheMainViewsRequests) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0");
    EXPECT_EQ(run.Run("IMAGe?"), kStartImage);

    EXPECT_EQ(run.Run("CAL OFF;PRESC 2"), "");
    EXPECT_EQ(run.Sent(), Concat({RamWrite(0, {0x06, 0x9E, 0x27, 0x7A, 0x00, 0x00}),
                                  {PortRead(1), PortWrite(1, 0x02)}}));
    EXPECT_TRUE(run.sleeper.waits.empty());
    EXPECT_EQ(run.Run("PRESC?;IMAG?;FREQ:INP 30;OUTP?;VCO?"),
              "2;069E277A0000;960.000000;1920.000000");

    run.Clear();
    run.Run("cal on;prescaler 5");
    EXPECT_EQ(run.Sent(), Concat({RamWrite(0, {0x00, 0x9E, 0x27, 0x7A, 0x00, 0x00}),
                                  RamWrite(0, {0x00, 0x9E, 0x27, 0x7A, 0x80, 0x00}),
                                  {PortRead(1), PortWrite(1, 0x02)}}));
    EXPECT_EQ(run.sleeper.waits, (std::vector<Wait>{{50, 7}}));
    EXPECT_EQ(run.Run("SYST:ERR?"), "0,\"No error\"");
}

TEST(InstrumentTest, SettingsOfTheSelectedBlockAndItsSwitches) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("BLOC B;ODIV 8;VCO 2;CPUM 112;OUTP:TYPE LVPECL"), "");
    // After OUTP:TYPE? the path is OUTPut: TERM? and STAT? are its nodes.
    EXPECT_EQ(run.Run("BLOC?;ODIV?;VCO?;CPUM?;OUTP:TYPE?;TERM?;STAT?"), "B;8;2;112;LVPECL;1;1");
    // A four-block board terminates block B with port-0 bit 5; its output enable is bit 3.
    const uint8_t port0 = run.emulated.Emulator().WithBoard([](auto &b) { return b.Port(0); });
    EXPECT_EQ(port0 & 0x20, 0x20);
    EXPECT_EQ(run.Run("OUTP OFF;OUTP?;:POW OFF;POW?;POW ON;POW?"), "0;0;1");
    EXPECT_EQ(run.Run("BLOC A;IMAG?"), kStartImage);
    EXPECT_EQ(run.Run("SYST:ERR:COUN?"), "0");
}

TEST(InstrumentTest, RefusedCommandsQueueTheirErrorAndChangeNothing) {
    struct Case {
        const char *line;
        int code;
        uint8_t esr;
    };
    const Case cases[] = {
        {"PRESC 6", -222, 0x10},
        {"PRESC 2.5", -224, 0x10},
        {"PRESC MAXI", -224, 0x10},
        {"PRESC", -109, 0x20},
        {"PRESC 2,3", -108, 0x20},
        {"PRESX 2", -113, 0x20},
        {"PRESC,2", -102, 0x20},
        {"ODIV 3", -224, 0x10},
        {"CPUM 100", -224, 0x10},
        {"OUTP:TYPE CML", -224, 0x10},
        {"OUTP MAYBE", -224, 0x10},
        {"IMAG 0011223344", -224, 0x10},
        {"IMAG 00112233445G", -224, 0x10},
        {"EEPR:PROG:LOCK", -224, 0x10},
        {"EEPR:PROG:LOCK YES", -224, 0x10},
        {"EEPR:PROG:LOCK \"no\"", -224, 0x10},
        {"FREQ:INP 50", -222, 0x10},
        {"XTAL 38.3331", -222, 0x10},
        {"LFIL 10,80", -222, 0x10},
        {"LFIL 400000,95", -222, 0x10},
        {"PLAN:INP? 25", -222, 0x10},
        {"PLAN:OUTP? 10", -222, 0x10},
        {"PLAN:APPL 10", -222, 0x10},
        {"*ESE 256", -222, 0x10},
        {"BLOC E", -224, 0x10},
        {"SYST:ERR?;COUN?", -113, 0x20},
    };
    InstrumentRun run;
    for (const Case &c : cases) {
        run.Clear();
        run.Run(c.line);
        EXPECT_TRUE(run.Sent().empty()) << c.line;
        const std::string error = run.Run("SYST:ERR?");
        EXPECT_EQ(error.substr(0, error.find(',')), std::to_string(c.code)) << c.line;
        EXPECT_EQ(run.Run("SYST:ERR:COUN?;*ESR?;:IMAG?;FREQ:INP?;:BLOC?"),
                  "0;" + std::to_string(c.esr) + ";" + kStartImage + ";0.000;A")
            << c.line;
    }
}

TEST(InstrumentTest, FailedChipWriteIsNamedAndUndoneAndTheBoardReopened) {
    InstrumentRun run;
    run.emulated.Emulator().SetFaults(sim::Faults::FailCommand(0xA2));
    EXPECT_EQ(run.Run("CAL OFF;PRESC 2;PRESC?"), "5");
    EXPECT_EQ(run.Run("SYST:ERR?;*ESR?"), "-240,\"Hardware error;RAM write of block A failed\";16");
    EXPECT_EQ(run.Run("IMAG?"), kStartImage);

    run.emulated.Emulator().ClearFaults();
    run.Clear();
    run.Run("PRESC 2");
    const auto sent = run.Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), Identity());  // the reopened board names itself first
    EXPECT_EQ(run.Run("PRESC?;SYST:ERR:COUN?"), "2;0");
}

TEST(InstrumentTest, VanishedBoardIsMissingUntilItComesBack) {
    InstrumentRun run;
    run.emulated.Emulator().Unplug();
    run.Run("PRESC 2");
    EXPECT_EQ(run.Run("SYST:ERR?").substr(0, 4), "-240");
    run.Run("PRESC 3");
    EXPECT_EQ(run.Run("SYST:ERR?;*TST?;*IDN?"),
              "-241,\"Hardware missing\";1;Norvale Devices,MXRG817A EVAL,NONE,1.0.0");
    EXPECT_EQ(run.Run("IMAG?;FREQ:INP 30;INP?"), std::string(kStartImage) + ";30.000");

    ASSERT_TRUE(run.emulated.Emulator().Replug());
    EXPECT_EQ(run.Run("*TST?;PRESC 3;PRESC?;SYST:ERR:COUN?"), "0;3;0");
}

TEST(InstrumentTest, BoardFirstFoundAfterStartGetsItsPowerSwitchedOn) {
    InstrumentRun run(sim::BoardKind::ThreeBlock, false);
    EXPECT_EQ(run.Run("*IDN?"), "Norvale Devices,MXRG817A EVAL,NONE,1.0.0");
    ASSERT_TRUE(run.emulated.Emulator().Replug());
    run.Clear();
    EXPECT_EQ(run.Run("POW?;*IDN?"), "1;Norvale Devices,MXRG817A EVAL,THREE-BLOCK,1.0.0");
    EXPECT_EQ(run.Sent(),
              (std::vector<Request>{Identity(), PortRead(0), PortWrite(0, 0x00), PortRead(0)}));
    run.Run("BLOC D");
    EXPECT_EQ(run.Run("SYST:ERR?"),
              "-224,\"Illegal parameter value;block D needs a four-block board\"");
}

TEST(InstrumentTest, ClientsHaveTheirOwnBlockAndStatusAndResetWritesNothing) {
    InstrumentRun run;
    ClientSession other;
    run.Run("BLOC C;PRESC 2;PRESC 9");
    EXPECT_EQ(run.Run("BLOC?;SYST:ERR:COUN?;*STB?", &other), "A;0;0");
    EXPECT_EQ(run.Run("BLOC?;SYST:ERR:COUN?;*STB?"), "C;1;4");
    EXPECT_EQ(run.Run("BLOC C;PRESC?", &other), "2");

    run.Clear();
    run.Run("*RST", &other);
    EXPECT_TRUE(run.Sent().empty());
    EXPECT_EQ(run.Run("BLOC?;PRESC?", &other), "A;5");
    EXPECT_EQ(run.Run("BLOC?;IMAG?;CAL?"), std::string("C;") + kStartImage + ";1");
}

TEST(InstrumentTest, EepromCrystalLoopFilterPlansAndJsonAnswers) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("EEPR:COUN?;PROG;COUN?"), "0;1");
    EXPECT_EQ(run.Run("EEPR:PROG:LOCK 'yes';:EEPR:COUN?"), "170");
    EXPECT_EQ(run.Run("XTAL 30;XTAL?;XTAL MIN;XTAL?"), "30.000;27.351");
    EXPECT_EQ(run.Run("LFIL DEF,DEF;LFIL?;LFIL:WORD?"), "1.5,210.0,0.0,24.0,10.0;00074C");
    EXPECT_EQ(run.Run("PLAN:APPL 1000;:FREQ:INP?;:PRESC?;ODIV?;VCO?"), "31.250;2;1;1");
    EXPECT_EQ(run.Run("PLAN:OUTP? 1000"), "31.250000,\"1000.00Mhz,VCO=1,OD=1,P=2,FBD=32\"");
    const std::string plans = run.Run("PLAN:INP? 30");
    EXPECT_EQ(plans.rfind("\"959.99Mhz,VCO=1,OD=1,P=2,FBD=32\",", 0), 0u) << plans;

    const std::string status = run.Run("STAT:BOAR?");
    EXPECT_EQ(status.find('\n'), std::string::npos);
    const auto json = nlohmann::json::parse(status);
    EXPECT_EQ(json["boardKind"], "four-block");
    EXPECT_EQ(json["blocks"].size(), 4u);
    const auto readBack = nlohmann::json::parse(run.Run("READ?"));
    EXPECT_EQ(readBack.size(), 30u);
    EXPECT_EQ(readBack["eepromLockText"], "locked");
}

}  // namespace
}  // namespace velorin::testing
