#include "historyformat.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace analyser {
namespace {

// Collects the text and hands it on whenever a chunk is full.
class Out
{
public:
    explicit Out(const ChunkWriter &write)
        : write_(write)
    {
        text_.reserve(kChunk + 256);
    }

    Out &operator<<(std::string_view s)
    {
        text_ += s;
        return *this;
    }
    Out &operator<<(char c)
    {
        text_ += c;
        return *this;
    }
    Out &operator<<(std::int64_t v)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        text_.append(digits, end);
        return *this;
    }
    void pad(std::size_t width, std::size_t used)
    {
        if (used < width)
            text_.append(width - used, ' ');
    }
    // After every line: pass on a full chunk.
    bool lineDone()
    {
        if (text_.size() < kChunk)
            return ok_;
        return flush();
    }
    bool flush()
    {
        if (ok_ && !text_.empty())
            ok_ = write_(text_);
        text_.clear();
        return ok_;
    }

private:
    static constexpr std::size_t kChunk = 64 * 1024;
    const ChunkWriter &write_;
    std::string text_;
    bool ok_ = true;
};

// yyyy-mm-dd; years below 1000 keep four digits.
std::string_view isoDate(const QDate &d, char (&buf)[16])
{
    int y = d.year(), m = d.month(), day = d.day();
    buf[0] = char('0' + y / 1000 % 10);
    buf[1] = char('0' + y / 100 % 10);
    buf[2] = char('0' + y / 10 % 10);
    buf[3] = char('0' + y % 10);
    buf[4] = '-';
    buf[5] = char('0' + m / 10);
    buf[6] = char('0' + m % 10);
    buf[7] = '-';
    buf[8] = char('0' + day / 10);
    buf[9] = char('0' + day % 10);
    return {buf, 10};
}

std::string clockString(std::int64_t seconds)
{
    const bool negative = seconds < 0;
    // Magnitude as unsigned: the most negative value has no positive twin.
    const std::uint64_t s = negative ? 0 - static_cast<std::uint64_t>(seconds) : static_cast<std::uint64_t>(seconds);
    std::string out = negative ? "-" : "";
    out += std::to_string(s / 3600);
    const unsigned minutes = static_cast<unsigned>(s / 60 % 60);
    const unsigned secs = static_cast<unsigned>(s % 60);
    out += ':';
    out += char('0' + minutes / 10);
    out += char('0' + minutes % 10);
    out += ':';
    out += char('0' + secs / 10);
    out += char('0' + secs % 10);
    return out;
}

std::size_t digitCount(std::int64_t v)
{
    char digits[24];
    return static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, v).ptr - digits);
}

bool writeText(const History &history, Out &out)
{
    // The columns are as wide as their widest entry, so a first pass finds it.
    std::int64_t sessions = 0, seconds = 0;
    std::size_t sessionsWidth = 0, timeWidth = 0;
    history.forEachRow([&](const HistoryRow &row) {
        sessions += row.sessions;
        seconds += row.seconds;
        sessionsWidth = std::max(sessionsWidth, digitCount(row.sessions));
        timeWidth = std::max(timeWidth, clockString(row.seconds).size());
    });
    const std::string total = clockString(seconds);
    sessionsWidth = std::max({sessionsWidth, digitCount(sessions), std::string_view("sessions").size()});
    timeWidth = std::max({timeWidth, total.size(), std::string_view("time").size()});
    constexpr std::size_t kPeriodWidth = 10; // yyyy-mm-dd

    out << "period";
    out.pad(kPeriodWidth + 2 + sessionsWidth, 6 + 8);
    out << "sessions";
    out.pad(2 + timeWidth, 4);
    out << "time\n";
    bool ok = out.lineDone();
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        char buf[16];
        out << isoDate(row.period, buf);
        out.pad(2 + sessionsWidth, digitCount(row.sessions));
        out << row.sessions;
        const std::string time = clockString(row.seconds);
        out.pad(2 + timeWidth, time.size());
        out << std::string_view(time) << '\n';
        ok = out.lineDone();
    });
    out << "total";
    out.pad(kPeriodWidth + 2 + sessionsWidth, 5 + digitCount(sessions));
    out << sessions;
    out.pad(2 + timeWidth, total.size());
    out << std::string_view(total) << '\n';
    return ok && out.flush();
}

bool writeCsv(const History &history, Out &out)
{
    out << "period,sessions,seconds\n";
    bool ok = out.lineDone();
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        char buf[16];
        out << isoDate(row.period, buf) << ',' << row.sessions << ',' << row.seconds << '\n';
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
    history.forEachRow([&](const HistoryRow &row) {
        if (!ok)
            return;
        char buf[16];
        out << (first ? "\n  " : ",\n  ") << "{\"period\": \"" << isoDate(row.period, buf)
            << "\", \"sessions\": " << row.sessions << ", \"seconds\": " << row.seconds << '}';
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

} // namespace analyser
