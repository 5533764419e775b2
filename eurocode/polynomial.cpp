// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/polynomial.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varno::ec {

namespace {

double value(const double *c, int degree, double t)
{
    double v = c[degree];
    for (int k = degree - 1; k >= 0; --k)
        v = v * t + c[k];
    return v;
}

double slope(const double *c, int degree, double t)
{
    double v = degree * c[degree];
    for (int k = degree - 1; k >= 1; --k)
        v = v * t + k * c[k];
    return v;
}

// The root of p on [a, b], where p is monotone and p(a), p(b) have opposite
// signs: Newton steps that stay inside the bracket, bisection otherwise.
double rootInBracket(const double *c, int degree, double a, double b, double pa)
{
    double t = 0.5 * (a + b);
    for (int i = 0; i < 200; ++i) {
        const double pt = value(c, degree, t);
        if (pt == 0)
            return t;
        if ((pt < 0) == (pa < 0)) {
            a = t;
            pa = pt;
        } else {
            b = t;
        }
        const double d = slope(c, degree, t);
        double next = d != 0 ? t - pt / d : 0.5 * (a + b);
        if (!(next > a && next < b))
            next = 0.5 * (a + b);
        if (next == t || b - a <= 4 * std::numeric_limits<double>::epsilon() * std::max(std::fabs(a), std::fabs(b)))
            return next;
        t = next;
    }
    return t;
}

// Both roots of c0 + c1·t + c2·t² (c2 ≠ 0), scaled first so that the
// discriminant of large coefficients stays finite; false when there are none.
bool quadraticRoots(double c0, double c1, double c2, double &r0, double &r1)
{
    const double s = std::max({std::fabs(c0), std::fabs(c1), std::fabs(c2)});
    c0 /= s;
    c1 /= s;
    c2 /= s;
    const double d = c1 * c1 - 4 * c2 * c0;
    if (d < 0)
        return false;
    // The root of larger magnitude without cancellation, the other by Vieta.
    const double q = -0.5 * (c1 + std::copysign(std::sqrt(d), c1));
    if (q == 0) {
        r0 = r1 = 0;
        return true;
    }
    r0 = q / c2;
    r1 = c0 / q;
    if (r0 > r1)
        std::swap(r0, r1);
    return true;
}

} // namespace

int RootsInside(const double *c, int degree, double a, double b, double *roots)
{
    while (degree > 0 && c[degree] == 0)
        --degree;
    if (degree == 0 || !(a < b))
        return 0;
    int n = 0;
    auto take = [&](double t) {
        if (t > a && t < b && (n == 0 || t > roots[n - 1]))
            roots[n++] = t;
    };
    if (degree == 1) {
        take(-c[0] / c[1]);
        return n;
    }
    if (degree == 2) {
        double r0 = 0, r1 = 0;
        if (quadraticRoots(c[0], c[1], c[2], r0, r1)) {
            take(r0);
            take(r1);
        }
        return n;
    }
    // Between the roots of the derivative the polynomial is monotone.
    double d[4];
    for (int k = 1; k <= degree; ++k)
        d[k - 1] = k * c[k];
    double split[5];
    int count = 0;
    split[count++] = a;
    count += RootsInside(d, degree - 1, a, b, split + 1);
    split[count++] = b;
    for (int i = 0; i + 1 < count; ++i) {
        const double u = split[i], v = split[i + 1];
        const double pu = value(c, degree, u), pv = value(c, degree, v);
        if (i > 0 && pu == 0)
            take(u);
        else if ((pu < 0 && pv > 0) || (pu > 0 && pv < 0))
            take(rootInBracket(c, degree, u, v, pu));
    }
    return n;
}

int ExtremeCandidates(const double *c, int degree, double a, double b, double *at)
{
    int n = 0;
    at[n++] = a;
    if (degree >= 2) {
        double d[4];
        for (int k = 1; k <= degree; ++k)
            d[k - 1] = k * c[k];
        n += RootsInside(d, degree - 1, a, b, at + n);
    }
    if (b > a)
        at[n++] = b;
    return n;
}

} // namespace varno::ec
