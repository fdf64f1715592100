#include "settings/form_placement.h"

#include <windows.h>

#include <exception>

#include "core/ini_values.h"
#include "core/text.h"
#include "settings/store/placement_text.h"
#include "toolkit/application.h"
#include "toolkit/density.h"
#include "toolkit/graphics.h"

namespace {

const TEnumInfo& PlacementOptionNames() {
    static const TEnumInfo names{{"fpState", "fpPosition", "fpActiveControl"}};
    return names;
}

const TEnumInfo& RegRootNames() {
    static const TEnumInfo names{
        {"prCurrentUser", "prLocalMachine", "prCurrentConfig", "prClassesRoot", "prUsers", "prDynData"}};
    return names;
}

bool IsSizeable(TFormBorderStyle style) {
    return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}

// The frame a maximised window of this border style pushes beyond the screen's edge.
SIZE FrameSize(TFormBorderStyle style) {
    switch (style) {
        case TFormBorderStyle::bsDialog: return {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
        case TFormBorderStyle::bsSizeable:
        case TFormBorderStyle::bsSizeToolWin: return {GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME)};
        case TFormBorderStyle::bsSingle:
        case TFormBorderStyle::bsToolWindow: return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
        default: return {0, 0};
    }
}

// Runs one step of a form event; its failure goes to the failure display and the event goes on.
template <class F>
void Reporting(F step) {
    try {
        step();
    } catch (...) {
        Application().HandleException(std::current_exception());
    }
}

}  // namespace

// ---- TWinMinMaxInfo -----------------------------------------------------------------------

const TClassInfo& TWinMinMaxInfo::StaticClass() {
    using P = Published<TWinMinMaxInfo>;
    auto member = [](const char* name, int TWinMinMaxInfo::*field) {
        return P::Int(
            name, [field](TWinMinMaxInfo& m) { return m.*field; },
            [field](TWinMinMaxInfo& m, int v) { m.*field = v; }, 0);
    };
    static const TClassInfo info = MakeClassInfo<TWinMinMaxInfo, TPersistent>("TWinMinMaxInfo", {
        member("MaxPosLeft", &TWinMinMaxInfo::MaxPosLeft),
        member("MaxPosTop", &TWinMinMaxInfo::MaxPosTop),
        member("MaxSizeHeight", &TWinMinMaxInfo::MaxSizeHeight),
        member("MaxSizeWidth", &TWinMinMaxInfo::MaxSizeWidth),
        member("MaxTrackHeight", &TWinMinMaxInfo::MaxTrackHeight),
        member("MaxTrackWidth", &TWinMinMaxInfo::MaxTrackWidth),
        member("MinTrackHeight", &TWinMinMaxInfo::MinTrackHeight),
        member("MinTrackWidth", &TWinMinMaxInfo::MinTrackWidth),
    });
    return info;
}

void TWinMinMaxInfo::Assign(const TPersistent& source) {
    if (auto* other = dynamic_cast<const TWinMinMaxInfo*>(&source)) {
        MaxPosLeft = other->MaxPosLeft;
        MaxPosTop = other->MaxPosTop;
        MaxSizeHeight = other->MaxSizeHeight;
        MaxSizeWidth = other->MaxSizeWidth;
        MaxTrackHeight = other->MaxTrackHeight;
        MaxTrackWidth = other->MaxTrackWidth;
        MinTrackHeight = other->MinTrackHeight;
        MinTrackWidth = other->MinTrackWidth;
        return;
    }
    TPersistent::Assign(source);
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const {
    return MaxPosLeft == 0 && MaxPosTop == 0 && MaxSizeHeight == 0 && MaxSizeWidth == 0 && MaxTrackHeight == 0 &&
           MaxTrackWidth == 0 && MinTrackHeight == 0 && MinTrackWidth == 0;
}

// ---- TFormPlacement: configuration --------------------------------------------------------

TFormPlacement::TFormPlacement(TComponent* owner) : TComponent(owner) {
    if (Form()) options_ = PlacementOptionBit(fpState) | PlacementOptionBit(fpPosition);
}

TFormPlacement::~TFormPlacement() { UnhookForm(); }

const TClassInfo& TFormPlacement::StaticClass() {
    using P = Published<TFormPlacement>;
    static const TClassInfo info = MakeCreatableClassInfo<TFormPlacement, TComponent>("TFormPlacement", {
        P::Bool("Active", &TFormPlacement::Active, &TFormPlacement::SetActive, true),
        P::Str("IniFileName", &TFormPlacement::IniFileName, &TFormPlacement::SetIniFileName),
        P::Str("IniSection", &TFormPlacement::IniSection, &TFormPlacement::SetIniSection),
        P::Object("MinMaxInfo", [](TFormPlacement& f) -> TPersistent* { return &f.MinMaxInfo(); }),
        P::Set("Options", PlacementOptionNames(), &TFormPlacement::Options, &TFormPlacement::SetOptions,
               PlacementOptionBit(fpState) | PlacementOptionBit(fpPosition)),
        P::Bool("PreventResize", &TFormPlacement::PreventResize, &TFormPlacement::SetPreventResize, false),
        P::Enum("RegistryRoot", RegRootNames(), &TFormPlacement::RegistryRoot, &TFormPlacement::SetRegistryRoot,
                0),
        P::Bool("UseRegistry", &TFormPlacement::UseRegistry, &TFormPlacement::SetUseRegistry, false),
        P::Int("Version", &TFormPlacement::Version, &TFormPlacement::SetVersion, 0),
        P::Event("OnSavePlacement", &TFormPlacement::OnSavePlacement),
        P::Event("OnRestorePlacement", &TFormPlacement::OnRestorePlacement),
    });
    return info;
}

TForm* TFormPlacement::Form() const { return dynamic_cast<TForm*>(Owner()); }

std::string TFormPlacement::IniFileNameInUse() const {
    if (!iniFileName_.empty()) return iniFileName_;
    std::string name = Application().ExeName();
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name + ".INI";
}

std::string TFormPlacement::IniSectionInUse() const {
    if (!iniSection_.empty()) return iniSection_;
    // While the form is being destroyed its class information is already that of a base
    // class, so the name seen while it was whole is kept for the save that destruction runs.
    if (Owner() && !Owner()->Destroying()) ownerClassName_ = Owner()->ClassInfo().Name;
    if (!ownerClassName_.empty()) return ownerClassName_;
    return Owner() ? Owner()->ClassInfo().Name : ClassInfo().Name;
}

// ---- the form's events --------------------------------------------------------------------

void TFormPlacement::Loaded() {
    TComponent::Loaded();
    IniSectionInUse();
    HookForm();
}

void TFormPlacement::HookForm() {
    TForm* form = Form();
    if (!form || hookedForm_) return;
    hookedForm_ = form;
    formShow_ = form->OnShow;
    formCloseQuery_ = form->OnCloseQuery;
    formDestroy_ = form->OnDestroy;
    form->OnShow = [this](TObject* sender) { FormShow(sender); };
    form->OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    form->OnDestroy = [this](TObject* sender) { FormDestroy(sender); };
}

void TFormPlacement::UnhookForm() {
    if (!hookedForm_) return;
    hookedForm_->OnShow = formShow_;
    hookedForm_->OnCloseQuery = formCloseQuery_;
    hookedForm_->OnDestroy = formDestroy_;
    hookedForm_ = nullptr;
}

void TFormPlacement::FormShow(TObject* sender) {
    if (active_) Reporting([this] { RestoreFormSettings(); });
    if (formShow_) formShow_(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose) {
    if (formCloseQuery_) formCloseQuery_(sender, canClose);
    if (canClose && active_ && hookedForm_->HandleAllocated()) Reporting([this] { SaveFormSettings(); });
}

void TFormPlacement::FormDestroy(TObject* sender) {
    if (active_ && !saved_) {
        destroying_ = true;
        Reporting([this] { SaveFormSettings(); });
        destroying_ = false;
    }
    if (formDestroy_) formDestroy_(sender);
}

// ---- restore and save ---------------------------------------------------------------------

void TFormPlacement::RestoreFormSettings() {
    saved_ = false;
    ini_ = std::make_unique<TIniFile>(IniFileNameInUse());
    try {
        if (ReadIntSetting("FormVersion", 0) >= version_) {
            LoadPlacement();
            restored_ = true;
            if (OnRestorePlacement) OnRestorePlacement(this);
            if (HasOption(fpActiveControl)) RestoreActiveControl();
        }
        restored_ = true;
    } catch (...) {
        ini_.reset();
        throw;
    }
    ini_.reset();
    SetMaximizedFramePosition();
}

void TFormPlacement::SaveFormSettings() {
    if (!restored_ && active_) return;
    ini_ = std::make_unique<TIniFile>(IniFileNameInUse());
    try {
        WriteIntSetting("FormVersion", version_);
        StorePlacement();
        if (OnSavePlacement) OnSavePlacement(this);
        saved_ = true;
    } catch (...) {
        ini_.reset();
        throw;
    }
    ini_.reset();
}

void TFormPlacement::LoadPlacement() {
    if (TForm* form = Form()) {
        WINDOWPLACEMENT placement = form->Placement();
        // The form is still hidden while its show event runs; the toolkit shows it afterwards.
        if (!IsWindowVisible(form->Handle())) placement.showCmd = SW_HIDE;
        if (HasOption(fpPosition)) ApplyPosition(placement);
        if (HasOption(fpState)) ApplyState();
        form->Invalidate();
    }
    restored_ = true;
}

void TFormPlacement::ApplyPosition(WINDOWPLACEMENT& placement) {
    TForm& form = *Form();
    placement.flags = static_cast<UINT>(ReadIntSetting("Flags", static_cast<int>(placement.flags)));
    std::string minMax = ReadPosition("MinMaxPos");
    std::string normal = ReadPosition("NormPos");
    // The desk's density, not that of the monitor the form was last on: positions count in the
    // same pixels on every monitor, and a form closed on a denser one opens there again.
    const int screenDensity = SystemDensity();
    if ((minMax.empty() && normal.empty()) || ReadIntSetting("PixelsPerInch", screenDensity) != screenDensity)
        return;

    if (!minMax.empty()) {
        auto v = ParsePosition(minMax, {0, 0, 0, 0});
        placement.ptMinPosition = {v[0], v[1]};
        placement.ptMaxPosition = {v[2], v[3]};
    }
    if (!normal.empty()) {
        auto v = ParsePosition(normal,
                               {form.Left(), form.Top(), form.Left() + form.Width(), form.Top() + form.Height()});
        placement.rcNormalPosition = {v[0], v[1], v[2], v[3]};
    }
    if (!IsSizeable(form.BorderStyle())) {
        // A fixed frame is moved, never resized.
        RECT& r = placement.rcNormalPosition;
        r.right = r.left + form.Width();
        r.bottom = r.top + form.Height();
    }
    if (placement.rcNormalPosition.right <= placement.rcNormalPosition.left) return;
    if (form.Position() == TPosition::poScreenCenter || form.Position() == TPosition::poDesktopCenter)
        form.SetPosition(TPosition::poDesigned);  // or showing would centre it again
    form.SetPlacement(placement);
}

void TFormPlacement::ApplyState() {
    TForm& form = *Form();
    const bool mainForm = !Application().MainForm() || Application().MainForm() == &form;
    TStoredWindowState fallback = TStoredWindowState::swsNormal;
    if (mainForm && (form.FormStyle() == TFormStyle::fsMDIForm ||
                     (form.FormStyle() == TFormStyle::fsNormal && form.Position() == TPosition::poDefault)))
        fallback = TStoredWindowState::swsMaximized;

    TStoredWindowState state = StateOfShowCmd(ReadIntSetting("ShowCmd", 0), fallback);
    if (state == TStoredWindowState::swsMinimized && mainForm) {
        // The whole application starts minimised, once the form has been shown.
        PostMessageA(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    switch (state) {
        case TStoredWindowState::swsNormal: form.SetWindowState(TWindowState::wsNormal); break;
        case TStoredWindowState::swsMinimized: form.SetWindowState(TWindowState::wsMinimized); break;
        case TStoredWindowState::swsMaximized: form.SetWindowState(TWindowState::wsMaximized); break;
    }
}

void TFormPlacement::RestoreActiveControl() {
    TForm* form = Form();
    if (!form) return;
    std::string name = ReadSetting(IniSectionInUse(), "ActiveControl", "");
    auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
    if (control && control->CanFocus()) form->SetActiveControl(control);
}

void TFormPlacement::SetMaximizedFramePosition() {
    TForm* form = Form();
    if (!form || !minMaxInfo_.DefaultMinMaxInfo() || preventResize_) return;
    WINDOWPLACEMENT placement = form->Placement();
    if (!IsWindowVisible(form->Handle())) placement.showCmd = SW_HIDE;
    SIZE frame = FrameSize(form->BorderStyle());
    placement.ptMaxPosition = {-frame.cx, -frame.cy};
    form->SetPlacement(placement);
}

void TFormPlacement::StorePlacement() {
    TForm* form = Form();
    // Without its window the form has no placement to keep (and none is made now).
    if (!form || !form->HandleAllocated()) return;
    const std::string section = IniSectionInUse();
    if (HasOption(fpState) || HasOption(fpPosition)) {
        WINDOWPLACEMENT placement = form->Placement();
        UINT flags = placement.flags;
        if (form->FormStyle() == TFormStyle::fsMDIChild && form->WindowState() == TWindowState::wsMinimized)
            flags |= WPF_SETMINPOSITION;
        int showCmd = static_cast<int>(placement.showCmd);
        if (form->IsMainForm() && Application().Minimized()) showCmd = SW_SHOWMINIMIZED;
        WriteIntSetting("Flags", static_cast<int>(flags));
        WriteIntSetting("ShowCmd", showCmd);
        WriteIntSetting("PixelsPerInch", SystemDensity());
        WritePosition("MinMaxPos", FormatPosition({placement.ptMinPosition.x, placement.ptMinPosition.y,
                                                   placement.ptMaxPosition.x, placement.ptMaxPosition.y}));
        const RECT& r = placement.rcNormalPosition;
        WritePosition("NormPos", FormatPosition({r.left, r.top, r.right, r.bottom}));
        WriteSetting(section, "Visible", destroying_ ? "1" : "0");
    }
    if (HasOption(fpActiveControl) && form->ActiveControl())
        WriteSetting(section, "ActiveControl", form->ActiveControl()->Name());
}

// ---- settings file access -----------------------------------------------------------------

std::string TFormPlacement::ReadSetting(const std::string& section, const std::string& key, const std::string& def) {
    if (ini_) return ini_->ReadString(section, key, def);
    return TIniFile(IniFileNameInUse()).ReadString(section, key, def);
}

void TFormPlacement::WriteSetting(const std::string& section, const std::string& key, const std::string& value) {
    if (ini_) return ini_->WriteString(section, key, value);
    TIniFile(IniFileNameInUse()).WriteString(section, key, value);
}

int TFormPlacement::ReadIntSetting(const std::string& key, int def) {
    int v;
    return TryParseInt(ReadSetting(IniSectionInUse(), key, ""), v) ? v : def;
}

void TFormPlacement::WriteIntSetting(const std::string& key, int value) {
    WriteSetting(IniSectionInUse(), key, Format("%d", value));
}

// Each screen size keeps its own position; the bare key serves a screen seen for the first time.
std::string TFormPlacement::ReadPosition(const std::string& key) {
    const std::string section = IniSectionInUse();
    std::string v = ReadSetting(section, key + ScreenSizeSuffix(Screen().Width(), Screen().Height()), "");
    return v.empty() ? ReadSetting(section, key, "") : v;
}

void TFormPlacement::WritePosition(const std::string& key, const std::string& value) {
    const std::string section = IniSectionInUse();
    WriteSetting(section, key + ScreenSizeSuffix(Screen().Width(), Screen().Height()), value);
    WriteSetting(section, key, value);
}
