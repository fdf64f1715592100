#include "app/last_archive.h"

#include <mutex>
#include <thread>

#include "app/backup_texts.h"
#include "core/text.h"

namespace {

std::string DateText(TDateTime date) {
    const TYMD d = DecodeDate(date);
    return Format("%02u.%02u.%04u.", d.Day, d.Month, d.Year);
}

std::string AgeText(int days) {
    if (days <= 0) return kTodayText;
    // 1, 21, 31 ... dan; every other number dana.
    return Format(days % 10 == 1 && days % 100 != 11 ? kDayAgoText : kDaysAgoText, days);
}

}  // namespace

TLastArchiveLine LastArchiveLine(const TYearArchives& archives, TDateTime today) {
    if (!archives.FolderFound) return {kNoFolderText, true};
    if (archives.Items.empty()) return {kNoArchiveText, true};
    const TDateTime newest = archives.Items.back().Date;
    const int days = static_cast<int>(static_cast<int64_t>(today) - static_cast<int64_t>(newest));
    return {Format(kLastArchiveText, DateText(newest).c_str(), AgeText(days).c_str()), days > kLastArchiveWarningDays};
}

// What the window's thread and the look-ups share; a look-up keeps it alive past the dialog.
struct TLastArchiveLookup::TShared {
    std::mutex Lock;
    uint64_t Newest = 0;    // the number of the newest request
    bool Answered = false;  // Answer is that request's
    TYearArchives Answer;
    std::function<void()> Wake;  // cleared when the dialog goes
};

TLastArchiveLookup::TLastArchiveLookup(std::function<void()> wake) : shared_(std::make_shared<TShared>()) {
    shared_->Wake = std::move(wake);
}

TLastArchiveLookup::~TLastArchiveLookup() {
    std::lock_guard<std::mutex> hold(shared_->Lock);
    shared_->Wake = nullptr;
}

void TLastArchiveLookup::Request(const std::string& folder, const std::string& year) {
    uint64_t number;
    {
        std::lock_guard<std::mutex> hold(shared_->Lock);
        number = ++shared_->Newest;
        shared_->Answered = false;
    }
    // One thread per request: a look-up stuck on a share that does not answer must not hold
    // up the next one. It is left to end on its own.
    std::thread([shared = shared_, list = List, folder, year, number] {
        TYearArchives answer = list(folder, year);
        std::lock_guard<std::mutex> hold(shared->Lock);
        if (number != shared->Newest || !shared->Wake) return;
        shared->Answer = std::move(answer);
        shared->Answered = true;
        shared->Wake();
    }).detach();
}

bool TLastArchiveLookup::Take(TYearArchives& archives) {
    std::lock_guard<std::mutex> hold(shared_->Lock);
    if (!shared_->Answered) return false;
    shared_->Answered = false;
    archives = std::move(shared_->Answer);
    return true;
}
