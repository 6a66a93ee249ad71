// SPDX-License-Identifier: MIT
// Reading the session log back record by record: whatever the line ends and
// wherever a block boundary falls, the reader gives back exactly the values
// the writer wrote; it says where the file ends inside a record, keeps
// overlong lines from growing memory, and passes a failing read on.

#include "core/session/logreader.h"
#include "core/session/record.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <vector>

using core::session::LogReader;
using core::session::RecordValue;

namespace {

struct Read
{
    std::vector<std::vector<QByteArray>> records;
    std::vector<qint64> firstLines;
    LogReader::End end = LogReader::End::NotYet;
    int tornValues = 0;
    qint64 tornFirstLine = 0;
};

Read readAll(QIODevice &device, qsizetype block)
{
    Read out;
    LogReader reader(device, block);
    core::session::RecordView r;
    while (reader.next(r)) {
        std::vector<QByteArray> values;
        for (int i = 0; i < core::session::kValuesPerRecord; ++i)
            values.push_back(r.value(static_cast<RecordValue>(i)).toByteArray());
        out.records.push_back(values);
        out.firstLines.push_back(r.firstLine());
    }
    out.end = reader.end();
    out.tornValues = reader.tornValues();
    out.tornFirstLine = reader.tornFirstLine();
    return out;
}

Read readBytes(QByteArray bytes, qsizetype block)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readAll(buffer, block);
}

// Records as Tocka writes them, empty values included.
QByteArray writtenLog(std::vector<std::vector<QByteArray>> *values)
{
    const core::session::SessionRecord records[] = {
        {QDate(1999, 11, 16), QTime(9, 15, 2), QTime(10, 17, 5), 3723.4609375, QStringLiteral("1:02:03")},
        {QDate(1999, 11, 17), QTime(23, 59, 30), QTime(0, 0, 30), std::nullopt, QString()},
        {QDate(2000, 2, 29), QTime(0, 0, 0), QTime(23, 59, 59), 97389.25, QStringLiteral("27:03:09")},
    };
    QByteArray log;
    for (const auto &r : records) {
        const QByteArray form = core::session::dataForm(r);
        log += form;
        std::vector<QByteArray> v;
        for (const QByteArray &line : form.split('\n').mid(0, core::session::kValuesPerRecord))
            v.push_back(line.chopped(1)); // without the CR
        values->push_back(v);
    }
    return log;
}

struct LineEnds
{
    const char *name;
    const char *lineEnd;
};

class RoundTrip : public testing::TestWithParam<LineEnds>
{
};

TEST_P(RoundTrip, GivesBackWhatWasWrittenAtEveryBlockSize)
{
    std::vector<std::vector<QByteArray>> expected;
    QByteArray log = writtenLog(&expected);
    log.replace("\r\n", GetParam().lineEnd);
    for (qsizetype block = 1; block <= log.size() + 1; ++block) {
        const Read read = readBytes(log, block);
        EXPECT_EQ(read.end, LogReader::End::EndOfFile) << "block " << block;
        ASSERT_EQ(read.records, expected) << "block " << block;
        EXPECT_EQ(read.firstLines, (std::vector<qint64> {1, 7, 13})) << "block " << block;
    }
}

INSTANTIATE_TEST_SUITE_P(LogReader, RoundTrip,
                         testing::Values(LineEnds {"CrLf", "\r\n"}, LineEnds {"Lf", "\n"}, LineEnds {"Cr", "\r"}),
                         [](const testing::TestParamInfo<LineEnds> &p) { return std::string(p.param.name); });

TEST(LogReader, MixedLineEndsAndEmptyLines)
{
    const QByteArray log = "a\r\n\r\n\n\rb\n\r\r\nc\r\nd\ne\rf\r\n";
    // a, "", "", "", b, ""  |  "", c, d, e, f  (CR LF, LF and CR each end one line)
    for (qsizetype block = 1; block <= 8; ++block) {
        const Read read = readBytes(log, block);
        ASSERT_EQ(read.records.size(), 1u) << "block " << block;
        EXPECT_EQ(read.records[0], (std::vector<QByteArray> {"a", "", "", "", "b", ""})) << "block " << block;
        EXPECT_EQ(read.end, LogReader::End::TornRecord) << "block " << block;
        EXPECT_EQ(read.tornValues, 5);
        EXPECT_EQ(read.tornFirstLine, 7);
    }
}

TEST(LogReader, EndsOfFile)
{
    struct Row
    {
        QByteArray log;
        size_t records;
        LogReader::End end;
        int tornValues;
    };
    const Row rows[] = {
        {"", 0, LogReader::End::EndOfFile, 0},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6", 1, LogReader::End::EndOfFile, 0},      // no line end after the last value
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n\r\n \r\n", 1, LogReader::End::EndOfFile, 0}, // blank lines after it
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n" + QByteArray("\r\n").repeated(6), 1, LogReader::End::EndOfFile, 0},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n" + QByteArray(" \n\t\r").repeated(40), 1, LogReader::End::EndOfFile, 0},
        {QByteArray("\r\n").repeated(13), 0, LogReader::End::EndOfFile, 0},
        // ... but blank lines with something after them are a record of blanks
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n" + QByteArray("\r\n").repeated(7) + "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n", 3,
         LogReader::End::TornRecord, 1},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n" + QByteArray("\r\n").repeated(6) + "7", 2, LogReader::End::TornRecord, 1},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7", 1, LogReader::End::TornRecord, 1},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n\r\n7\r\n", 1, LogReader::End::TornRecord, 2},
        {"1\r\n2\r\n3\r\n", 0, LogReader::End::TornRecord, 3},
    };
    for (const Row &row : rows) {
        const Read read = readBytes(row.log, 2);
        EXPECT_EQ(read.records.size(), row.records) << row.log.toStdString();
        EXPECT_EQ(read.end, row.end) << row.log.toStdString();
        EXPECT_EQ(read.tornValues, row.tornValues) << row.log.toStdString();
    }
}

TEST(LogReader, OverlongLinesKeepTheirStartOnly)
{
    const QByteArray longLine(LogReader::kMaxValueLength * 50 + 3, 'x');
    const QByteArray log = "1\r\n" + longLine + "\r\n3\r\n4\r\n5\r\n6\r\n" + "a\r\nb\r\nc\r\nd\r\ne\r\n" + longLine;
    for (const qsizetype block : {qsizetype(1), qsizetype(100), qsizetype(4096), qsizetype(1 << 20)}) {
        QByteArray bytes = log;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        LogReader reader(buffer, block);
        core::session::RecordView r;
        ASSERT_TRUE(reader.next(r)) << "block " << block;
        EXPECT_TRUE(r.isCut(RecordValue::EndDate));
        EXPECT_EQ(r.value(RecordValue::EndDate), longLine.left(LogReader::kMaxValueLength));
        EXPECT_FALSE(r.isCut(RecordValue::StartTime));
        EXPECT_EQ(r.value(RecordValue::StartTime), "3");
        ASSERT_TRUE(reader.next(r)) << "block " << block; // the last line has no line end
        EXPECT_EQ(r.value(RecordValue::Separator), "a");
        EXPECT_TRUE(r.isCut(RecordValue::ClockText));
        EXPECT_EQ(r.value(RecordValue::ClockText).size(), LogReader::kMaxValueLength);
        EXPECT_FALSE(reader.next(r));
        EXPECT_EQ(reader.end(), LogReader::End::EndOfFile);
        EXPECT_EQ(reader.linesRead(), 12);
    }
}

// A device that fails after handing out part of a log, as a disk may.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray bytes)
        : bytes_(std::move(bytes))
    {
        open(QIODevice::ReadOnly);
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (pos_ >= bytes_.size()) {
            setErrorString(QStringLiteral("Input/output error"));
            return -1;
        }
        const qint64 n = std::min<qint64>(maxSize, bytes_.size() - pos_);
        std::memcpy(data, bytes_.constData() + pos_, static_cast<size_t>(n));
        pos_ += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 pos_ = 0;
};

TEST(LogReader, PassesAFailingReadOn)
{
    FailingDevice device("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    const Read read = readAll(device, 5);
    EXPECT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.end, LogReader::End::ReadError);
}

} // namespace
