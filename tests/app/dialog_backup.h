#pragma once
// One run of the program as the operator makes it: the dialog shown, the folder and year typed,
// "&Snimi" pressed; what the operator was told comes back.
#include <functional>
#include <string>

#include "app/form_snimanje_podataka.h"
#include "dialog_support.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "toolkit/edit.h"
#include "widgets/directory_edit.h"

// programFolder: where the dialog takes the database from. prepare: given the dialog before it
// is shown. Returns the one message shown, or how many there were.
inline std::string RunDialogBackup(const std::string& programFolder, const std::string& folder,
                                   const std::string& year = "2024",
                                   const std::function<void(TFSnimanjePodataka&)>& prepare = {}) {
    support::MessageBoxCapture boxes;
    bool destroyed = false;
    auto* dialog = new TFSnimanjePodataka(nullptr);
    dialog->ProgramFileName = programFolder + "Snimanje.exe";
    new DestroyProbe(dialog, destroyed);
    if (prepare) prepare(*dialog);
    dialog->Show();
    Application().ProcessMessages();
    dialog->DirectoryEdit1->SetText(folder);
    dialog->EditGodina->SetText(year);
    support::PressAltChar('s');
    Application().ProcessMessages();
    if (!destroyed) delete dialog;
    Application().ProcessMessages();
    return boxes.Boxes.size() == 1 ? boxes.Boxes[0].Text : "(" + std::to_string(boxes.Boxes.size()) + " messages)";
}
