// The instrument against the emulated board: the board requests behind a setting, refused
// commands, failing and vanishing boards, clients of their own, and the JSON answers.
#include "core/scpi/instrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "core/base/hex_text.h"
#include "core/board_run.h"
#include "core/device/library_board.h"
#include "core/device/register_fields.h"
#include "core/device/register_image.h"
#include "core/scpi/parameter_values.h"
#include "support/emulated_board.h"
#include "support/recording_sleeper.h"

namespace velorin::testing {
namespace {

using core::scpi::ClientSession;
using core::scpi::Instrument;

constexpr const char *kStartImage = "009E277A8000";

struct InstrumentRun {
    explicit InstrumentRun(sim::BoardKind kind = sim::BoardKind::FourBlock, bool plugged = true,
                           core::scpi::InstrumentOptions options = {true})
        : emulated(kind),
          sleeper([this] { return emulated.Emulator().Log().size(); }),
          instrument(board, sleeper, "1.0.0", options) {
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
    Instrument instrument;
    ClientSession client;
};

TEST(InstrumentTest, PrescalerChangeSendsTheMainViewsRequests) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0");
    EXPECT_EQ(run.Run("IMAGe?"), kStartImage);

    run.Clear();
    EXPECT_EQ(run.Run("CAL OFF;PRESC 2"), "");
    EXPECT_EQ(run.Sent(), Concat({RamWrite(0, {0x06, 0x9E, 0x27, 0x7A, 0x00, 0x00}),
                                  {PortRead(1), PortWrite(1, 0x02)}}));
    EXPECT_TRUE(run.sleeper.waits.empty());
    EXPECT_EQ(run.Run("PRESC?;IMAG?;FREQ:INP 30MHZ;OUTP?;VCO?"),
              "2;069E277A0000;9.6000000E+08;1.9200000E+09");

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
    EXPECT_EQ(run.Run("BLOC B;ODIV 8;VCO 2;CPUM 112UA;OUTP:TYPE LVPECL"), "");
    // After OUTP:TYPE? the path is OUTPut: TERM? and STAT? are its nodes.
    EXPECT_EQ(run.Run("BLOC?;ODIV?;VCO?;CPUM?;OUTP:TYPE?;TERM?;STAT?"),
              "B;8;2;1.1200000E-04;LVPECL;1;1");
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
        {"CPUM 100UA", -224, 0x10},
        {"CPUM 112", -222, 0x10},
        {"CPUM 5HZ", -131, 0x20},
        {"FREQ:INP 30UA", -131, 0x20},
        {"ODIV? 4", -224, 0x10},
        {"OUTP:TYPE CML", -224, 0x10},
        {"OUTP MAYBE", -224, 0x10},
        {"IMAG 0011223344", -224, 0x10},
        {"IMAG 00112233445G", -224, 0x10},
        {"EEPR:PROG:LOCK", -224, 0x10},
        {"EEPR:PROG:LOCK YES", -224, 0x10},
        {"EEPR:PROG:LOCK \"no\"", -224, 0x10},
        {"FREQ:INP 50", -222, 0x10},
        {"XTAL 38.3331MHZ", -222, 0x10},
        {"LFIL 10,80", -222, 0x10},
        {"LFIL 400000,95", -222, 0x10},
        {"PLAN:INP? 25MHZ", -222, 0x10},
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
                  "0;" + std::to_string(c.esr) + ";" + kStartImage + ";9.9100000E+37;A")
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
    EXPECT_EQ(run.Run("IMAG?;FREQ:INP 30MHZ;INP?"), std::string(kStartImage) + ";3.0000000E+07");

    ASSERT_TRUE(run.emulated.Emulator().Replug());
    EXPECT_EQ(run.Run("*TST?;PRESC 3;PRESC?;SYST:ERR:COUN?"), "0;3;0");
}

TEST(InstrumentTest, BoardFirstFoundAfterStartGetsItsPowerSwitchedOn) {
    InstrumentRun run(sim::BoardKind::ThreeBlock, false);
    EXPECT_EQ(run.Run("*IDN?"), "Norvale Devices,MXRG817A EVAL,NONE,1.0.0");
    ASSERT_TRUE(run.emulated.Emulator().Replug());
    run.Clear();
    EXPECT_EQ(run.Run("POW?;*IDN?"), "1;Norvale Devices,MXRG817A EVAL,THREE-BLOCK,1.0.0");
    // *IDN? asks the board each time.
    EXPECT_EQ(run.Sent(), (std::vector<Request>{Identity(), PortRead(0), PortWrite(0, 0x00),
                                                PortRead(0), Identity()}));
    run.Run("BLOC D");
    EXPECT_EQ(run.Run("SYST:ERR?"),
              "-224,\"Illegal parameter value;block D needs a four-block board\"");
}

TEST(InstrumentTest, ClientsHaveTheirOwnBlockAndStatusAndResetWritesTheBoard) {
    InstrumentRun run;
    ClientSession other;
    run.Run("BLOC C;PRESC 2;PRESC 9;OUTP:TYPE LVPECL;:CAL OFF");
    EXPECT_EQ(run.Run("BLOC?;SYST:ERR:COUN?;*STB?", &other), "A;0;0");
    EXPECT_EQ(run.Run("BLOC?;SYST:ERR:COUN?;*STB?"), "C;1;4");
    EXPECT_EQ(run.Run("BLOC C;PRESC?", &other), "2");

    run.Clear();
    run.Run("*RST", &other);
    // Every block's chip gets its start-up image with the calibration restart; the power and
    // the terminations go back to the start-up state.
    const auto sent = run.Sent();
    for (int block = 0; block < 4; ++block) {
        const auto writes = RamWrite(block, {0x00, 0x9E, 0x27, 0x7A, 0x80, 0x00});
        EXPECT_NE(std::search(sent.begin(), sent.end(), writes.begin(), writes.end()), sent.end())
            << "block " << block;
    }
    const uint8_t port0 = run.emulated.Emulator().WithBoard([](auto &b) { return b.Port(0); });
    EXPECT_EQ(port0, 0x00);
    EXPECT_EQ(run.emulated.Emulator().WithBoard([](auto &b) { return b.Chip(2).Ram(); }),
              (sim::ImageBytes{0x00, 0x9E, 0x27, 0x7A, 0x80, 0x00}));
    EXPECT_EQ(run.Run("BLOC?;PRESC?;OUTP:TYPE?;TERM?", &other), "A;5;LVDS;0");
    // The other client's block went back to A too.
    EXPECT_EQ(run.Run("BLOC?;IMAG?;CAL?;SYST:ERR:COUN?"), std::string("A;") + kStartImage + ";1;1");
}

TEST(InstrumentTest, UnitsLimitsAndThePathRule) {
    InstrumentRun run;
    for (const char *input :
         {"30MHZ", "30 mhz", "3e7", "30E+6HZ", "30000 KHZ", "0.03GHZ", "30MAHZ"}) {
        EXPECT_EQ(run.Run(std::string("FREQ:INP ") + input + ";INP?"), "3.0000000E+07") << input;
    }
    EXPECT_EQ(run.Run("ODIV? MAX;ODIV? MIN;ODIV? DEF;PRESC? MIN;CPUM? MAX;:LFIL? MIN"),
              "32;1;1;2;2.2400000E-04;5.0000000E+04,30");
    EXPECT_EQ(run.Run("FREQ:INP? MIN;INP? MAX"), "2.7351000E+07;3.8333000E+07");
    EXPECT_EQ(run.Run("FREQ:INP DEF;INP?;OUTP?"), "9.9100000E+37;9.9100000E+37");
    EXPECT_EQ(run.Run("CPUM 0.168MA;CPUM?;CPUM MAX;CPUM?"), "1.6800000E-04;2.2400000E-04");
    EXPECT_EQ(run.Run("LFIL 400KHZ,80;LFIL:WORD?"), "00074C");

    // After ';' a header is a child of the current node or it is undefined; ':' is the root.
    run.Run("FREQ:INP 30MHZ;OUTP OFF");
    EXPECT_EQ(run.Run("SYST:ERR?;:OUTP?"), "-113,\"Undefined header\";1");
    EXPECT_EQ(run.Run("FREQ:INP 30MHZ;:OUTP OFF;:OUTP?"), "0");
    EXPECT_EQ(run.Run("FREQ:INP 30MHZ;OUTP?"), "3.6000000E+08");
    EXPECT_EQ(run.Run("SYST:ERR:COUN?"), "0");
}

TEST(InstrumentTest, ChargePumpHasOneDecodingAndNoCurrentIsNoLoopFilter) {
    InstrumentRun run;
    for (int code = 0; code < 16; ++code) {
        core::RegisterImage image;
        core::SetChargePumpCode(image, code);
        const std::string hex = core::FormatHexBytes(image.bytes.data(), image.bytes.size());
        const std::string text = core::FieldValueText(core::Field::ChargePump, code);
        const double microAmps = text == "0" ? 0 : std::stod(text);
        EXPECT_EQ(run.Run("IMAG " + hex + ";CPUM?"), core::scpi::FormatNr3(microAmps * 1e-6))
            << code;
    }
    run.Run("IMAG 009E272A8000");  // code 5: two sources, 112 uA
    EXPECT_EQ(run.Run("CPUM?"), "1.1200000E-04");

    run.Run("IMAG 009E27028000");  // code 0: no current
    run.Clear();
    run.Run("LFIL 400000,80");
    EXPECT_TRUE(run.Sent().empty());
    EXPECT_EQ(run.Run("SYST:ERR?;:IMAG?"),
              "-221,\"Settings conflict;the charge pump gives no current\";009E27028000");
}

TEST(InstrumentTest, EepromWritesNeedTheServersPermission) {
    InstrumentRun run(sim::BoardKind::FourBlock, true, core::scpi::InstrumentOptions{false});
    for (const char *line : {"EEPR:PROG", "EEPR:PROG:LOCK \"YES\"", "XTAL 30MHZ"}) {
        run.Clear();
        run.Run(line);
        EXPECT_TRUE(run.Sent().empty()) << line;
        EXPECT_EQ(run.Run("SYST:ERR?;*ESR?"),
                  "-203,\"Command protected;the server does not allow EEPROM writes\";16")
            << line;
    }
    EXPECT_EQ(run.Run("EEPR:COUN?;:XTAL? MIN"), "0;2.7351000E+07");
}

TEST(InstrumentTest, JsonAnswersAreAsciiAndEndTheirMessage) {
    InstrumentRun run;
    run.Run("EEPR:PROG");  // the read-back reads the EEPROM: 224 uA from now on
    const std::string answer = run.Run("READ?;*IDN?;ODIV 2");
    for (char c : answer) EXPECT_LT(static_cast<unsigned char>(c), 0x80u);
    EXPECT_NE(answer.find("\\u00b5"), std::string::npos) << answer;
    EXPECT_TRUE(nlohmann::json::accept(answer));
    // The query after it is refused; the setting after it still runs.
    EXPECT_EQ(run.Run("SYST:ERR?;:ODIV?"),
              "-440,\"Query UNTERMINATED after indefinite response\";2");
}

TEST(InstrumentTest, QuestionableStatusFollowsSuppliesVcoRangeAndTheBoard) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("STAT:QUES:COND?;EVEN?"), "0;0");
    run.emulated.Emulator().WithBoard([](auto &b) { b.SetSupplyFault(2, true); });
    run.Run("STAT:QUES:ENAB 1;*SRE 8");
    EXPECT_EQ(run.Run("*STB?;STAT:QUES:COND?"), "72;1");  // QUES summary and RQS
    EXPECT_EQ(run.Run("STAT:QUES?;:STAT:QUES?"), "1;0");
    // With the power off a supply reads off, which is no fault.
    EXPECT_EQ(run.Run("POW OFF;STAT:QUES:COND?;:POW ON"), "0");
    run.emulated.Emulator().WithBoard([](auto &b) { b.SetSupplyFault(2, false); });

    run.Run("FREQ:INP 38MHZ;:VCO 1");
    EXPECT_EQ(run.Run("STAT:QUES:COND?"), "32");
    run.Run("STAT:PRES;*CLS");
    EXPECT_EQ(run.Run("STAT:QUES:ENAB?;:STAT:QUES?;*STB?"), "0;0;0");

    run.emulated.Emulator().Unplug();
    EXPECT_EQ(run.Run("STAT:QUES:COND?;*IDN?"), "512;Norvale Devices,MXRG817A EVAL,NONE,1.0.0");
    ASSERT_TRUE(run.emulated.Emulator().Replug());
    EXPECT_EQ(run.Run("*IDN?"), "Norvale Devices,MXRG817A EVAL,FOUR-BLOCK,1.0.0");
}

TEST(InstrumentTest, MessageRunsUnitByUnitAndItsAnswersAreCapped) {
    InstrumentRun run;
    ClientSession other;
    run.instrument.Begin(run.client, "ODIV 2;ODIV?;ODIV 4;ODIV?");
    EXPECT_FALSE(run.instrument.Step(run.client));
    EXPECT_FALSE(run.instrument.Step(run.client));
    // Another client's unit runs in between and sees the first one's effect.
    EXPECT_EQ(run.Run("ODIV?", &other), "2");
    EXPECT_FALSE(run.instrument.Step(run.client));
    EXPECT_EQ(run.instrument.Step(run.client), std::optional<std::string>("2;4"));

    run.instrument.Begin(run.client, "ODIV 8;ODIV 16");
    EXPECT_FALSE(run.instrument.Step(run.client));
    Instrument::Abandon(run.client);
    EXPECT_FALSE(run.client.Running());
    EXPECT_EQ(run.Run("ODIV?"), "8");

    // Past 1 MiB of answers the rest of the message is not run and nothing is sent.
    std::string line;
    while (line.size() < 60000) line += ":PLAN:INP? 30MHZ;";
    line += "ODIV 32";
    EXPECT_EQ(run.Run(line), "");
    EXPECT_EQ(run.Run("SYST:ERR?;:ODIV?"), "-223,\"Too much data;the answers pass 1 MiB\";8");
}

TEST(InstrumentTest, EepromCrystalLoopFilterPlansAndJsonAnswers) {
    InstrumentRun run;
    EXPECT_EQ(run.Run("EEPR:COUN?;PROG;COUN?"), "0;1");
    EXPECT_EQ(run.Run("EEPR:PROG:LOCK 'yes';:EEPR:COUN?"), "170");
    EXPECT_EQ(run.Run("XTAL 30MHZ;XTAL?;XTAL MIN;XTAL?"), "3.0000000E+07;2.7351000E+07");
    EXPECT_EQ(run.Run("LFIL DEF,DEF;LFIL?;LFIL:WORD?"), "1.5,210.0,0.0,24.0,10.0;00074C");
    EXPECT_EQ(run.Run("PLAN:APPL 1GHZ;:FREQ:INP?;:PRESC?;ODIV?;VCO?"), "3.1250000E+07;2;1;1");
    EXPECT_EQ(run.Run("PLAN:OUTP? 1000MHZ"), "3.1250000E+07,\"1000.00Mhz,VCO=1,OD=1,P=2,FBD=32\"");
    const std::string plans = run.Run("PLAN:INP? 30MHZ");
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
