// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/projectmodel.h"

#include <QRegularExpression>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace varno {

namespace {

bool isIgnoredBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The usual text, a plain decimal ("6", "-12.75") of at most 15 digits, read
// without collecting it first: its digits form an integer below 2^53 and
// 10^decimals is exact, so the one division rounds correctly and gives the
// double std::from_chars gives. Anything else (blanks after the start, an
// exponent, more digits, a second sign) is left to the full reader.
std::optional<double> plainDecimal(QStringView text)
{
    static constexpr double PowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const QChar *p = text.begin();
    const QChar *const end = text.end();
    while (p != end && isIgnoredBlank(*p))   // right-aligned table fields
        ++p;
    const bool negative = p != end && *p == u'-';
    if (p != end && (*p == u'-' || *p == u'+'))
        ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; p != end; ++p) {
        const char16_t c = p->unicode();
        if (c >= u'0' && c <= u'9') {
            if (++digits > 15)
                return std::nullopt;
            mantissa = mantissa * 10 + (c - u'0');
            decimals += point ? 1 : 0;
        } else if (c == u'.' && !point) {
            point = true;
        } else if (isIgnoredBlank(*p) || c == u'e' || c == u'E' || c == u'd' || c == u'D' || c == u'+'
                   || c == u'-') {
            return std::nullopt;
        } else {
            break;   // the number ends here, as in the full reader
        }
    }
    if (digits == 0)
        return std::nullopt;
    const double value = double(mantissa) / PowersOfTen[decimals];
    return negative ? -value : value;
}

} // namespace

ProjectTexts ProjectTexts::Defaults()
{
    ProjectTexts t;
    for (int i = 0; i < RegionCount; ++i)
        t.lengths[i] = texts::DefaultLengths[i];
    for (auto &region : t.uniform) {
        region[LoadG] = QStringLiteral("2.00");
        region[LoadQ] = region[LoadS] = region[LoadW] = QStringLiteral("0.00");
    }
    t.force.fill(QStringLiteral("0"));
    t.distance.fill(QStringLiteral("0"));
    t.timberGrade = 1;
    t.steelGrade = 0;
    return t;
}

double ProjectTexts::length(int index) const
{
    return LeadingNumber(lengths[index]);
}

double ProjectTexts::uniformLoad(int region, int loadType) const
{
    return LeadingNumber(uniform[region - 1][loadType]);
}

double ProjectTexts::uniformLoadSum(int region) const
{
    double sum = 0.0;
    for (int k = 0; k < LoadTypeCount; ++k)
        sum += uniformLoad(region, k);
    return sum;
}

double ProjectTexts::pointForce(int slot) const
{
    return LeadingNumber(force[slot]);
}

double ProjectTexts::pointDistance(int slot) const
{
    return LeadingNumber(distance[slot]);
}

double LeadingNumber(QStringView text)
{
    if (const std::optional<double> plain = plainDecimal(text))
        return *plain;
    // Collect the characters that form the leading number, skipping blanks,
    // then let the C library convert the clean text.
    std::string number;
    enum class State { Sign, Mantissa, ExponentSign, ExponentDigits } state = State::Sign;
    bool seenPoint = false;
    bool seenDigit = false;
    std::size_t beforeExponent = 0;
    for (QChar c : text) {
        if (isIgnoredBlank(c))
            continue;
        if (state == State::Sign) {
            state = State::Mantissa;
            if (c == u'+' || c == u'-') {
                number += char(c.unicode());
                continue;
            }
        }
        if (state == State::Mantissa) {
            if (isDigit(c)) {
                number += char(c.unicode());
                seenDigit = true;
                continue;
            }
            if (c == u'.' && !seenPoint) {
                number += '.';
                seenPoint = true;
                continue;
            }
            if (seenDigit && (c == u'E' || c == u'e' || c == u'D' || c == u'd')) {
                beforeExponent = number.size();
                number += 'e';
                state = State::ExponentSign;
                continue;
            }
            break;
        }
        if (state == State::ExponentSign) {
            state = State::ExponentDigits;
            if (c == u'+' || c == u'-') {
                number += char(c.unicode());
                continue;
            }
        }
        if (isDigit(c)) {
            number += char(c.unicode());
            continue;
        }
        break;
    }
    if (!seenDigit)
        return 0.0;
    // An exponent marker without digits does not belong to the number.
    if (state == State::ExponentSign
        || (state == State::ExponentDigits && !std::isdigit(static_cast<unsigned char>(number.back()))))
        number.resize(beforeExponent);
    // std::from_chars reads "." whatever the user's locale (the C library's
    // strtod would expect a decimal comma under a German locale), and without
    // the allocation of a QByteArray: every analysis reads about a hundred
    // texts, so this conversion is most of its time. It takes no "+".
    const char *first = number.data();
    const char *last = first + number.size();
    if (*first == '+')
        ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error == std::errc() && end == last)
        return value;
    // Out of range. Whether it is an overflow (an infinity, which the
    // analysis refuses and the pictures guard) or an underflow (0, or the
    // nearest tiny number) depends on the digits and the exponent together:
    // "0." with 400 zeros and a 1 is tiny, "1" with 500 zeros and "e-10" is
    // huge. The C library's conversion in the C locale weighs both.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

bool IsNumericText(QStringView text)
{
    // Blanks, tabs and line feeds around the number, the characters
    // LeadingNumber skips. Anchored at the very end: "$" alone would also
    // accept one line feed but not two.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral(R"([ \t\n]*[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([EeDd][+-]?[0-9]+)?[ \t\n]*)")));
    return pattern.match(text.toString()).hasMatch();
}

QString FormatFixed(double value, int decimals, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QStringLiteral("n. def.");
    // A locale without group separators, made once per locale: every
    // analysis formats some thirty numbers, and copying and changing a
    // QLocale each time was most of the analysis's time.
    struct PlainLocale
    {
        QLocale source;
        QLocale plain;
        QString negativeSign;
    };
    static thread_local std::optional<PlainLocale> cache;
    if (!cache || cache->source != locale) {
        QLocale plain = locale;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        cache = PlainLocale{locale, plain, plain.negativeSign()};
    }
    QString out = cache->plain.toString(value, 'f', decimals);
    // "-0.00" says nothing a user can act on; show the zero without sign.
    if (out.startsWith(cache->negativeSign)) {
        bool allZero = true;
        for (QChar c : out)
            if (c.isDigit() && c != u'0')
                allZero = false;
        if (allZero)
            out.remove(0, cache->negativeSign.size());
    }
    return out;
}

} // namespace varno
