// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "eurocode/polynomial.h"

#include "analysis/quadratic.h"

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
        // The one quadratic root finder takes (0, b); an interval that
        // starts below 0 is moved there first.
        double r[2];
        if (a >= 0) {
            const int count = QuadraticRootsInside(c[0], c[1], c[2], b, r);
            for (int i = 0; i < count; ++i)
                take(r[i]);
        } else {
            const Poly<3> moved = Shifted(Poly<3>{c[0], c[1], c[2]}, a);
            const int count = QuadraticRootsInside(moved[0], moved[1], moved[2], b - a, r);
            for (int i = 0; i < count; ++i)
                take(r[i] + a);
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
