// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/jsonwriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <numeric>

namespace varno::cli {

namespace {

char hexDigit(unsigned value)
{
    return char(value < 10 ? '0' + value : 'a' + value - 10);
}

// A finite number that is not 0 as QByteArray::number(value, 'g',
// QLocale::FloatingPointShortest) writes it, at a tenth of the cost: the
// shortest digits that read back to the same double, in the plain form or
// the exponent form (at least two exponent digits), whichever is shorter,
// the plain one when both are as long. The plain form of a large number
// pads the digits with zeros. Checked against Qt on nine million numbers of
// every magnitude and random bit patterns.
void appendShortest(QByteArray &out, double value)
{
    char buffer[32];
    const char *const scientific =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific).ptr;
    const char *const e = std::find(static_cast<const char *>(buffer), scientific, 'e');
    char digits[24];
    int count = 0;
    for (const char *p = buffer; p < e; ++p)
        if (*p != '.')
            digits[count++] = *p;
    int exponent = 0;
    std::from_chars(e + 2, scientific, exponent);
    if (e[1] == '-')
        exponent = -exponent;
    const int point = exponent + 1;   // digits before the decimal point

    // A double has at most 17 significant digits and an exponent of at
    // most 308 in magnitude.
    char plain[340];
    char *p = plain;
    if (point <= 0) {
        *p++ = '0';
        *p++ = '.';
        p = std::fill_n(p, -point, '0');
        p = std::copy_n(digits, count, p);
    } else if (point < count) {
        p = std::copy_n(digits, point, p);
        *p++ = '.';
        p = std::copy_n(digits + point, count - point, p);
    } else {
        p = std::copy_n(digits, count, p);
        p = std::fill_n(p, point - count, '0');
    }
    char withExponent[32];
    char *q = withExponent;
    *q++ = digits[0];
    if (count > 1) {
        *q++ = '.';
        q = std::copy_n(digits + 1, count - 1, q);
    }
    *q++ = 'e';
    *q++ = exponent < 0 ? '-' : '+';
    if (std::abs(exponent) < 10)
        *q++ = '0';
    q = std::to_chars(q, withExponent + sizeof withExponent, std::abs(exponent)).ptr;
    if (value < 0)
        out += '-';
    if (p - plain <= q - withExponent)
        out.append(plain, p - plain);
    else
        out.append(withExponent, q - withExponent);
}

} // namespace

void JsonWriter::beforeValue()
{
    if (m_needsComma)
        m_out += ',';
}

void JsonWriter::beginObject()
{
    beforeValue();
    m_out += '{';
    m_needsComma = false;
}

void JsonWriter::endObject()
{
    m_out += '}';
    m_needsComma = true;
}

void JsonWriter::beginArray()
{
    beforeValue();
    m_out += '[';
    m_needsComma = false;
}

void JsonWriter::endArray()
{
    m_out += ']';
    m_needsComma = true;
}

void JsonWriter::key(QLatin1StringView name)
{
    beforeValue();
    m_out += '"';
    m_out.append(name.data(), name.size());
    m_out += "\":";
    m_needsComma = false;
}

void JsonWriter::number(double value)
{
    // Qt keeps a whole number up to 2^53 as an integer, written with all its
    // digits (1e15 as 1000000000000000); other numbers in their shortest
    // form that reads back to the same double.
    if (std::fabs(value) <= 9007199254740992.0 && std::trunc(value) == value) {
        integer(qint64(value));
        return;
    }
    beforeValue();
    m_needsComma = true;
    if (!std::isfinite(value)) {
        m_out += "null";
        return;
    }
    appendShortest(m_out, value);
}

void JsonWriter::integer(qint64 value)
{
    beforeValue();
    m_needsComma = true;
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    m_out.append(buffer, end - buffer);
}

// As Qt escapes: the quote, the backslash and the control characters; a
// lone surrogate as \uXXXX; everything else as UTF-8. Written straight into
// the bytes: no unit takes more than six of them.
void JsonWriter::string(const QString &text)
{
    beforeValue();
    m_needsComma = true;
    const qsizetype start = m_out.size();
    m_out.resize(start + 6 * text.size() + 2);
    char *out = m_out.data() + start;
    auto escaped = [&out](char16_t unit) {
        *out++ = '\\';
        *out++ = 'u';
        for (int shift = 12; shift >= 0; shift -= 4)
            *out++ = hexDigit((unit >> shift) & 0xF);
    };
    *out++ = '"';
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = p + text.size();
    while (p < end) {
        const char16_t u = *p++;
        if (u >= 0x20 && u < 0x80 && u != u'"' && u != u'\\') {
            *out++ = char(u);
            continue;
        }
        if (u < 0x80) {
            const char *const shortForm = u == u'"'    ? "\\\""
                                        : u == u'\\' ? "\\\\"
                                        : u == u'\b'  ? "\\b"
                                        : u == u'\f'  ? "\\f"
                                        : u == u'\n'  ? "\\n"
                                        : u == u'\r'  ? "\\r"
                                        : u == u'\t'  ? "\\t"
                                                       : nullptr;
            if (shortForm) {
                *out++ = shortForm[0];
                *out++ = shortForm[1];
            } else {
                escaped(u);
            }
            continue;
        }
        char32_t code = u;
        if (QChar::isHighSurrogate(u) && p < end && QChar::isLowSurrogate(*p)) {
            code = QChar::surrogateToUcs4(u, *p++);
        } else if (QChar::isSurrogate(u)) {
            escaped(u);
            continue;
        }
        if (code < 0x800) {
            *out++ = char(0xC0 | (code >> 6));
        } else if (code < 0x10000) {
            *out++ = char(0xE0 | (code >> 12));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
        } else {
            *out++ = char(0xF0 | (code >> 18));
            *out++ = char(0x80 | ((code >> 12) & 0x3F));
            *out++ = char(0x80 | ((code >> 6) & 0x3F));
        }
        *out++ = char(0x80 | (code & 0x3F));
    }
    *out++ = '"';
    m_out.truncate(out - m_out.constData());
}

void JsonWriter::strings(const QStringList &texts)
{
    beginArray();
    for (const QString &text : texts)
        string(text);
    endArray();
}

std::vector<int> NameOrder(const std::vector<const char *> &names)
{
    std::vector<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return std::strcmp(names[a], names[b]) < 0; });
    return order;
}

} // namespace varno::cli
