// The few platform services that the engine's plain sources call, as the host offers them: the
// host's clock, random generator and error texts, and the C locale's regional values. The
// targets that depend on "today" fix the core's clock themselves. The targets work on streams in
// memory: the commit's file streams (a tail copy, a source file) are refused here.
#include <sys/random.h>

#include <cstring>
#include <ctime>

#include "archiver/deflate/system_random.h"
#include "archiver/write/archive_files.h"
#include "core/dates.h"
#include "core/exceptions.h"
#include "core/regional.h"
#include "core/streams.h"
#include "core/text.h"
#include "core/write_behind.h"

std::string SysErrorMessage(unsigned long code) { return std::strerror(static_cast<int>(code)); }

TDateTime SystemNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec) / 86400.0;
}

void FillSystemRandom(uint8_t* buffer, size_t count) {
    while (count > 0) {
        const ssize_t n = getrandom(buffer, count, 0);
        if (n <= 0) throw Exception("System random generator failed");
        buffer += n;
        count -= static_cast<size_t>(n);
    }
}

TRegionalSettings ReadRegionalSettings() {
    TRegionalSettings s;
    s.ShortDateFormat = "M/d/yyyy";
    s.DateSeparator = '/';
    s.DecimalSeparator = '.';
    s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                        "July",    "August",   "September", "October", "November", "December"};
    return s;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) { return SameTextAscii(a, b); }

TFileStream::TFileStream(const std::string& fileName, uint16_t) : fileName_(fileName), handle_(nullptr) {
    throw EFOpenError("No files on this host: " + fileName);
}
TFileStream::~TFileStream() = default;
int64_t TFileStream::Read(void*, int64_t) { return 0; }
int64_t TFileStream::Write(const void*, int64_t) { return 0; }
int64_t TFileStream::Seek(int64_t, TSeekOrigin) { return -1; }
int64_t TFileStream::Size() { return -1; }
void TFileStream::SetSize(int64_t) { throw EWriteError("Stream write error"); }
void TFileStream::Flush() {}
TWriteBehind::~TWriteBehind() = default;

bool DeleteArchiveFile(const std::string&) { return false; }
