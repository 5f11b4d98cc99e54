// The SCPI grammar: units and parameters, header resolution under the path rule, parameter
// values, and the status model.
#include <gtest/gtest.h>

#include "core/scpi/client_status.h"
#include "core/scpi/command_tree.h"
#include "core/scpi/parameter_values.h"
#include "core/scpi/program_message.h"
#include "core/scpi/status_registers.h"

namespace velorin::core::scpi {
namespace {

TEST(ScpiMessageTest, SplitsUnitsOutsideQuotesAndReadsParameters) {
    const auto units = SplitUnits(R"(A "x;y";; B 'it''s' ;C 1, 2 ,MAX)");
    ASSERT_EQ(units.size(), 3u);
    ProgramUnit unit;
    Error error;
    ASSERT_TRUE(ParseUnit(units[0], unit, error));
    ASSERT_EQ(unit.parameters.size(), 1u);
    EXPECT_EQ(unit.parameters[0].text, "x;y");
    EXPECT_TRUE(unit.parameters[0].quoted);
    ASSERT_TRUE(ParseUnit(units[1], unit, error));
    EXPECT_EQ(unit.parameters[0].text, "it's");
    ASSERT_TRUE(ParseUnit(units[2], unit, error));
    ASSERT_EQ(unit.parameters.size(), 3u);
    EXPECT_EQ(unit.parameters[2].text, "MAX");

    ASSERT_TRUE(ParseUnit(":syst:err:next?", unit, error));
    EXPECT_TRUE(unit.absolute);
    EXPECT_TRUE(unit.query);
    EXPECT_EQ(unit.mnemonics, (std::vector<std::string>{"syst", "err", "next"}));
}

TEST(ScpiMessageTest, MalformedUnitsAreSyntaxErrors) {
    for (const char *text : {"PRESC,3", "PRESC 3,", "PRESC ,3", "PRESC \"open", "PRESC \"a\"b",
                             "SYST:?", "SYST::ERR?", "*", "*ID1?", "1PRESC", "PRESC 3 4",
                             "OUTP:TYPE LV\x01", "FREQ:INP 30 MHZ 1", "FREQ:INP MHZ 30"}) {
        ProgramUnit unit;
        Error error;
        EXPECT_FALSE(ParseUnit(text, unit, error)) << text;
        EXPECT_EQ(error.code, kSyntaxError) << text;
    }
}

TEST(ScpiHeaderTest, ResolvesFormsOptionalNodesSuffixesAndThePath) {
    CommandTree tree;
    const int outputState = tree.Add("OUTPut#[:STATe]", false);
    const int outputType = tree.Add("OUTPut#:TYPE", false);
    const int termination = tree.Add("OUTPut#:TERMination", false);
    const int errorNext = tree.Add("SYSTem:ERRor[:NEXT]", true);
    const int errorCount = tree.Add("SYSTem:ERRor:COUNt", true);
    const int identify = tree.Add("*IDN", true);
    const int prescaler = tree.Add("PRESCaler", false);

    struct Case {
        const char *line;
        std::vector<int> commands;  // -1: not resolved
        int lastSuffix;
    };
    const Case cases[] = {
        {"outp on", {outputState}, 1},
        {"OUTPUT:STATE ON", {outputState}, 1},
        {"Outp2:Stat ON", {outputState}, 2},
        {"OUTP:TYPE LVDS;TERM ON", {outputType, termination}, 1},
        {"OUTP3:TYPE LVDS;*IDN?;TERM ON", {outputType, identify, termination}, 3},
        {"OUTP:TYPE LVDS;:PRESC 3", {outputType, prescaler}, 1},
        // No falling back to the root after ';'.
        {"OUTP:TYPE LVDS;PRESC 3", {outputType, -1}, 1},
        {"OUTP:TYPE LVDS;TYPE LVDS", {outputType, outputType}, 1},
        {"SYST:ERR?;COUN?", {errorNext, -1}, 1},
        {"SYST:ERR:COUN?;:SYST:ERR:NEXT?", {errorCount, errorNext}, 1},
        {"PRES 2", {-1}, 1},
        {"PRESC3 2", {-1}, 1},
        {"OUTP0 ON", {-1}, 1},
        {"PRESC?", {-1}, 1},
        {"PRESCA 2", {-1}, 1},
        {"*idn?", {identify}, 1},
    };
    for (const Case &c : cases) {
        std::vector<std::string> path;
        std::vector<int> got;
        int lastSuffix = 0;
        for (std::string_view text : SplitUnits(c.line)) {
            ProgramUnit unit;
            Error error;
            ASSERT_TRUE(ParseUnit(text, unit, error)) << c.line;
            const auto found = tree.Resolve(unit, path);
            got.push_back(found ? found->command : -1);
            if (found && !found->suffixes.empty()) lastSuffix = found->suffixes.front();
        }
        EXPECT_EQ(got, c.commands) << c.line;
        if (got.back() >= 0) {
            EXPECT_EQ(lastSuffix, c.lastSuffix) << c.line;
        }
    }
}

TEST(ScpiValueTest, DecimalForms) {
    struct Case {
        const char *text;
        std::optional<double> value;
    };
    const Case cases[] = {{"5", 5},     {"+5", 5},    {"-0.5", -0.5},    {".5", 0.5},
                          {"5.", 5},    {"5E0", 5},   {"5.0e-3", 0.005}, {"1E+2", 100},
                          {"", {}},     {".", {}},    {"5E", {}},        {"5 ", {}},
                          {"0x10", {}}, {"5MHz", {}}, {"1e999", {}},     {"--5", {}}};
    for (const Case &c : cases) EXPECT_EQ(ParseDecimal(c.text), c.value) << c.text;
}

TEST(ScpiValueTest, NumbersKeywordsAndBooleans) {
    const NumericRange range{2, 5, 5, true};
    struct Case {
        Parameter parameter;
        std::optional<double> value;
        int code;
    };
    const Case cases[] = {
        {{"3", false}, 3, 0},         {{"min", false}, 2, 0},   {{"MAXIMUM", false}, 5, 0},
        {{"DEF", false}, 5, 0},       {{"6", false}, {}, -222}, {{"2.5", false}, {}, -224},
        {{"three", false}, {}, -224}, {{"3", true}, {}, -224},  {{"MAXI", false}, {}, -224},
    };
    for (const Case &c : cases) {
        Error error;
        EXPECT_EQ(ParseNumber(c.parameter, range, error), c.value) << c.parameter.text;
        EXPECT_EQ(error.code, c.code) << c.parameter.text;
    }
    Error error;
    EXPECT_FALSE(ParseNumber({"DEF", false}, NumericRange{0, 1, {}, false}, error));

    // Quantities: suffixes of their own unit only, the range in the base unit.
    const NumericRange frequency{1e6, 50e6, 30e6, false, Quantity::Frequency};
    const Case suffixed[] = {
        {{"30 MHZ", false}, 30e6, 0},  {{"30000khz", false}, 30e6, 0},
        {{"3E7", false}, 3e7, 0},      {{"def", false}, 30e6, 0},
        {{"30UA", false}, {}, -131},   {{"30 XHZ", false}, {}, -131},
        {{"30 GHZ", false}, {}, -222}, {{"MHZ", false}, {}, -224},
    };
    for (const Case &c : suffixed) {
        Error e;
        EXPECT_EQ(ParseNumber(c.parameter, frequency, e), c.value) << c.parameter.text;
        EXPECT_EQ(e.code, c.code) << c.parameter.text;
    }
    ProgramUnit unit;
    ASSERT_TRUE(ParseUnit("FREQ:INP 30 MHZ", unit, error));
    EXPECT_EQ(unit.parameters.at(0).text, "30 MHZ");
    EXPECT_EQ(FormatNr3(3e7), "3.0000000E+07");
    EXPECT_EQ(FormatNr3(224e-6), "2.2400000E-04");

    EXPECT_EQ(ParseBoolean({"on", false}), true);
    EXPECT_EQ(ParseBoolean({"OFF", false}), false);
    EXPECT_EQ(ParseBoolean({"1.0", false}), true);
    EXPECT_EQ(ParseBoolean({"0", false}), false);
    EXPECT_EQ(ParseBoolean({"2", false}), std::nullopt);
    EXPECT_EQ(ParseBoolean({"ON", true}), std::nullopt);
}

TEST(ScpiStatusTest, QueueOverflowsIntoItsLastEntryAndSetsTheClassBits) {
    ClientStatus status;
    for (int i = 0; i < 12; ++i) status.Report(Error{kSyntaxError, std::to_string(i)});
    status.Report(Error{kHardwareError, "RAM write of block A failed"});
    EXPECT_EQ(status.Errors().Count(), ErrorQueue::kCapacity);
    status.SetEventStatusEnable(0x10);
    status.SetServiceRequestEnable(0xFF);
    EXPECT_EQ(status.StatusByte(false, false, false), 0x04 | 0x20 | 0x40);
    EXPECT_EQ(status.StatusByte(false, true, true), 0x04 | 0x08 | 0x20 | 0x40 | 0x80);
    EXPECT_EQ(status.TakeEventStatus(), 0x20 | 0x10 | 0x08);
    EXPECT_EQ(status.TakeEventStatus(), 0);
    EXPECT_EQ(status.ServiceRequestEnable(), 0xBF);

    EXPECT_EQ(FormatError(status.Errors().Pop()), "-102,\"Syntax error;0\"");
    for (int i = 1; i < 9; ++i) status.Errors().Pop();
    EXPECT_EQ(FormatError(status.Errors().Pop()), "-350,\"Queue overflow\"");
    EXPECT_EQ(FormatError(status.Errors().Pop()), "0,\"No error\"");
    EXPECT_EQ(FormatError(Error{kIllegalParameterValue, "say \"YES\""}),
              "-224,\"Illegal parameter value;say \"\"YES\"\"\"");
}

TEST(ScpiStatusTest, RegistersLatchRisingEdgesUntilReadAndSummariseWhenEnabled) {
    StatusRegisters registers;
    StatusRegister &ques = registers.questionable;
    ques.Update(kQuesVoltage);
    ques.Update(kQuesVoltage | kQuesFrequency);
    ques.Update(0);
    EXPECT_EQ(ques.Condition(), 0);
    EXPECT_FALSE(ques.Summary());  // nothing enabled
    ques.SetEnable(kQuesFrequency);
    EXPECT_TRUE(ques.Summary());
    EXPECT_EQ(ques.TakeEvent(), kQuesVoltage | kQuesFrequency);
    EXPECT_EQ(ques.TakeEvent(), 0);
    ques.Update(kQuesVoltage);  // a condition that stays set latches once
    ques.Update(kQuesVoltage);
    EXPECT_EQ(ques.TakeEvent(), kQuesVoltage);
    EXPECT_EQ(ques.TakeEvent(), 0);

    registers.operation.SetEnable(1);
    registers.Preset();
    EXPECT_EQ(ques.Enable(), 0);
    EXPECT_EQ(registers.operation.Enable(), 0);
}

}  // namespace
}  // namespace velorin::core::scpi
