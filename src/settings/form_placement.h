#pragma once
// TFormPlacement: a component dropped on a form that brings back the form's window placement
// from an INI file when the form is shown and writes it when the form closes. It needs no code
// in the form: once the form is loaded it stands in front of the form's OnShow, OnCloseQuery
// and OnDestroy handlers and calls the form's own after (or before) its work.
#include <cstdint>
#include <memory>
#include <string>

#include "core/component.h"
#include "core/ini_file.h"
#include "toolkit/forms.h"

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = int;  // bit per TPlacementOption
constexpr TPlacementOptions PlacementOptionBit(TPlacementOption o) { return 1 << o; }

enum class TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// Held only (kept for form descriptions and the settings file; nothing in this program reads
// them): size limits for the form, which nothing enforces on the window.
class TWinMinMaxInfo : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    void Assign(const TPersistent& source) override;
    bool DefaultMinMaxInfo() const;

    int MaxPosLeft = 0, MaxPosTop = 0;
    int MaxSizeHeight = 0, MaxSizeWidth = 0;
    int MaxTrackHeight = 0, MaxTrackWidth = 0;
    int MinTrackHeight = 0, MinTrackWidth = 0;
};

class TFormPlacement : public TComponent {
public:
    explicit TFormPlacement(TComponent* owner);
    ~TFormPlacement() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool Active() const { return active_; }
    void SetActive(bool v) { active_ = v; }
    const std::string& IniFileName() const { return iniFileName_; }
    void SetIniFileName(const std::string& v) { iniFileName_ = v; }
    const std::string& IniSection() const { return iniSection_; }
    void SetIniSection(const std::string& v) { iniSection_ = v; }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions v) { options_ = v; }
    bool HasOption(TPlacementOption o) const { return (options_ & PlacementOptionBit(o)) != 0; }
    // Held only (kept for form descriptions; nothing in this program reads them): the values stay
    // in the INI file either way.
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool v) { useRegistry_ = v; }
    TPlacementRegRoot RegistryRoot() const { return registryRoot_; }
    void SetRegistryRoot(TPlacementRegRoot v) { registryRoot_ = v; }
    // Settings written under a lower version are not restored.
    int Version() const { return version_; }
    void SetVersion(int v) { version_ = v; }
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool v) { preventResize_ = v; }
    // Held only (kept for form descriptions; nothing in this program reads it).
    TWinMinMaxInfo& MinMaxInfo() { return minMaxInfo_; }

    // The file in use: IniFileName, else the program's file name with ".INI" and no folder.
    std::string IniFileNameInUse() const;
    // The section in use: IniSection, else the class name of the form (or of this component
    // when it sits on no form).
    std::string IniSectionInUse() const;

    // Reads and applies the stored settings; a failure is raised.
    void RestoreFormSettings();
    // Writes the settings, provided a restore has run (or the component is inactive). A refused
    // write raises "Unable to write to <file>" and leaves the save unfinished.
    void SaveFormSettings();

    bool Saved() const { return saved_; }

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    void Loaded() override;

protected:
    virtual void StorePlacement();
    virtual void LoadPlacement();
    // One text value of the settings file; valid between the start and end of a save or
    // restore, and also outside one (the file is then opened for the single call).
    virtual std::string ReadSetting(const std::string& section, const std::string& key, const std::string& def);
    virtual void WriteSetting(const std::string& section, const std::string& key, const std::string& value);

    int ReadIntSetting(const std::string& key, int def);
    void WriteIntSetting(const std::string& key, int value);

    // The form whose settings are kept; nullptr when the owner is not a form.
    TForm* Form() const;

private:
    void HookForm();
    void UnhookForm();
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);

    void ApplyPosition(WINDOWPLACEMENT& placement);
    void ApplyState();
    void RestoreActiveControl();
    void SetMaximizedFramePosition();
    std::string ReadPosition(const std::string& key);
    void WritePosition(const std::string& key, const std::string& value);

    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    TPlacementOptions options_ = 0;
    bool useRegistry_ = false;
    TPlacementRegRoot registryRoot_ = TPlacementRegRoot::prCurrentUser;
    int version_ = 0;
    bool preventResize_ = false;
    TWinMinMaxInfo minMaxInfo_;

    mutable std::string ownerClassName_;
    bool restored_ = false;
    bool saved_ = false;
    bool destroying_ = false;
    std::unique_ptr<TIniFile> ini_;  // open while one save or restore runs

    TForm* hookedForm_ = nullptr;
    TNotifyEvent formShow_;
    TCloseQueryEvent formCloseQuery_;
    TNotifyEvent formDestroy_;
};
