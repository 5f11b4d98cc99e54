// Lines across reads, CR LF, and a line over 64 KiB reported in its place.
#include "core/scpi/line_assembler.h"

#include <gtest/gtest.h>

namespace velorin::core::scpi {
namespace {

using Lines = std::vector<std::optional<std::string>>;

TEST(LineAssemblerTest, CutsLinesAcrossReadsAndDiscardsOverlongOnes) {
    LineAssembler lines;
    EXPECT_EQ(lines.Feed("*IDN?;BL"), Lines{});
    EXPECT_EQ(lines.Feed("OC?\r\n\nPRESC 2\n"), (Lines{"*IDN?;BLOC?", "", "PRESC 2"}));

    const std::string limit(LineAssembler::kMaxLine, 'x');
    EXPECT_EQ(lines.Feed(limit + "\n"), Lines{limit});
    EXPECT_EQ(lines.Feed(limit), Lines{});
    EXPECT_EQ(lines.Feed("yy"), Lines{std::nullopt});
    EXPECT_EQ(lines.Pending(), 0u);
    EXPECT_EQ(lines.Feed(limit + "\nBLOC?\n"), Lines{"BLOC?"});
}

}  // namespace
}  // namespace velorin::core::scpi
