// Complex roots of a real polynomial of low degree.
#pragma once

#include <complex>
#include <vector>

namespace velorin::core {

// The coefficients: a[k] multiplies x^k. Zero leading coefficients are dropped first. Uses the
// simultaneous Aberth-Ehrlich iteration, which copes with roots many decades apart.
std::vector<std::complex<double>> PolynomialRoots(std::vector<double> a);

}  // namespace velorin::core
