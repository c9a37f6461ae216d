// Writes the finished report: code page 932 (or, when the script asks, UTF-8) text
// followed by CR LF, replacing the output file in one step so a failed write never
// leaves it emptied or half written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace mirudana {

// The warning shown, followed by CR LF, the output path, CR LF and the reason,
// when a report cannot be written.
inline constexpr const char* kReportUnwritten = "出力ファイルに書き込めませんでした。";

enum class ReportEncoding { Cp932, Utf8 };

// Hands `take` the bytes a report file holds for `text`, a piece at a time: the
// text in `encoding`, then CR LF. What `take` throws ends it.
void encodeReport(std::string_view text, ReportEncoding encoding,
                  const std::function<void(std::string_view)>& take);

// Writes `text` to a temporary file beside `path` and renames it over `path`.
// A symbolic link is written through to its target; an existing file keeps its
// permissions, a new one gets the usual ones. A read-only target, a missing
// folder or any write error leaves the old file untouched, removes the temporary
// file and throws Failure, whose text is the reason. When the folder refuses a new
// file but the report itself may be written, it is written in place.
void writeReportFile(const std::string& path, std::string_view text,
                     ReportEncoding encoding = ReportEncoding::Cp932);

}  // namespace mirudana
