// SPDX-License-Identifier: MIT
#pragma once
// One session as the logs keep it, and its two text forms. The data form is
// what `LogData.log` holds and what the analyser reads back, so both sides use
// the renderers and parsers declared here.

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <optional>

namespace core::session {

inline constexpr int kValuesPerRecord = 6;
inline constexpr char kSeparator[] = "----------";
inline constexpr char kLineEnd[] = "\r\n";
inline constexpr char kLogFileName[] = "Log.log";
inline constexpr char kDataLogFileName[] = "LogData.log";

struct SessionRecord
{
    QDate endDate;                      // value 2: the day the session ended
    QTime startTime;                    // value 3
    QTime endTime;                      // value 4
    std::optional<double> elapsedSecs;  // value 5: empty before the first tick
    QString clockText;                  // value 6: empty before the first tick

    friend bool operator==(const SessionRecord &, const SessionRecord &) = default;
};

// Data form of single values (no line end).
QByteArray dataText(const QString &text);       // "text" in double quotes
QByteArray dataDate(const QDate &date);         // #yyyy-mm-dd#
QByteArray dataTime(const QTime &time);         // #hh:mm:ss#
QByteArray dataNumber(std::optional<double> v); // full stop, 15 digits; empty

// The six lines of a record, each ending in CR LF.
QByteArray dataForm(const SessionRecord &record);
// The human-readable record: display forms in the user's formats, except the
// elapsed seconds, which keep the data form.
QByteArray displayForm(const SessionRecord &record, const QLocale &locale = QLocale());

// Reading values back from the data form. A line is given without its line
// end; surrounding blanks are allowed.
std::optional<QDate> parseDataDate(QByteArrayView line);
std::optional<QTime> parseDataTime(QByteArrayView line);
// nullopt for a line that is not a number; an empty line is reported through
// `isEmptyValue`.
std::optional<double> parseDataNumber(QByteArrayView line);
bool isEmptyValue(QByteArrayView line);

} // namespace core::session
