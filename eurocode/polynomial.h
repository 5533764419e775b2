// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Polynomials of low degree as the lines of a beam are made of:
// p(t) = c[0] + c[1]·t + c[2]·t² + ..., with their roots and extremes on
// an interval, exactly up to rounding.

#include <array>
#include <cstddef>

namespace varno::ec {

template<std::size_t N>
using Poly = std::array<double, N>;

template<std::size_t N>
double Evaluate(const Poly<N> &c, double t)
{
    double v = c[N - 1];
    for (std::size_t k = N - 1; k-- > 0;)
        v = v * t + c[k];
    return v;
}

template<std::size_t N>
Poly<N> Derivative(const Poly<N> &c)
{
    Poly<N> d{};
    for (std::size_t k = 1; k < N; ++k)
        d[k - 1] = double(k) * c[k];
    return d;
}

// The same polynomial in s = t − d.
template<std::size_t N>
Poly<N> Shifted(Poly<N> c, double d)
{
    for (std::size_t k = 0; k + 1 < N; ++k)
        for (std::size_t j = N - 1; j-- > k;)
            c[j] += d * c[j + 1];
    return c;
}

// The roots of the polynomial of the given degree (at most 4) strictly
// inside (a, b), ascending; returns their number. A double root counts once.
int RootsInside(const double *c, int degree, double a, double b, double *roots);

// Where on [a, b] a polynomial of the given degree (at most 4) can take its
// extremes: a, the roots of its derivative inside, b. Returns their number.
int ExtremeCandidates(const double *c, int degree, double a, double b, double *at);

// An upper bound of |p| on [a, b].
template<std::size_t N>
double BoundOn(const Poly<N> &c, double a, double b)
{
    const double h = (b - a) / 2;
    const Poly<N> mid = Shifted(c, (a + b) / 2);
    double bound = 0, power = 1;
    for (std::size_t k = 0; k < N; ++k, power *= h)
        bound += (mid[k] < 0 ? -mid[k] : mid[k]) * power;
    return bound;
}

} // namespace varno::ec
