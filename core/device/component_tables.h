// Selectable loop-filter component values, indexed by register code.
#pragma once

#include <array>

namespace velorin::core {

constexpr int kC1Codes = 32;
constexpr int kC2Codes = 32;
constexpr int kC3Codes = 16;
constexpr int kR2Codes = 32;

struct LoopFilterTables {
    std::array<double, kC1Codes> c1{};  // pF
    std::array<double, kC2Codes> c2{};  // pF
    std::array<double, kC3Codes> c3{};  // pF
    std::array<double, kR2Codes> r2{};  // kOhm
};

// Builds the four tables from the per-bit weights of each component.
LoopFilterTables BuildLoopFilterTables();

// The program-wide tables, built once on first use.
const std::array<double, kC1Codes> &C1Values();
const std::array<double, kC2Codes> &C2Values();
const std::array<double, kC3Codes> &C3Values();
const std::array<double, kR2Codes> &R2Values();

}  // namespace velorin::core
