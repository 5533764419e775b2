// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The worst superposition by sign. A result is a permanent part plus parts
// that each act or not (a variable load on one region). Every result is
// linear in the loads, so at one section the largest sum takes every part
// whose value there is positive and the smallest every part whose value is
// negative; a part that is 0 there acts in neither.
//
// The parts may be polynomials (a line over a stretch where no part changes
// its sign): their coefficients are summed, and the value that decides is
// the part's value at one section of the stretch.

#include <array>
#include <cstddef>

namespace varno {

template<std::size_t N>
struct WorstBySign
{
    std::array<double, N> low{}, high{};   // the smallest and the largest sum
    unsigned lowParts = 0, highParts = 0;  // bit i: part i acts in it

    // A part that always acts.
    void always(const std::array<double, N> &part)
    {
        for (std::size_t k = 0; k < N; ++k) {
            low[k] += part[k];
            high[k] += part[k];
        }
    }

    // A part that acts where it makes the sum worse; `deciding` is its value
    // at the section that decides, `bit` its mark in the masks.
    void add(const std::array<double, N> &part, double deciding, unsigned bit = 0)
    {
        if (deciding == 0)
            return;
        std::array<double, N> &sum = deciding < 0 ? low : high;
        for (std::size_t k = 0; k < N; ++k)
            sum[k] += part[k];
        (deciding < 0 ? lowParts : highParts) |= bit;
    }

    // A single number decides by itself.
    void add(double part, unsigned bit = 0)
        requires(N == 1)
    {
        add(std::array<double, 1>{part}, part, bit);
    }
};

} // namespace varno
