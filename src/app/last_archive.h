#pragma once
// The last backup in sight: the newest archive of the chosen year in the chosen folder, in the
// dialog's words, looked up off the window's thread so that a slow or missing network folder
// never holds up typing. Every change of folder or year asks again; the newest question wins,
// and answers to earlier ones are dropped.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/year_archives.h"
#include "core/dates.h"

// Older than this many days, the last archive is shown as a warning.
inline constexpr int kLastArchiveWarningDays = 7;

struct TLastArchiveLine {
    std::string Text;
    bool Warning = false;  // none, or older than kLastArchiveWarningDays
};

// "Zadnja arhiva: 10.12.2026. (prije 1 dan)", or that there is none, or no such folder.
TLastArchiveLine LastArchiveLine(const TYearArchives& archives, TDateTime today);

class TLastArchiveLookup {
public:
    // wake: called on the look-up's own thread when an answer is ready; it must only ask the
    // window's thread to call Take (post it a message).
    explicit TLastArchiveLookup(std::function<void()> wake);
    // A look-up still running ends on its own, and finds no one to tell.
    ~TLastArchiveLookup();
    TLastArchiveLookup(const TLastArchiveLookup&) = delete;
    TLastArchiveLookup& operator=(const TLastArchiveLookup&) = delete;

    void Request(const std::string& folder, const std::string& year);
    // The answer to the newest request, once; false while it is not there.
    bool Take(TYearArchives& archives);

    // How a folder is listed; a test puts a slow one here.
    std::function<TYearArchives(const std::string& folder, const std::string& year)> List = ListYearArchives;

private:
    struct TShared;
    std::shared_ptr<TShared> shared_;
};
