#include "placement_form.h"

#include <windows.h>

#include "core/form_reader.h"
#include "settings/settings_classes.h"
#include "support/files.h"

#undef RegisterClass

const char* const kPlacementIni = "settings_placement_test.INI";
static const char* const kSection = "TFPlacementTest";

TFPlacementTest::TFPlacementTest(TComponent* owner, TFormLog& log) : TForm(owner) {
    TFormLog* l = &log;  // the handlers may run while the form is being destroyed
    RegisterMethod("FormShow", TNotifyEvent([this, l](TObject*) {
                       l->events.push_back("show:" + (DirectoryEdit1() ? DirectoryEdit1()->Text() : "-"));
                   }));
    RegisterMethod("FormCloseQuery", TCloseQueryEvent([l](TObject*, bool& canClose) {
                       l->events.push_back("closequery");
                       canClose = l->allowClose;
                   }));
    RegisterMethod("FormClose", TCloseEvent([l](TObject*, TCloseAction&) { l->events.push_back("close"); }));
    RegisterMethod("PlacementSaved", TNotifyEvent([l](TObject*) { l->events.push_back("saved"); }));
    RegisterMethod("PlacementRestored", TNotifyEvent([l](TObject*) { l->events.push_back("restored"); }));
    RegisterMethod("FormDestroy", TNotifyEvent([l](TObject*) { l->events.push_back("destroy"); }));
}

const TClassInfo& TFPlacementTest::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TFPlacementTest, TForm>("TFPlacementTest");
    return info;
}

TEdit* TFPlacementTest::DirectoryEdit1() const { return dynamic_cast<TEdit*>(FindComponent("DirectoryEdit1")); }
TFormStorage* TFPlacementTest::FormStorage1() const {
    return dynamic_cast<TFormStorage*>(FindComponent("FormStorage1"));
}

void DeletePlacementIni() { support::DeleteIniFile(kPlacementIni); }

TFPlacementTest* CreatePlacementForm(TFormLog& log, const std::string& storageLines, const std::string& storedProp) {
    RegisterClass(TEdit::StaticClass());
    RegisterSettingsClasses();
    auto* form = new TFPlacementTest(nullptr, log);
    ReadFormDescription(*form, R"(
object FPlacementTest: TFPlacementTest
  Left = 200
  Top = 150
  BorderStyle = bsDialog
  Caption = 'Snimanje podataka'
  ClientHeight = 132
  ClientWidth = 589
  Position = poScreenCenter
  OnShow = FormShow
  OnCloseQuery = FormCloseQuery
  OnClose = FormClose
  OnDestroy = FormDestroy
  object DirectoryEdit1: TEdit
    Left = 136
    Top = 34
    Width = 441
    Height = 24
    TabOrder = 0
    Text = 'c:\'
  end
  object FormStorage1: TFormStorage
    IniFileName = ')" + std::string(kPlacementIni) + R"('
    )" + storageLines + R"(
    StoredProps.Strings = (
      ')" + storedProp + R"(')
  end
end
)");
    return form;
}

std::string IniValue(const std::string& key) {
    char buf[2048];
    GetPrivateProfileStringA(kSection, key.c_str(), "<missing>", buf, sizeof buf, kPlacementIni);
    return buf;
}

std::vector<std::string> IniKeys() {
    char buf[4096];
    DWORD n = GetPrivateProfileStringA(kSection, nullptr, "", buf, sizeof buf, kPlacementIni);
    std::vector<std::string> keys;
    for (DWORD i = 0; i < n; i += static_cast<DWORD>(keys.back().size()) + 1) keys.emplace_back(buf + i);
    return keys;
}

void IniWrite(const std::string& key, const std::string& value) {
    WritePrivateProfileStringA(kSection, key.c_str(), value.c_str(), kPlacementIni);
}
