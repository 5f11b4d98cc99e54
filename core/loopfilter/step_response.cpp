#include "core/loopfilter/step_response.h"

#include <algorithm>
#include <cmath>

#include "core/loopfilter/polynomial_roots.h"

namespace velorin::core {

namespace {

using Complex = std::complex<double>;

// A pole this close to the imaginary axis (relative to its size) counts as not decaying.
constexpr double kMarginalDamping = 1e-9;
// Poles closer than this (relative) are moved apart so that their residues stay finite; the
// error this makes in y is of the order of the separation.
constexpr double kCoincident = 1e-11;
constexpr double kSeparation = 1e-9;
// The overshoot search ends where no term can lift the error above this, samples each visible
// pole ten times per radian, and stops looking at a term once it is below kInvisible.
constexpr double kOvershootFloor = 1e-9;
constexpr double kSamplesPerRadian = 0.1;
constexpr double kInvisible = 1e-12;
constexpr long kMaxSamples = 100000;

double Error(const StepResponse &r, double t) {
    Complex sum = 0.0;
    for (size_t i = 0; i < r.poles.size(); ++i) sum += r.residues[i] * std::exp(r.poles[i] * t);
    return sum.real();
}

// Bound on |y(t) - 1| that falls monotonically with t.
double Envelope(const StepResponse &r, double t) {
    double sum = 0.0;
    for (size_t i = 0; i < r.poles.size(); ++i)
        sum += std::abs(r.residues[i]) * std::exp(r.poles[i].real() * t);
    return sum;
}

// Bound on |y'(t')| for every t' >= t.
double SlopeBound(const StepResponse &r, double t) {
    double sum = 0.0;
    for (size_t i = 0; i < r.poles.size(); ++i)
        sum += std::abs(r.residues[i] * r.poles[i]) * std::exp(r.poles[i].real() * t);
    return sum;
}

// Earliest time at which the envelope has fallen to the level.
double EnvelopeTime(const StepResponse &r, double level) {
    if (Envelope(r, 0.0) <= level) return 0.0;
    double slowest = 0.0;
    for (const Complex &p : r.poles) slowest = std::max(slowest, 1.0 / -p.real());
    double low = 0.0, high = slowest;
    for (int i = 0; i < 200 && Envelope(r, high) > level; ++i) {
        low = high;
        high *= 2.0;
    }
    for (int i = 0; i < 80; ++i) {
        const double mid = 0.5 * (low + high);
        (Envelope(r, mid) > level ? low : high) = mid;
    }
    return high;
}

void SeparateCoincidentRoots(std::vector<Complex> &z) {
    for (size_t i = 0; i < z.size(); ++i) {
        for (size_t j = i + 1; j < z.size(); ++j) {
            const double scale = std::max({std::abs(z[i]), std::abs(z[j]), 1.0});
            if (std::abs(z[i] - z[j]) < kCoincident * scale) {
                z[i] += kSeparation * scale;
                z[j] -= kSeparation * scale;
            }
        }
    }
}

}  // namespace

StepResponse ComputeStepResponse(const LoopModel &m) {
    StepResponse r;
    if (!m.defined || !(m.gain > 0.0)) return r;
    // In units of w0 = sqrt(K) the characteristic polynomial has coefficients near 1, and the
    // closed loop is (1 + a1 z) / (a4 z^4 + a3 z^3 + z^2 + a1 z + 1).
    const double w0 = std::sqrt(m.gain);
    const double a1 = m.t2 * w0, a3 = (m.t1 + m.t3) * w0, a4 = m.t1 * m.t3 * w0 * w0;
    std::vector<Complex> z = PolynomialRoots({1.0, a1, 1.0, a3, a4});
    SeparateCoincidentRoots(z);

    r.stable = !z.empty();
    for (const Complex &zi : z) {
        const Complex derivative = ((4.0 * a4 * zi + 3.0 * a3) * zi + 2.0) * zi + a1;
        const Complex residue = (1.0 + a1 * zi) / (zi * derivative);
        r.poles.push_back(w0 * zi);
        r.residues.push_back(residue);
        if (!(zi.real() < -kMarginalDamping * std::abs(zi)) || !std::isfinite(residue.real()) ||
            !std::isfinite(residue.imag())) {
            r.stable = false;
        }
    }
    return r;
}

double StepValue(const StepResponse &r, double t) {
    return 1.0 + Error(r, t);
}

std::optional<double> StepOvershoot(const StepResponse &r) {
    if (!r.stable) return std::nullopt;
    const double end = EnvelopeTime(r, kOvershootFloor);
    // A pole sets the sampling step only while its term is still visible, so a fast pole with
    // a small residue (tiny C1 or C3) costs fine steps near t = 0 only.
    std::vector<double> visibleUntil, breaks{end};
    for (size_t i = 0; i < r.poles.size(); ++i) {
        const double size = std::abs(r.residues[i]);
        const double until =
            size > kInvisible ? std::min(end, std::log(size / kInvisible) / -r.poles[i].real()) : 0;
        visibleUntil.push_back(until);
        if (until > 0.0) breaks.push_back(until);
    }
    std::sort(breaks.begin(), breaks.end());

    double best = -1.0, bestTime = 0.0, bestStep = 0.0, start = 0.0;
    for (double stop : breaks) {
        if (stop <= start) continue;
        double rate = 0.0;
        for (size_t i = 0; i < r.poles.size(); ++i) {
            if (visibleUntil[i] >= stop) rate = std::max(rate, std::abs(r.poles[i]));
        }
        if (rate == 0.0) break;
        const long steps = std::min(
            kMaxSamples, static_cast<long>(std::ceil((stop - start) * rate / kSamplesPerRadian)));
        const double dt = (stop - start) / static_cast<double>(steps);
        // exp(p t) advanced by one factor per sample instead of one exponential per sample.
        std::vector<Complex> term, factor;
        for (size_t i = 0; i < r.poles.size(); ++i) {
            term.push_back(r.residues[i] * std::exp(r.poles[i] * start));
            factor.push_back(std::exp(r.poles[i] * dt));
        }
        for (long k = 0; k <= steps; ++k) {
            Complex sum = 0.0;
            for (size_t i = 0; i < term.size(); ++i) {
                sum += term[i];
                term[i] *= factor[i];
            }
            if (sum.real() > best) {
                best = sum.real();
                bestTime = start + static_cast<double>(k) * dt;
                bestStep = dt;
            }
        }
        start = stop;
    }
    // Golden-section refinement of the best sample's neighbourhood.
    double low = std::max(0.0, bestTime - bestStep), high = bestTime + bestStep;
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    for (int i = 0; i < 60; ++i) {
        const double a = high - ratio * (high - low), b = low + ratio * (high - low);
        if (Error(r, a) > Error(r, b)) {
            high = b;
        } else {
            low = a;
        }
    }
    best = std::max(best, Error(r, 0.5 * (low + high)));
    return std::max(best, 0.0);
}

std::optional<double> StepLockTime(const StepResponse &r, double tolerance) {
    if (!r.stable || !(tolerance > 0.0)) return std::nullopt;
    // Walk back in time from where the envelope guarantees lock, in steps short enough that
    // the error provably stays inside the tolerance, until a sample lies outside it.
    double t = EnvelopeTime(r, tolerance);
    if (t <= 0.0) return 0.0;
    const double minStep = t * 1e-9;
    double v = std::fabs(Error(r, t));
    double h = t / 100.0;
    for (int step = 0; step < 1000000; ++step) {
        h = std::min(2.0 * h, t);
        const double slack = tolerance - v;
        while (h > minStep && h * SlopeBound(r, t - h) > slack) h *= 0.5;
        if (h <= minStep) h = std::min(minStep, t);
        const double earlier = t - h;
        const double vEarlier = std::fabs(Error(r, earlier));
        if (vEarlier > tolerance) {
            double outside = earlier, inside = t;
            for (int i = 0; i < 60; ++i) {
                const double mid = 0.5 * (outside + inside);
                (std::fabs(Error(r, mid)) > tolerance ? outside : inside) = mid;
            }
            return inside;
        }
        if (earlier <= 0.0) return 0.0;
        t = earlier;
        v = vEarlier;
    }
    return t;
}

}  // namespace velorin::core
