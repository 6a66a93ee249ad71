// SPDX-License-Identifier: MIT
#include "core/settings/inifile.h"

#include "core/files/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace core::settings {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

} // namespace

IniFile::Line IniFile::classify(QByteArray raw, QByteArray eol, bool first)
{
    Line line;
    line.raw = std::move(raw);
    line.eol = std::move(eol);
    QByteArray content = line.raw;
    if (first && content.startsWith(kUtf8Bom))
        content.remove(0, kUtf8Bom.size());
    // fromUtf8 drops a byte order mark at the start of what it is given; on
    // any line but the first that mark is part of the text, so it is read as
    // the same name wherever the line stands.
    QString decoded;
    if (content.startsWith(kUtf8Bom)) {
        decoded = QChar(0xFEFF);
        content.remove(0, kUtf8Bom.size());
    }
    decoded += QString::fromUtf8(content);
    const QString text = decoded.trimmed();
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Line::Kind::Section;
            line.name = text.mid(1, close - 1).trimmed();
        }
        return line;
    }
    if (text.startsWith(QLatin1Char(';')))
        return line;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return line;
    line.kind = Line::Kind::Key;
    line.name = text.left(eq).trimmed();
    line.value = unquoted(text.mid(eq + 1).trimmed());
    return line;
}

void IniFile::parse(const QByteArray &bytes)
{
    lines_.clear();
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines_.append(classify(bytes.mid(start), {}, lines_.isEmpty()));
            break;
        }
        qsizetype end = nl;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines_.append(classify(bytes.mid(start, end - start), bytes.mid(end, nl + 1 - end), lines_.isEmpty()));
        start = nl + 1;
    }
}

QByteArray IniFile::serialize() const
{
    QByteArray out;
    for (const Line &line : lines_) {
        out += line.raw;
        out += line.eol;
    }
    return out;
}

QByteArray IniFile::lineBreak() const
{
    if (!lines_.isEmpty() && !lines_.front().eol.isEmpty())
        return lines_.front().eol;
    return QByteArrayLiteral("\n");
}

qsizetype IniFile::findSection(const QString &section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && sameName(lines_[i].name, section))
            return i;
    }
    return -1;
}

qsizetype IniFile::findKey(qsizetype sectionLine, const QString &key, qsizetype *sectionEnd) const
{
    qsizetype end = sectionLine + 1;
    qsizetype found = -1;
    for (qsizetype i = sectionLine + 1; i < lines_.size(); ++i) {
        const Line &line = lines_[i];
        if (line.kind == Line::Kind::Section)
            break;
        if (line.kind != Line::Kind::Key)
            continue;
        end = i + 1;
        if (found < 0 && sameName(line.name, key)) {
            found = i;
            if (!sectionEnd)
                break;
        }
    }
    if (sectionEnd)
        *sectionEnd = end;
    return found;
}

std::optional<QString> IniFile::value(const QString &section, const QString &key) const
{
    const qsizetype s = findSection(section);
    if (s < 0)
        return std::nullopt;
    const qsizetype k = findKey(s, key);
    if (k < 0)
        return std::nullopt;
    return lines_[k].value;
}

QString IniFile::profileString(const QString &section, const QString &key, const QString &defaultValue,
                               int maxChars) const
{
    QString v = value(section, key).value_or(defaultValue);
    if (maxChars >= 0 && v.size() > maxChars) {
        qsizetype cut = maxChars;
        if (cut > 0 && v[cut - 1].isHighSurrogate())
            --cut;
        v.truncate(cut);
    }
    return v;
}

QString IniFile::encodeValue(const QString &value)
{
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Blanks at either end, or quotes around it, would be taken off when the
    // value is read back; quotes of our own keep it whole.
    if (v != v.trimmed() || unquoted(v) != v)
        v = QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    const QByteArray encoded = encodeValue(value).toUtf8();
    const QByteArray eol = lineBreak();
    auto endPreviousLine = [&](qsizetype before) {
        if (before > 0 && lines_[before - 1].eol.isEmpty())
            lines_[before - 1].eol = eol;
    };

    qsizetype s = findSection(section);
    if (s < 0) {
        endPreviousLine(lines_.size());
        lines_.append(classify(QByteArray("[") + section.toUtf8() + "]", eol, lines_.isEmpty()));
        s = lines_.size() - 1;
    }
    qsizetype end = 0;
    const qsizetype k = findKey(s, key, &end);
    if (k >= 0) {
        // Keep the key as the file spells it, and the blank after "=".
        const Line &old = lines_[k];
        const qsizetype eq = old.raw.indexOf('=');
        qsizetype valueStart = eq + 1;
        while (valueStart < old.raw.size() && (old.raw[valueStart] == ' ' || old.raw[valueStart] == '\t'))
            ++valueStart;
        lines_[k] = classify(old.raw.left(valueStart) + encoded, old.eol, k == 0);
        return;
    }
    endPreviousLine(end);
    lines_.insert(end, classify(key.toUtf8() + "=" + encoded, eol, end == 0));
}

QList<IniFile::Entry> IniFile::entries() const
{
    QList<Entry> out;
    QString section;
    bool inSection = false;
    bool firstOfName = false;
    qsizetype sectionStart = 0; // index in `out` of the section's first key
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const Line &line = lines_[i];
        if (line.kind == Line::Kind::Section) {
            section = line.name;
            inSection = true;
            firstOfName = findSection(section) == i;
            sectionStart = out.size();
        } else if (line.kind == Line::Kind::Key && inSection) {
            bool shadowed = !firstOfName;
            for (qsizetype k = sectionStart; k < out.size() && !shadowed; ++k)
                shadowed = sameName(out[k].key, line.name);
            out.append({section, line.name, line.value, shadowed});
        }
    }
    return out;
}

bool IniFile::load(const QString &path, QString *error)
{
    lines_.clear();
    // Large enough for any settings file a person could have written by
    // hand; small enough that a link to /dev/zero cannot exhaust memory.
    constexpr qint64 kMaxSettingsSize = 64 * 1024 * 1024;
    QByteArray bytes;
    switch (files::readRegular(path, kMaxSettingsSize, &bytes, error)) {
    case files::ReadResult::Missing:
        return true;
    case files::ReadResult::Failed:
        return false;
    case files::ReadResult::Ok:
        break;
    }
    parse(bytes);
    return true;
}

bool IniFile::save(const QString &path, QString *error) const
{
    auto failed = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    const QFileInfo info(path);
    // The save writes through a link to the file it points to; a link to
    // nothing would make a file wherever it points.
    if (info.isSymLink() && !info.exists())
        return failed(QStringLiteral("it is a link to a file that does not exist"));
    if (!info.absoluteDir().exists() && !QDir().mkpath(info.absolutePath()))
        return failed(QStringLiteral("its folder cannot be created"));
    // The temporary file is renamed over the old one only after all of it
    // is written and flushed, so a crash or a full disk leaves the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return failed(why);
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}

} // namespace core::settings
