// SPDX-License-Identifier: MIT
// The line-preserving INI model: reading, writing in place, and saving.

#include "core/settings/inifile.h"
#include "support/qstringprint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QString S = QStringLiteral("Settings");

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(IniFile, ReadsKeysAsTheSystemCallWould)
{
    struct Row { QByteArray file; QString section; QString key; std::optional<QString> value; };
    const std::vector<Row> rows = {
        {"[Settings]\nColourMode=3\n", S, "ColourMode", "3"},
        {"[Settings]\nColourMode=3\n", S, "colourmode", "3"},            // key in other case
        {"[settings]\ncolourmode=3\n", S, "COLOURMODE", "3"},            // section too
        {"[Settings]\r\nColourMode=3\r\n", S, "ColourMode", "3"},        // CRLF
        {"[Settings]\n  ColourMode  =  3  \n", S, "ColourMode", "3"},    // blanks around
        {"[Settings]\nColourMode=\n", S, "ColourMode", ""},              // present, empty
        {"[Settings]\nColourMode\n", S, "ColourMode", std::nullopt},     // no "=": no key
        {"[Settings]\n;ColourMode=3\n", S, "ColourMode", std::nullopt},  // comment
        {"ColourMode=3\n[Settings]\n", S, "ColourMode", std::nullopt},   // before any section
        {"[Other]\nColourMode=3\n", S, "ColourMode", std::nullopt},      // other section
        {"[Settings]\nA=1\n[Other]\nB=2\n", S, "B", std::nullopt},
        {"[Settings]\nA=1\nA=2\n", S, "A", "1"},                         // first one wins
        {"[Settings]\nA=1\n[Settings]\nA=2\nB=3\n", S, "A", "1"},        // first section wins
        {"[Settings]\nA=\"  x  \"\n", S, "A", "  x  "},                  // quotes keep blanks
        {"[Settings]\nA='q'\n", S, "A", "q"},
        {"[Settings]\nA=\"q\n", S, "A", "\"q"},                          // unmatched quote stays
        {"[Settings]\nA=b=c\n", S, "A", "b=c"},
        {"\xEF\xBB\xBF[Settings]\nA=1\n", S, "A", "1"},                  // byte order mark
        {"[ Settings ]\nA=1", S, "A", "1"},                              // no final line break
        {"[Settings]\nSchl\xC3\xBC\x73sel=\xC3\xA4\n", S, "SCHL\xC3\x9CSSEL", "\xC3\xA4"},
        {"", S, "A", std::nullopt},
    };
    for (const Row &r : rows) {
        const core::settings::IniFile ini(r.file);
        EXPECT_EQ(ini.value(r.section, r.key), r.value) << r.file.constData() << " / " << qPrintable(r.key);
    }
}

TEST(IniFile, ProfileStringGivesTheDefaultAndAtMost255Characters)
{
    const QString longValue(300, QLatin1Char('x'));
    const core::settings::IniFile ini("[Settings]\nLong=" + longValue.toUtf8() + "\nShort=ab\n");
    EXPECT_EQ(ini.profileString(S, "Long", "<no value>"), QString(255, QLatin1Char('x')));
    EXPECT_EQ(ini.profileString(S, "Short", "<no value>"), "ab");
    EXPECT_EQ(ini.profileString(S, "Missing", "<no value>"), "<no value>");
    EXPECT_EQ(ini.profileString("Nowhere", "Short", "<no value>"), "<no value>");

    // A character outside the basic plane is never cut in half.
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    const core::settings::IniFile wide("[Settings]\nE=" + (QString(254, QLatin1Char('y')) + emoji).toUtf8() + "\n");
    EXPECT_EQ(wide.profileString(S, "E", ""), QString(254, QLatin1Char('y')));
}

TEST(IniFile, WritesInPlaceAppendsAtSectionEndAndCreatesWhatIsMissing)
{
    struct Row { QByteArray before; QString key; QString value; QByteArray after; };
    const std::vector<Row> rows = {
        {"", "A", "1", "[Settings]\nA=1\n"},
        {"[Settings]\nA=1\nB=2\n", "a", "9", "[Settings]\nA=9\nB=2\n"},             // spelling kept
        {"[Settings]\r\nA=1\r\n", "B", "2", "[Settings]\r\nA=1\r\nB=2\r\n"},        // line breaks kept
        {"[Settings]\nA = 1 ; x\n", "A", "2", "[Settings]\nA = 2\n"},
        {"[Settings]\nA=1\n\n[Other]\nC=3\n", "B", "2", "[Settings]\nA=1\nB=2\n\n[Other]\nC=3\n"},
        {"; about\n[Other]\nC=3", "A", "1", "; about\n[Other]\nC=3\n[Settings]\nA=1\n"},
        {"[Settings]\nA=1", "B", "2", "[Settings]\nA=1\nB=2\n"},
        {"[Settings]\n", "A", "1", "[Settings]\nA=1\n"},
        {"[Settings]\nA=1\nA=2\n", "A", "3", "[Settings]\nA=3\nA=2\n"},
        {"[Settings]\nA=1\n", "A", " padded ", "[Settings]\nA=\" padded \"\n"},
        {"[Settings]\nA=1\n", "A", "two\nlines", "[Settings]\nA=two lines\n"},
        {"[Settings]\nA=1\n", "A", "'q'", "[Settings]\nA=\"'q'\"\n"},
        {"\xEF\xBB\xBF[Settings]\nA=1\n", "A", "2", "\xEF\xBB\xBF[Settings]\nA=2\n"},
    };
    for (const Row &r : rows) {
        core::settings::IniFile ini(r.before);
        ini.setValue(S, r.key, r.value);
        EXPECT_EQ(ini.serialize(), r.after) << r.before.constData();
        QString expected = r.value;
        expected.replace(QLatin1Char('\n'), QLatin1Char(' '));
        EXPECT_EQ(core::settings::IniFile(ini.serialize()).value(S, r.key), expected) << r.before.constData();
    }
}

TEST(IniFile, UntouchedFileSerializesToItsOwnBytes)
{
    const QByteArray odd("junk line\r\n[Settings]\r\n\r\nA=1\n  ; note\n[x\nB = \"2\"\r\n\x01\x02=\xFF\n[Other] tail\nC");
    const core::settings::IniFile ini(odd);
    EXPECT_EQ(ini.serialize(), odd);
    EXPECT_EQ(core::settings::IniFile(ini.serialize()).entries(), ini.entries());
}

TEST(IniFile, SaveIsAtomicKeepsPermissionsAndFailsWithoutHarm)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("LogSetin.ini");

    core::settings::IniFile ini;
    ini.setValue(S, "A", "1");
    QString error;
    ASSERT_TRUE(ini.save(path, &error)) << qPrintable(error);
    EXPECT_EQ(fileBytes(path), "[Settings]\nA=1\n");

    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    ini.setValue(S, "A", "2");
    ASSERT_TRUE(ini.save(path, &error)) << qPrintable(error);
    EXPECT_EQ(fileBytes(path), "[Settings]\nA=2\n");
    EXPECT_EQ(QFile::permissions(path) & 0x7077, // the "user" bits depend on who runs the test
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    // A folder in the file's place: the save fails, says why, leaves it be.
    const QString blocked = dir.filePath("blocked.ini");
    ASSERT_TRUE(QDir().mkpath(blocked));
    error.clear();
    EXPECT_FALSE(ini.save(blocked, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(QFileInfo(blocked).isDir());

    // A folder that cannot be created (a file stands where it would go).
    EXPECT_FALSE(ini.save(dir.filePath("LogSetin.ini/sub/x.ini"), &error));
    EXPECT_EQ(fileBytes(path), "[Settings]\nA=2\n");

    // A link to nothing makes no file wherever it points.
    const QString dangling = dir.filePath("dangling.ini");
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere/made.ini"), dangling));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("elsewhere")));
    EXPECT_FALSE(ini.save(dangling, &error));
    EXPECT_TRUE(error.endsWith(QLatin1String("it is a link to a file that does not exist"))) << qPrintable(error);
    EXPECT_FALSE(QFile::exists(dir.filePath("elsewhere/made.ini")));

    // Loading: a missing file is empty, a folder cannot be read.
    core::settings::IniFile loaded;
    EXPECT_TRUE(loaded.load(dir.filePath("missing.ini")));
    EXPECT_TRUE(loaded.entries().isEmpty());
    EXPECT_FALSE(loaded.load(blocked, &error));
    EXPECT_TRUE(loaded.load(path));
    EXPECT_EQ(loaded.value(S, "a"), "2");
}

TEST(IniFile, EntriesTellWhichKeysAReaderNeverSees)
{
    const core::settings::IniFile ini("[A]\n[a]\nx=1\n[B]\ny=1\nY=2\n[b]\nz=3\n");
    const auto e = ini.entries();
    ASSERT_EQ(e.size(), 4);
    EXPECT_TRUE(e[0].shadowed) << "a second [a] is never read";
    EXPECT_FALSE(e[1].shadowed);
    EXPECT_TRUE(e[2].shadowed) << "Y after y";
    EXPECT_TRUE(e[3].shadowed);
    EXPECT_EQ(ini.value("a", "x"), std::nullopt);
    EXPECT_EQ(ini.value("b", "Y"), "1");
}

TEST(IniFile, AByteOrderMarkInsideTheFileStaysPartOfTheName)
{
    // Found by fuzzing: a key whose name starts with U+FEFF was written at
    // the start of a line, where decoding dropped the mark, and so could not
    // be read back after a save.
    const QString key = QString(QChar(0xFEFF)) + QStringLiteral(": E");
    core::settings::IniFile ini("\xEF\xBB\xBF[Settings]\n");
    ini.setValue(S, key, QStringLiteral("1"));
    const core::settings::IniFile reread(ini.serialize());
    EXPECT_EQ(reread.value(S, key), "1");
    EXPECT_EQ(reread.value(S, QStringLiteral(": E")), std::nullopt);
    EXPECT_EQ(core::settings::IniFile("\xEF\xBB\xBF[Settings]\nk=2\n").value(S, "k"), "2") << "the file's own mark is not a name";
}
