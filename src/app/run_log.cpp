#include "app/run_log.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "app/backup_texts.h"
#include "core/append_file.h"
#include "core/disk_space.h"
#include "core/move_over.h"
#include "core/paths.h"
#include "core/streams.h"
#include "core/text.h"

namespace {

// The log's fields, in their order.
enum Field { fStarted, fYear, fArchive, fDatabaseSize, fArchiveSize, fSeconds, fOutcome, fDetail, kFields };

const char* OutcomeText(TRunOutcome outcome) {
    switch (outcome) {
        case TRunOutcome::Saved: return kOutcomeSavedText;
        case TRunOutcome::Refused: return kOutcomeRefusedText;
        case TRunOutcome::Stopped: return kOutcomeStoppedText;
        case TRunOutcome::Failed: break;
    }
    return kOutcomeFailedText;
}

std::string OneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
    return text;
}

std::string TimeText(TDateTime when) {
    const TYMD d = DecodeDate(when);
    const double fraction = when - static_cast<double>(static_cast<int64_t>(when));
    const int seconds = std::min(86399, static_cast<int>(fraction * 86400.0 + 0.5));
    return Format("%02u.%02u.%04u. %02d:%02d:%02d", d.Day, d.Month, d.Year, seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
}

// The last bytes of the log, whole lines only; the earlier lines cannot hold a later run.
std::string Tail(const std::string& file) {
    try {
        TFileStream log(file, fmOpenRead | fmShareDenyNone);
        const int64_t size = log.Size();
        const int64_t take = std::min<int64_t>(size, 64 * 1024);
        std::string bytes(static_cast<size_t>(take), '\0');
        log.Seek(size - take, TSeekOrigin::soBeginning);
        log.ReadBuffer(bytes.data(), take);
        return bytes;
    } catch (const Exception&) {
        return {};
    }
}

}  // namespace

std::string RunLogFile(const std::string& settingsFile) {
    const std::string folder = ExtractFilePath(settingsFile);
    return folder.empty() ? std::string() : folder + kRunLogName;
}

std::string RunLogLine(const TRunRecord& r) {
    std::string seconds = Format("%.1f", r.Seconds);
    std::replace(seconds.begin(), seconds.end(), '.', ',');
    const std::string fields[kFields] = {TimeText(r.Started),
                                         OneLine(r.Year),
                                         OneLine(r.Archive),
                                         std::to_string(r.DatabaseSize),
                                         std::to_string(r.ArchiveSize),
                                         seconds + " s",
                                         OutcomeText(r.Outcome),
                                         OneLine(r.Detail)};
    std::string line;
    for (const std::string& f : fields) line += (line.empty() ? "" : "\t") + f;
    return line + "\r\n";
}

void AppendRunLog(const std::string& logFile, const TRunRecord& record) {
    if (logFile.empty()) return;
    const std::string line = RunLogLine(record);
    uint64_t size = 0;
    if (FileSizeOf(logFile, size) && size + line.size() > kRunLogLimit)
        MoveOver(logFile, ExtractFilePath(logFile) + kEarlierRunLogName);
    AppendToFile(logFile, line);
}

double LastCompressionRatio(const std::string& logFile, const std::string& year) {
    if (logFile.empty()) return 0;
    std::istringstream lines(Tail(logFile));
    double ratio = 0;
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string f; std::getline(parts, f, '\t');) fields.push_back(f);
        if (fields.size() < kFields - 1 || fields[fYear] != year || fields[fOutcome] != kOutcomeSavedText) continue;
        const auto database = static_cast<double>(std::strtoull(fields[fDatabaseSize].c_str(), nullptr, 10));
        const auto archive = static_cast<double>(std::strtoull(fields[fArchiveSize].c_str(), nullptr, 10));
        if (database > 0 && archive > 0) ratio = archive / database;
    }
    return ratio;
}
