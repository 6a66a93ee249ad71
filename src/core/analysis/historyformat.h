// SPDX-License-Identifier: MIT
#pragma once
// The history as text for people and as data for other programs: aligned
// columns with a total line, CSV, or a JSON array. Written in chunks, so a
// history of many thousand periods never sits in memory as one text.

#include "core/analysis/history.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace core::analysis {

enum class HistoryFormat { Text, Csv, Json };

std::optional<HistoryFormat> historyFormatNamed(std::string_view name);
std::optional<Period> periodNamed(std::string_view name);

// Seconds as H:MM:SS, hours unpadded and past 23 if need be ("-" first when
// negative).
QString clockText(std::int64_t seconds);

// Hands the text over in chunks to `write`, which returns false to stop.
// Lines end in LF. False when `write` refused a chunk.
using ChunkWriter = std::function<bool(std::string_view)>;
bool writeHistory(const History &history, HistoryFormat format, const ChunkWriter &write);

} // namespace core::analysis
