#pragma once
// A form like the backup dialog for the placement tests: a fixed dialog frame centred on the
// screen, a folder edit DirectoryEdit1 and a TFormStorage with one stored property. Its own
// handlers record what they saw into a log that outlives the form.
#include <string>
#include <vector>

#include "settings/form_storage.h"
#include "toolkit/edit.h"
#include "toolkit/forms.h"

struct TFormLog {
    std::vector<std::string> events;  // "show:<folder text>", "closequery", "close", "destroy"
    bool allowClose = true;
};

class TFPlacementTest : public TForm {
public:
    TFPlacementTest(TComponent* owner, TFormLog& log);
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    TEdit* DirectoryEdit1() const;
    TFormStorage* FormStorage1() const;
};

// The settings file the tests use, a bare name as the program's own; removed on each call.
extern const char* const kPlacementIni;
void DeletePlacementIni();

// Creates the form from a description with the storage's extra lines (e.g. "Version = 1").
TFPlacementTest* CreatePlacementForm(TFormLog& log, const std::string& storageLines = "",
                                     const std::string& storedProp = "DirectoryEdit1.Text");

// One key as the platform reads it; "<missing>" when absent.
std::string IniValue(const std::string& key);
// The section's keys in file order.
std::vector<std::string> IniKeys();
void IniWrite(const std::string& key, const std::string& value);
