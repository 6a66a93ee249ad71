// SPDX-License-Identifier: MIT
#pragma once
// A settings file in the INI layout, kept line by line: reading and writing a
// key never disturbs the lines around it, so comments, other sections, blank
// lines, line endings and the order a person gave the file all survive a save.
//
// Section and key names match without regard to case (ASCII and Unicode simple
// case folding). The first section of a name and the first key of a name in it
// are the ones read and written, as later duplicates are shadowed.

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace core::settings {

class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QByteArray &bytes) { parse(bytes); }

    void parse(const QByteArray &bytes);
    // The file as it stands: the bytes parsed, with the changes made since.
    QByteArray serialize() const;

    // The value of a key; nullopt when the section or key is missing. Blanks
    // around the value are not part of it, and one pair of matching quotes
    // around it is taken off.
    std::optional<QString> value(const QString &section, const QString &key) const;

    // Reads a key as a fixed-size buffer would: at most `maxChars` characters
    // (never half a surrogate pair), `defaultValue` when the key is missing.
    QString profileString(const QString &section, const QString &key, const QString &defaultValue,
                          int maxChars = 255) const;

    // Replaces the value of an existing key where it stands, or adds the key
    // after the last key of its section, or adds the section at the end of
    // the file. Line breaks in the value become blanks (a value is one line);
    // a value that would not read back as written is put in quotes.
    void setValue(const QString &section, const QString &key, const QString &value);

    // The keys of every section in file order, as read (for checking that a
    // save reads back the same). A key is shadowed when a reader never sees
    // it: its section is not the first of its name, or a key of the same name
    // comes before it in the section.
    struct Entry
    {
        QString section;
        QString key;
        QString value;
        bool shadowed = false;
        friend bool operator==(const Entry &, const Entry &) = default;
    };
    QList<Entry> entries() const;

    // Reads a file; a missing file is an empty one. False (with `error`) when
    // the file exists but cannot be read.
    bool load(const QString &path, QString *error = nullptr);
    // Writes the file atomically (a temporary file renamed over the old one),
    // keeping the old file's permissions. On failure the old file is left as it
    // was and `error` says why.
    bool save(const QString &path, QString *error = nullptr) const;

    // The line break new lines get: the one the file's first line ends with,
    // "\n" for a new file.
    QByteArray lineBreak() const;

private:
    struct Line
    {
        QByteArray raw;   // the line's bytes without its line break
        QByteArray eol;   // "\r\n", "\n", "\r" or empty at the end of the file
        enum class Kind { Other, Section, Key } kind = Kind::Other;
        QString name;     // section name or key name, trimmed
        QString value;    // key value as read
    };

    static Line classify(QByteArray raw, QByteArray eol, bool first);
    qsizetype findSection(const QString &section) const;
    // Index of the key line, -1 when absent; `sectionEnd` gets the index after
    // the section's last key (or header), where a new key would go.
    qsizetype findKey(qsizetype sectionLine, const QString &key, qsizetype *sectionEnd = nullptr) const;
    static QString encodeValue(const QString &value);

    QList<Line> lines_;
};

} // namespace core::settings
