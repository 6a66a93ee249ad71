// SPDX-License-Identifier: MIT
// Replays the log reader fuzzer's corpus (tests/fuzz/corpus/logreader/: the
// seeds and every input it found failing) through the fuzzer's own rules, so
// a fault it once found stays found in the normal build.

#include "fuzz/logreader_check.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

TEST(FuzzInputs, KeepTheReadersRules)
{
    int replayed = 0;
    for (const QString &folder : QString::fromUtf8(FUZZ_INPUT_DIRS).split(QLatin1Char(':'))) {
        const QDir dir(folder);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = file.readAll();
            const char *broken = fuzzcheck::check(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                                                  static_cast<std::size_t>(bytes.size()));
            EXPECT_EQ(broken, nullptr) << name.toStdString() << ": " << (broken ? broken : "");
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0) << "no inputs found in " << FUZZ_INPUT_DIRS;
}
