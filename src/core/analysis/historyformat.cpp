// SPDX-License-Identifier: MIT
#include "core/analysis/historyformat.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>
#include <string>

namespace core::analysis {

namespace {

// Collects the text and hands it on whenever a chunk is full. A line is
// written straight into the buffer: after every line there is room for at
// least kLineRoom more bytes, and the longest line a history can have, a
// JSON object with three 64-bit numbers, takes less than 150.
class Out
{
public:
    static constexpr std::size_t kLineRoom = 256;

    explicit Out(const ChunkWriter &write)
        : write_(write)
        , buffer_(new char[kChunk + kLineRoom])
        , at_(buffer_.get())
    {
    }

    Out &operator<<(std::string_view s)
    {
        std::memcpy(at_, s.data(), s.size());
        at_ += s.size();
        return *this;
    }
    Out &operator<<(char c)
    {
        *at_++ = c;
        return *this;
    }
    Out &operator<<(std::int64_t v)
    {
        at_ = std::to_chars(at_, at_ + 24, v).ptr;
        return *this;
    }
    void pad(std::size_t width, std::size_t used)
    {
        if (used < width) {
            std::memset(at_, ' ', width - used);
            at_ += width - used;
        }
    }
    // Where the next line goes, and where it ended once written.
    char *line() { return at_; }
    void lineWritten(char *end) { at_ = end; }
    // After every line: pass on a full chunk.
    bool lineDone()
    {
        if (at_ < buffer_.get() + kChunk)
            return ok_;
        return flush();
    }
    bool flush()
    {
        if (ok_ && at_ != buffer_.get())
            ok_ = write_(std::string_view(buffer_.get(), static_cast<std::size_t>(at_ - buffer_.get())));
        at_ = buffer_.get();
        return ok_;
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    const ChunkWriter &write_;
    std::unique_ptr<char[]> buffer_;
    char *at_;
    bool ok_ = true;
};

// Writes `v` in decimal so that it ends just before `end`; returns where it starts.
char *digitsBefore(char *end, std::uint64_t v)
{
    do {
        *--end = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    return end;
}

// Seconds as H:MM:SS, hours unpadded and past 23 if need be ("-" first when
// negative), ending just before `end`; returns where it starts.
char *clockBefore(char *end, std::int64_t seconds)
{
    const std::uint64_t s = seconds < 0 ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    const auto minutes = static_cast<unsigned>(s / 60 % 60);
    const auto secs = static_cast<unsigned>(s % 60);
    end -= 6;
    end[0] = ':';
    end[1] = static_cast<char>('0' + minutes / 10);
    end[2] = static_cast<char>('0' + minutes % 10);
    end[3] = ':';
    end[4] = static_cast<char>('0' + secs / 10);
    end[5] = static_cast<char>('0' + secs % 10);
    end = digitsBefore(end, s / 3600);
    if (seconds < 0)
        *--end = '-';
    return end;
}

// yyyy-mm-dd; years below 1000 keep four digits. The date is taken apart
// with integer arithmetic (days to civil date in the proleptic Gregorian
// calendar): a history can have a million rows, and QDate's year(), month()
// and day() convert the whole date again each. Rows come in date order, so
// the year and month are worked out once a month and the day counted on.
class IsoDates
{
public:
    // Ten characters at `to`.
    void write(char *to, const QDate &date)
    {
        const std::int64_t jd = date.toJulianDay();
        if (jd < monthStart_ || jd >= monthEnd_)
            startMonth(jd);
        const auto day = static_cast<unsigned>(jd - monthStart_ + 1);
        buf_[8] = char('0' + day / 10);
        buf_[9] = char('0' + day % 10);
        std::memcpy(to, buf_, sizeof buf_);
    }

private:
    void startMonth(std::int64_t jd)
    {
        const std::int64_t z = jd - 1721120; // days since 0000-03-01
        const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
        const auto doe = static_cast<unsigned>(z - era * 146097);
        const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const unsigned mp = (5 * doy + 2) / 153;
        const unsigned day = doy - (153 * mp + 2) / 5 + 1;
        const unsigned month = mp < 10 ? mp + 3 : mp - 9;
        const std::int64_t year = std::int64_t(yoe) + era * 400 + (month <= 2);
        const auto y = static_cast<unsigned>(year);
        buf_[0] = char('0' + y / 1000 % 10);
        buf_[1] = char('0' + y / 100 % 10);
        buf_[2] = char('0' + y / 10 % 10);
        buf_[3] = char('0' + y % 10);
        buf_[4] = '-';
        buf_[5] = char('0' + month / 10);
        buf_[6] = char('0' + month % 10);
        buf_[7] = '-';
        static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
        monthStart_ = jd - day + 1;
        monthEnd_ = monthStart_ + kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    }

    char buf_[10] = {};
    std::int64_t monthStart_ = 0;
    std::int64_t monthEnd_ = 0; // empty: the first date starts a month
};

std::uint64_t magnitude(std::int64_t v)
{
    // As unsigned: the most negative value has no positive twin.
    return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

std::size_t digitCount(std::uint64_t v)
{
    std::size_t n = 1;
    for (; v >= 10; v /= 10)
        ++n;
    return n;
}

std::size_t digitCount(std::int64_t v)
{
    return digitCount(magnitude(v)) + (v < 0 ? 1 : 0);
}

// Length of clockString(seconds) without building it.
std::size_t clockWidth(std::int64_t seconds)
{
    return (seconds < 0 ? 1 : 0) + digitCount(magnitude(seconds) / 3600) + 6;
}

std::string clockString(std::int64_t seconds)
{
    char text[32];
    char *const end = text + sizeof text;
    return std::string(clockBefore(end, seconds), end);
}

bool writeText(const History &history, Out &out)
{
    // The columns are as wide as their widest entry, so a first pass finds
    // it. Sessions are never negative; a time is widest at either extreme.
    std::int64_t sessions = 0, seconds = 0, away = 0, mostSessions = 0, mostSeconds = 0, leastSeconds = 0,
                 mostAway = 0, leastAway = 0;
    history.forEachRow([&](const HistoryRow &row) {
        sessions += row.sessions;
        seconds += row.seconds;
        away += row.away;
        mostSessions = std::max(mostSessions, row.sessions);
        mostSeconds = std::max(mostSeconds, row.seconds);
        leastSeconds = std::min(leastSeconds, row.seconds);
        mostAway = std::max(mostAway, row.away);
        leastAway = std::min(leastAway, row.away);
    });
    const std::string total = clockString(seconds);
    const std::string totalAway = clockString(away);
    const std::size_t sessionsWidth
        = std::max({digitCount(mostSessions), digitCount(sessions), std::string_view("sessions").size()});
    const std::size_t timeWidth = std::max(
        {clockWidth(mostSeconds), clockWidth(leastSeconds), total.size(), std::string_view("time").size()});
    const std::size_t awayWidth = std::max(
        {clockWidth(mostAway), clockWidth(leastAway), totalAway.size(), std::string_view("away").size()});
    constexpr std::size_t kPeriodWidth = 10; // yyyy-mm-dd

    out << "period";
    out.pad(kPeriodWidth + 2 + sessionsWidth, 6 + 8);
    out << "sessions";
    out.pad(2 + timeWidth, 4);
    out << "time";
    out.pad(2 + awayWidth, 4);
    out << "away\n";
    bool ok = out.lineDone();
    // Every row has the same length: the period, then the sessions, the time
    // and the time away, each right-aligned in its column.
    const std::size_t sessionsEnd = kPeriodWidth + 2 + sessionsWidth;
    const std::size_t timeEnd = sessionsEnd + 2 + timeWidth;
    const std::size_t lineLength = timeEnd + 2 + awayWidth + 1;
    IsoDates dates;
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        char *const line = out.line();
        std::memset(line, ' ', lineLength - 1);
        line[lineLength - 1] = '\n';
        dates.write(line, row.period);
        digitsBefore(line + sessionsEnd, static_cast<std::uint64_t>(row.sessions));
        clockBefore(line + timeEnd, row.seconds);
        clockBefore(line + lineLength - 1, row.away);
        out.lineWritten(line + lineLength);
        ok = out.lineDone();
    });
    out << "total";
    out.pad(kPeriodWidth + 2 + sessionsWidth, 5 + digitCount(sessions));
    out << sessions;
    out.pad(2 + timeWidth, total.size());
    out << std::string_view(total);
    out.pad(2 + awayWidth, totalAway.size());
    out << std::string_view(totalAway) << '\n';
    return ok && out.flush();
}

bool writeCsv(const History &history, Out &out)
{
    out << "period,sessions,seconds,away\n";
    bool ok = out.lineDone();
    IsoDates dates;
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        char *at = out.line();
        dates.write(at, row.period);
        at[10] = ',';
        at = std::to_chars(at + 11, at + 32, row.sessions).ptr;
        *at++ = ',';
        at = std::to_chars(at, at + 24, row.seconds).ptr;
        *at++ = ',';
        at = std::to_chars(at, at + 24, row.away).ptr;
        *at++ = '\n';
        out.lineWritten(at);
        ok = out.lineDone();
    });
    return ok && out.flush();
}

bool writeJson(const History &history, Out &out)
{
    if (history.isEmpty()) {
        out << "[]\n";
        return out.flush();
    }
    out << '[';
    bool ok = true;
    bool first = true;
    IsoDates dates;
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        out << (first ? std::string_view("\n  {\"period\": \"") : std::string_view(",\n  {\"period\": \""));
        char *const date = out.line();
        dates.write(date, row.period);
        out.lineWritten(date + 10);
        out << "\", \"sessions\": " << row.sessions << ", \"seconds\": " << row.seconds << ", \"away\": " << row.away
            << '}';
        first = false;
        ok = out.lineDone();
    });
    out << "\n]\n";
    return ok && out.flush();
}

} // namespace

std::optional<HistoryFormat> historyFormatNamed(std::string_view name)
{
    if (name == "text")
        return HistoryFormat::Text;
    if (name == "csv")
        return HistoryFormat::Csv;
    if (name == "json")
        return HistoryFormat::Json;
    return std::nullopt;
}

std::optional<Period> periodNamed(std::string_view name)
{
    if (name == "day")
        return Period::Day;
    if (name == "week")
        return Period::Week;
    if (name == "month")
        return Period::Month;
    return std::nullopt;
}

QString clockText(std::int64_t seconds)
{
    return QString::fromStdString(clockString(seconds));
}

bool writeHistory(const History &history, HistoryFormat format, const ChunkWriter &write)
{
    Out out(write);
    switch (format) {
    case HistoryFormat::Csv:
        return writeCsv(history, out);
    case HistoryFormat::Json:
        return writeJson(history, out);
    case HistoryFormat::Text:
        break;
    }
    return writeText(history, out);
}

} // namespace core::analysis
