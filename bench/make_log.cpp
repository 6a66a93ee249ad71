// SPDX-License-Identifier: MIT
// Writes a session log of N records to standard output, through the same
// record writer Tocka uses, so the benchmark reads exactly what Tocka writes.
// Sessions are short (1 to 8 minutes) so that
// even five million of them stay within the total Tallio can add up. By
// default a few sessions end on each day, some days none; with HOURS, one
// session ends every HOURS hours, so every day holds the same number. With
// --away, the line of every session goes to LogAway.log as well, a third of
// them with time away (locked or idle, now and then asleep).
//
// Usage: tallio_make_log [--away LogAway.log] N [HOURS] > LogData.log

#include "core/session/awayline.h"
#include "core/session/record.h"

#include <QByteArray>
#include <QDate>
#include <QTime>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char *argv[])
{
    std::FILE *awayLog = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--away") == 0) {
        awayLog = std::fopen(argv[2], "wb");
        if (!awayLog) {
            std::perror(argv[2]);
            return 1;
        }
        argc -= 2;
        argv += 2;
    }
    if (argc != 2 && argc != 3) {
        std::fputs("usage: tallio_make_log [--away LogAway.log] N [HOURS] > LogData.log\n", stderr);
        return 2;
    }
    const long long count = std::atoll(argv[1]);
    const long long hours = argc == 3 ? std::atoll(argv[2]) : 0;
    if (argc == 3 && (hours < 1 || hours > 24 * 365)) {
        std::fputs("tallio_make_log: HOURS is a whole number from 1 to 8760\n", stderr);
        return 2;
    }
    std::uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    // A generator of its own, so that the records are the same with --away or without.
    std::uint32_t awaySeed = 54321;
    auto awayRandom = [&awaySeed] {
        awaySeed = awaySeed * 1103515245u + 12345u;
        return static_cast<int>((awaySeed >> 8) & 0xFFFF);
    };
    const QDate firstDay(1999, 11, 16);
    QDate day = firstDay;
    QByteArray out;
    out.reserve(1 << 20);
    QByteArray away;
    for (long long i = 0; i < count; ++i) {
        if (hours > 0)
            day = firstDay.addDays(i * hours / 24);
        else if (random() % 4 == 0)
            day = day.addDays(1);
        core::session::SessionRecord r;
        r.endDate = day;
        // Tocka takes the length as the difference of two single-precision
        // readings of the seconds since midnight, so its fractions are a few
        // binary places long (3723.4609375), not fifteen random digits.
        const float start = 28800.0f + static_cast<float>(random() % 36000) + static_cast<float>(random()) / 65536.0f;
        const float end = start + 60.0f + static_cast<float>(random() % 420) + static_cast<float>(random()) / 65536.0f;
        const double elapsed = static_cast<double>(end) - static_cast<double>(start);
        r.startTime = QTime(0, 0).addSecs(static_cast<int>(start));
        r.endTime = QTime(0, 0).addSecs(static_cast<int>(end));
        r.elapsedSecs = elapsed;
        const int whole = static_cast<int>(elapsed);
        r.clockText = QStringLiteral("%1:%2:%3")
                          .arg(whole / 3600)
                          .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
                          .arg(whole % 60, 2, 10, QLatin1Char('0'));
        out += core::session::dataForm(r);
        if (awayLog) {
            core::session::AwaySeconds seconds;
            if (awayRandom() % 3 == 0) {
                const int within = whole > 0 ? whole : 1;
                seconds.locked = awayRandom() % 2 ? awayRandom() % within / 2 : 0;
                seconds.idle = awayRandom() % within / 3;
                seconds.asleep = awayRandom() % 8 == 0 ? awayRandom() % 7200 : 0;
            }
            away += core::session::awayLine({r.endDate, r.startTime, r.endTime, seconds});
            if (away.size() > (1 << 20) - 256) {
                std::fwrite(away.constData(), 1, static_cast<size_t>(away.size()), awayLog);
                away.clear();
            }
        }
        if (out.size() > (1 << 20) - 256) {
            std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
            out.clear();
        }
    }
    std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
    if (awayLog) {
        std::fwrite(away.constData(), 1, static_cast<size_t>(away.size()), awayLog);
        if (std::fclose(awayLog) != 0)
            return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
