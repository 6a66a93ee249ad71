// SPDX-License-Identifier: MIT
// Replays the fuzzers' corpora (tests/fuzz/corpus/<name>/: the seeds and
// every input a fuzzer found failing) through the fuzzers' own rules, so a
// fault one once found stays found in the normal build.

#include "fuzz/awaylog_check.h"
#include "fuzz/journalentry_check.h"
#include "fuzz/logreader_check.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace {

using Check = const char *(*)(const std::uint8_t *, std::size_t);

void replay(const char *fuzzer, Check check)
{
    const QDir dir(QStringLiteral(FUZZ_CORPUS_DIR "/") + QLatin1String(fuzzer));
    int replayed = 0;
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        const char *broken = check(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
        EXPECT_EQ(broken, nullptr) << fuzzer << "/" << name.toStdString() << ": " << (broken ? broken : "");
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no inputs found for " << fuzzer;
}

} // namespace

TEST(FuzzInputs, KeepTheReadersRules)
{
    replay("logreader", fuzzcheck::check);
    replay("journalentry", fuzzcheck::checkEntry);
    replay("awaylog", fuzzcheck::checkAway);
}
