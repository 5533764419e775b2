// SPDX-FileCopyrightText: The Varno authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The values of the Eurocode check, read from the CSV files beside the
// program: each value keeps the key that names it and whether a citable
// source stands behind it. A missing or unreadable value is a problem that
// names file, line and column; it never becomes a default.

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace varno::ec {

// A value with the key of its row and whether its row has a source
// (status "sourced" or "derived"; false for "not found in a citable source").
struct Value
{
    double value = 0;
    QString key;
    bool cited = true;
};

// Where a value is missing, unreadable or unusable. line 0: the file itself
// (missing, unreadable, too large, or a key no row holds: then `column`
// holds that key).
struct DataProblem
{
    enum Kind {
        NoFile,
        NoHeader,
        NoColumn,
        BadNumber,
        BadRow,
        NoKey,
        NotPositive,   // a number that must be greater than 0 (or, for ψ, not below 0)
        Duplicate,     // a key or name a row before holds already (`firstLine` in `firstFile`)
        TooLarge,      // a file beyond MaxDataFileBytes, not read
    };
    DataProblem() = default;
    DataProblem(Kind k, QString inFile, int atLine, QString inColumn = {}, QString withText = {},
                QString first = {}, int firstAt = 0)
        : kind(k), file(std::move(inFile)), line(atLine), column(std::move(inColumn)), text(std::move(withText)),
          firstFile(std::move(first)), firstLine(firstAt)
    {
    }

    Kind kind = BadNumber;
    QString file;       // file name, without folder
    int line = 0;       // 1-based line of the file
    QString column;     // the column, or the key looked for
    QString text;       // the text that could not be read or used
    QString firstFile;  // Duplicate: where the first row with the key is
    int firstLine = 0;
};

// The data files are a few kilobytes; a file beyond this (a device, a
// foreign file) is not read at all.
constexpr qint64 MaxDataFileBytes = 16 * 1024 * 1024;

// Load-duration classes, longest first.
enum Duration { Permanent, LongTerm, MediumTerm, ShortTerm, ShortInstantaneous, Instantaneous, DurationCount };

// "permanent", "long", ... as the data files write them.
std::optional<Duration> DurationByName(const QString &name);
QLatin1String DurationName(Duration d);

struct TimberClass
{
    QString name;
    bool glulam = false;
    Value fmk, fvk, E0mean, E005, Gmean, rhok;   // N/mm², kg/m³
    Value fc90k;                                 // N/mm²
};

struct SteelGrade
{
    QString name;
    Value fy, fu, E, gammaM0, gammaM1;           // N/mm²
};

struct Profile
{
    QString designation;     // "IPE 200"
    QString series;          // "IPE", "HEA", "HEB"
    QString key;             // profile.IPE200
    bool cited = true;
    double h = 0, b = 0, tw = 0, tf = 0, r = 0;  // mm
    double Wpl = 0, Av = 0, A = 0, Iy = 0;       // cm³, cm², cm², cm⁴
    double Iz = 0, It = 0, Iw = 0;               // cm⁴, cm⁴, cm⁶
    double mass = 0;                             // kg/m
};

struct Data
{
    std::vector<TimberClass> timber;
    std::vector<SteelGrade> steel;
    std::vector<Profile> profiles;               // in file order: by series, smallest first
    QHash<QString, Value> values;                // every keyed factor, limit and ψ
    QHash<QString, QString> valueFile;           // key -> file it came from
    QHash<QString, Value> durations;             // kled.* -> value = Duration
    QHash<QString, Value> gradeMapping;          // DIN grade name -> value.key (class name in `ecClass`)
    QHash<QString, QString> ecClassOfGrade;      // DIN grade name -> EN class ("" when none)

    const TimberClass *timberClass(const QString &name) const;
    const SteelGrade *steelGrade(const QString &name) const;
    const Profile *profile(const QString &designation) const;
};

// The file names the check reads.
inline const char *const DataFileNames[] = {"timber_classes.csv", "timber_factors.csv", "actions.csv",
                                            "load_duration.csv", "steel_grades.csv", "steel_profiles_ec.csv",
                                            "deflection_limits.csv", "steel_classification.csv",
                                            "timber_grade_mapping.csv", "steel_stability.csv"};

// Reads every file of the folder. Problems are appended; rows with a
// problem are left out.
Data ReadData(const QString &directory, std::vector<DataProblem> &problems);

// The fields of one CSV line ("," separated, "" quotes); false when a
// quoted field does not end on the line.
bool SplitCsvLine(const QString &line, QStringList &fields);

// A keyed value the check needs; a missing key adds a NoKey problem naming
// the file it belongs in.
class Lookup
{
public:
    Lookup(const Data &data, std::vector<DataProblem> &problems) : data_(data), problems_(problems) {}
    Value value(const QString &key);
    std::optional<Duration> duration(const QString &key, Value *used = nullptr);
    bool failed() const { return failed_; }

private:
    const Data &data_;
    std::vector<DataProblem> &problems_;
    bool failed_ = false;
};

} // namespace varno::ec
