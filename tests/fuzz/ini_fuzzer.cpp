// SPDX-License-Identifier: MIT
// Fuzzes the settings file reader and writer. Properties checked on every
// input:
//  - an untouched file serializes to its own bytes, and parse-save-parse
//    gives the same keys and values;
//  - every key that is read finds its value again under its name in other
//    letter case (ASCII and simple Unicode case mapping);
//  - writing a value (taken from the input) under a key read from the file,
//    and under a key new to it, reads back as written after a save and parse,
//    and leaves every other key as it was.
//
// Built with the other fuzzers when configured with -DTOCKA_FUZZ=ON; by hand:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fPIC \
//     -Isrc/windowing tests/fuzz/ini_fuzzer.cpp src/windowing/inifile.cpp \
//     $(pkg-config --cflags --libs Qt6Core) -o ini_fuzzer
//   ./ini_fuzzer -max_total_time=300 tests/fuzz/corpus/ini

#include "core/settings/inifile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

QString otherCase(const QString &s)
{
    QString out = s;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        const QChar flipped = c.isUpper() ? c.toLower() : c.toUpper();
        // Only 1:1 mappings in the basic plane that map back (what case
        // folding treats as the same letter).
        if (!c.isSurrogate() && flipped.toCaseFolded() == c.toCaseFolded())
            out[i] = flipped;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const core::settings::IniFile ini(bytes);
    check(ini.serialize() == bytes);
    const QList<core::settings::IniFile::Entry> entries = ini.entries();
    check(core::settings::IniFile(ini.serialize()).entries() == entries);

    for (qsizetype i = 0; i < entries.size() && i < 64; ++i) {
        const core::settings::IniFile::Entry &e = entries[i];
        if (!e.shadowed)
            check(ini.value(otherCase(e.section), otherCase(e.key)) == e.value);
        check(ini.profileString(e.section, e.key, QString()).size() <= 255);
    }

    // A value to write: the tail of the input, as text on one line.
    QString written = QString::fromUtf8(bytes.right(40));
    written.replace(QLatin1Char('\r'), QLatin1Char(' '));
    written.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString section = entries.isEmpty() ? QStringLiteral("Settings") : entries.front().section;
    QString key = entries.isEmpty() ? QStringLiteral("ColourMode") : entries.front().key;
    // A key name of ours never holds "=", a line break, or a leading "[" or ";".
    const bool usableKey = !key.isEmpty() && !key.contains(QLatin1Char('=')) && !key.startsWith(QLatin1Char('['))
        && !key.startsWith(QLatin1Char(';'));
    if (!usableKey)
        key = QStringLiteral("ColourMode");
    const bool usableSection = !section.contains(QLatin1Char(']')) && section == section.trimmed();

    core::settings::IniFile changed(bytes);
    const auto before = changed.entries();
    if (usableSection) {
        changed.setValue(section, key, written);
        changed.setValue(section, QStringLiteral("NewKeyFromFuzz"), written);
        const core::settings::IniFile reread(changed.serialize());
        check(reread.value(section, key) == written);
        check(reread.value(otherCase(section), QStringLiteral("newkeyfromfuzz")) == written);
        check(reread.entries() == changed.entries());
        // Nothing else moved: every earlier entry is still there, in order.
        const auto after = reread.entries();
        qsizetype j = 0;
        for (const core::settings::IniFile::Entry &e : before) {
            while (j < after.size() && !(after[j].section == e.section && after[j].key == e.key))
                ++j;
            check(j < after.size());
            ++j;
        }
    }
    return 0;
}
