// SPDX-License-Identifier: MIT
// The history as text, CSV and JSON: the exact bytes of a small history whose
// columns are widened by a negative time, hours past 99, sessions in the
// thousands and time away past 999 hours; then a history of many chunks read back from each format, and a
// write that fails part-way.

#include "core/analysis/history.h"
#include "core/analysis/historyformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using core::analysis::History;
using core::analysis::HistoryFormat;
using core::analysis::HistoryRow;
using core::analysis::Period;

namespace {

QDate d(const char *iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

std::string written(const History &history, HistoryFormat format)
{
    std::string out;
    EXPECT_TRUE(core::analysis::writeHistory(history, format, [&out](std::string_view chunk) {
        out += chunk;
        return true;
    }));
    return out;
}

// A first record below zero (Sunday 6 December 2026), a Monday of 1200
// sessions of five minutes, two of them all away, an empty Tuesday and one
// minute on Wednesday, said to be away longer than any session lasts.
History wide(Period by)
{
    History h(by);
    h.add(d("2026-12-06"), -360000);
    for (int i = 0; i < 1200; ++i)
        h.add(d("2026-12-07"), 300, i < 2 ? 300 : 0);
    h.add(d("2026-12-09"), 60, 3600000);
    return h;
}

TEST(HistoryFormat, WritesTheBytesOfEachFormat)
{
    struct Row
    {
        const char *name;
        History history;
        HistoryFormat format;
        const char *text;
    };
    const Row rows[] = {
        {"text", wide(Period::Day), HistoryFormat::Text,
         "period      sessions        time        away\n"
         "2026-12-06         1  -100:00:00     0:00:00\n"
         "2026-12-07      1200   100:00:00     0:10:00\n"
         "2026-12-08         0     0:00:00     0:00:00\n"
         "2026-12-09         1     0:01:00  1000:00:00\n"
         "total           1202     0:01:00  1000:10:00\n"},
        {"csv", wide(Period::Day), HistoryFormat::Csv,
         "period,sessions,seconds,away\n2026-12-06,1,-360000,0\n2026-12-07,1200,360000,600\n2026-12-08,0,0,0\n"
         "2026-12-09,1,60,3600000\n"},
        {"json by week", wide(Period::Week), HistoryFormat::Json,
         "[\n  {\"period\": \"2026-11-30\", \"sessions\": 1, \"seconds\": -360000, \"away\": 0},\n"
         "  {\"period\": \"2026-12-07\", \"sessions\": 1201, \"seconds\": 360060, \"away\": 3600600}\n]\n"},
        {"empty text", History(Period::Day), HistoryFormat::Text,
         "period      sessions     time     away\ntotal              0  0:00:00  0:00:00\n"},
        {"empty csv", History(Period::Day), HistoryFormat::Csv, "period,sessions,seconds,away\n"},
        {"empty json", History(Period::Day), HistoryFormat::Json, "[]\n"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(written(row.history, row.format), row.text) << row.name;
}

std::vector<std::string> split(const std::string &text, char at)
{
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t to; (to = text.find(at, from)) != std::string::npos; from = to + 1)
        out.push_back(text.substr(from, to - from));
    if (from < text.size())
        out.push_back(text.substr(from));
    return out;
}

std::int64_t secondsOf(const std::string &clock)
{
    const std::vector<std::string> parts = split(clock, ':');
    return std::stoll(parts.at(0)) * 3600 + std::stoll(parts.at(1)) * 60 + std::stoll(parts.at(2));
}

// Twenty years of days, some empty: far more text than one chunk.
TEST(HistoryFormat, ReadsBackAsItsRowsFromEveryFormat)
{
    History history(Period::Day);
    std::uint32_t seed = 3;
    for (QDate day = d("2001-01-01"); day < d("2021-01-01"); day = day.addDays(1)) {
        seed = seed * 1103515245u + 12345u;
        for (std::uint32_t i = 0; i < (seed >> 8) % 4; ++i)
            history.add(day, static_cast<std::int64_t>((seed >> 4) % 40000), static_cast<std::int64_t>(seed % 9000));
    }
    const std::vector<HistoryRow> rows = history.rows();

    const std::vector<std::string> text = split(written(history, HistoryFormat::Text), '\n');
    ASSERT_EQ(text.size(), rows.size() + 2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string &line = text[i + 1];
        EXPECT_EQ(line.size(), text[0].size()) << line;
        const std::size_t sessionsAt = line.find_first_not_of(' ', 10);
        const std::size_t timeAt = line.find_first_not_of(' ', line.find(' ', sessionsAt));
        const std::size_t awayAt = line.find_first_not_of(' ', line.find(' ', timeAt));
        EXPECT_EQ(line.substr(0, 10), rows[i].period.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(std::stoll(line.substr(sessionsAt)), rows[i].sessions) << line;
        EXPECT_EQ(secondsOf(line.substr(timeAt, awayAt - timeAt)), rows[i].seconds) << line;
        EXPECT_EQ(secondsOf(line.substr(awayAt)), rows[i].away) << line;
    }

    const std::vector<std::string> csv = split(written(history, HistoryFormat::Csv), '\n');
    ASSERT_EQ(csv.size(), rows.size() + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::vector<std::string> fields = split(csv[i + 1], ',');
        ASSERT_EQ(fields.size(), 4u) << csv[i + 1];
        EXPECT_EQ(fields[0], rows[i].period.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(std::stoll(fields[1]), rows[i].sessions);
        EXPECT_EQ(std::stoll(fields[2]), rows[i].seconds);
        EXPECT_EQ(std::stoll(fields[3]), rows[i].away);
    }

    const std::string json = written(history, HistoryFormat::Json);
    const QJsonArray array = QJsonDocument::fromJson(QByteArray::fromStdString(json)).array();
    ASSERT_EQ(static_cast<std::size_t>(array.size()), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QJsonObject o = array.at(static_cast<qsizetype>(i)).toObject();
        EXPECT_EQ(o.value(QStringLiteral("period")).toString(), rows[i].period.toString(Qt::ISODate));
        EXPECT_EQ(o.value(QStringLiteral("sessions")).toInteger(), rows[i].sessions);
        EXPECT_EQ(o.value(QStringLiteral("seconds")).toInteger(), rows[i].seconds);
        EXPECT_EQ(o.value(QStringLiteral("away")).toInteger(), rows[i].away);
    }

    // A write that fails is reported, and nothing more is written after it.
    for (const HistoryFormat format : {HistoryFormat::Text, HistoryFormat::Csv, HistoryFormat::Json}) {
        int chunks = 0;
        EXPECT_FALSE(core::analysis::writeHistory(history, format, [&chunks](std::string_view) {
            return ++chunks < 2;
        }));
        EXPECT_EQ(chunks, 2);
    }
}

} // namespace
