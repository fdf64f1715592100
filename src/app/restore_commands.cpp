#include "app/restore_commands.h"

#include <windows.h>

#include "app/restore_texts.h"
#include "core/text.h"
#include "toolkit/application.h"
#include "toolkit/message_box.h"
#include "toolkit/open_file_dialog.h"

namespace {

// The MS-DOS date and time as the operator writes them: 05.03.2024. 10:20
std::string DateText(uint16_t date, uint16_t time) {
    return Format("%02u.%02u.%04u. %02u:%02u", date & 31u, (date >> 5) & 15u, (date >> 9) + 1980u, time >> 11,
                  (time >> 5) & 63u);
}

}  // namespace

void AddRestoreMenuItems(HWND form) {
    HMENU menu = GetSystemMenu(form, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kTestArchiveCommand, kTestArchiveMenuText);
    AppendMenuA(menu, MF_STRING, kRestoreCommand, kRestoreMenuText);
}

std::string PickArchive(const std::string& folder) {
    return OpenFileShow(folder, kArchiveFilterName, kArchiveFilterPattern);
}

bool ConfirmRestore(const std::string& archive, const TRestoreCandidate& candidate) {
    const std::string question = Format(kConfirmRestoreText, archive.c_str(),
                                        DateText(candidate.Date, candidate.Time).c_str(), candidate.Database.c_str());
    return MessageBoxShow(question, Application().Title(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
