// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

// The material and profile table readers and RunDesign on tables made from
// the fuzz input, with a ResultSet, width, limits, series and grades decoded
// from it. Every run ends, and no number the design formats is "inf", "nan"
// or the placeholder of a value that is not finite.
#include "model/projectmodel.h"
#include "design/design.h"
#include "presentation/captions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>
#include <initializer_list>

using namespace varno;

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A finite result value: mostly ordinary numbers, sometimes the ends of the
// double range (an analysis that is not refused gives only finite values).
double decodeResult(FuzzedDataProvider &in)
{
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:
        return 0;
    case 1:
        return in.ConsumeFloatingPointInRange<double>(-1000, 1000);
    case 2:
        return 1e308;
    case 3:
        return -1e308;
    case 4:
        return 1e-308;
    case 5:
        return 4.9e-324;
    default:
        return in.ConsumeFloatingPoint<double>();
    }
}

bool contains(const QString &text, const char *word)
{
    return text.contains(QLatin1String(word), Qt::CaseInsensitive);
}

bool showsNoNumberFault(const QString &text)
{
    return !contains(text, "inf") && !contains(text, "nan") && !contains(text, "n. def.");
}

void writeFile(const QString &path, const std::string &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    static const QLocale german(QLocale::German, QLocale::Germany);
    check(folder.isValid());
    FuzzedDataProvider in(data, size);

    ResultSet r;
    for (double *v : {&r.L1, &r.L2, &r.L3, &r.Lkl, &r.Lkr, &r.MA, &r.MB, &r.MC, &r.MD, &r.MF1, &r.MF2, &r.MF3,
                      &r.xF1, &r.xF2, &r.xF3, &r.Ali, &r.Are, &r.Bli, &r.Bre, &r.Cli, &r.Cre, &r.Dli, &r.Dre,
                      &r.EIf1, &r.EIf2, &r.EIf3, &r.EIwKl, &r.EIwKr})
        *v = decodeResult(in);

    DesignInputs inputs;
    inputs.series = in.ConsumeIntegralInRange<int>(-1, 3);
    const int timberGrade = in.ConsumeIntegralInRange<int>(-1, TimberGradeCount);
    const int steelGrade = in.ConsumeIntegralInRange<int>(-1, SteelGradeCount);
    const QLocale &locale = in.ConsumeBool() ? german : QLocale::c();
    const bool keepDefaults = in.ConsumeBool();

    // Texts from the front of the input: width, the two limits, then the
    // material file, the rest is the profile table.
    if (!keepDefaults) {
        inputs.widthText = QString::fromStdString(in.ConsumeRandomLengthString(16));
        inputs.spanLimitText = QString::fromStdString(in.ConsumeRandomLengthString(16));
        inputs.cantileverLimitText = QString::fromStdString(in.ConsumeRandomLengthString(16));
    }
    const std::string material = in.ConsumeRandomLengthString(8192);
    const std::string profiles = in.ConsumeRemainingBytesAsString();

    const QString materialPath = MaterialTablePath(folder.path());
    inputs.profileTablePath = ProfileTablePath(folder.path());
    writeFile(materialPath, material);
    writeFile(inputs.profileTablePath, profiles);

    bool readable = false;
    inputs.timberValues = ReadTimberValues(materialPath, timberGrade, &readable);
    check(readable);
    inputs.steelValues = ReadSteelValues(materialPath, steelGrade, &readable);
    check(readable);
    check(inputs.steelValues.size() <= 8);

    // A text quoted from the files or the fields may say anything; the
    // numbers the design formats itself must not show a fault.
    const bool quotesAreClean = showsNoNumberFault(QString::fromLatin1(material.data(), qsizetype(material.size())))
        && showsNoNumberFault(QString::fromLatin1(profiles.data(), qsizetype(profiles.size())))
        && showsNoNumberFault(inputs.widthText) && showsNoNumberFault(inputs.spanLimitText)
        && showsNoNumberFault(inputs.cantileverLimitText);

    // Twice with one state: the second run starts from the profile holder
    // the first one left, as a change of the width in the results window does.
    DesignState state;
    for (int run = 0; run < 2; ++run) {
        const DesignTexts out = DesignCaptions(RunDesign(r, inputs, state, locale), locale);
        check(std::isfinite(state.GoverningMoment) && std::isfinite(state.GoverningShear));
        for (const auto &text : {out.timberWy, out.timberHeight, out.steelWy})
            if (text)
                check(showsNoNumberFault(*text));
        if (quotesAreClean) {
            for (const auto &text : {out.timberVerdict, out.steelProfile, out.steelVerdict})
                if (text)
                    check(showsNoNumberFault(*text));
            check(showsNoNumberFault(out.failure));
        }
        // A failed design says so in the window and in one message.
        if (out.timberVerdict && out.timberVerdict->contains(QLatin1String("keine Bemessung")))
            check(!out.failure.isEmpty());
        if (out.steelVerdict && out.steelVerdict->contains(QLatin1String("keine Bemessung")))
            check(!out.failure.isEmpty());
    }
    return 0;
}
