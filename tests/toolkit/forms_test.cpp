#include <gtest/gtest.h>

#include <vector>

#include "core/exceptions.h"
#include "core/form_reader.h"
#include "support/gui_input.h"
#include "support/message_box_capture.h"
#include "toolkit/application.h"
#include "toolkit/bevel.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/forms.h"
#include "toolkit/label.h"
#include "toolkit/toolkit_classes.h"

namespace {

const char* kDescription = R"(
object TestForm: TTestForm
  BorderStyle = bsDialog
  Caption = 'Test form'
  ClientWidth = 300
  ClientHeight = 120
  Font.Name = 'Arial'
  Font.Height = -11
  Font.Charset = EASTEUROPE_CHARSET
  KeyPreview = True
  Position = poScreenCenter
  OnKeyDown = FormKeyDown
  object Bevel1: TBevel
    Left = 0
    Top = 0
    Width = 300
    Height = 70
  end
  object Label1: TLabel
    Left = 8
    Top = 10
    Width = 50
    Height = 15
    Caption = '&Name'
    FocusControl = Edit1
  end
  object Ok: TBitBtn
    Left = 8
    Top = 80
    Width = 90
    Height = 28
    Caption = '&Snimi'
    Default = True
    TabOrder = 0
    OnClick = OkClick
    Font.Height = -12
  end
  object CancelButton: TButton
    Left = 104
    Top = 80
    Width = 90
    Height = 28
    Caption = '&Odustani'
    Cancel = True
    TabOrder = 1
    OnClick = CancelClick
  end
  object Edit1: TEdit
    Left = 70
    Top = 8
    Width = 200
    Height = 21
    TabOrder = 2
    Text = 'abc'
  end
end
)";

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {
        RegisterMethod("OkClick", TNotifyEvent([this](TObject*) { ++okClicks; }));
        RegisterMethod("CancelClick", TNotifyEvent([this](TObject*) { ++cancelClicks; }));
        RegisterMethod("FormKeyDown", TKeyEvent([this](TObject*, WORD& key, TShiftState) {
                           previewKeys.push_back(key);
                           if (key == swallow) key = 0;
                       }));
        ReadFormDescription(*this, kDescription);
    }
    static const TClassInfo& StaticClass() {
        static const TClassInfo info = MakeClassInfo<TTestForm, TForm>("TTestForm");
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    template <class T>
    T* Get(const char* name) {
        return dynamic_cast<T*>(FindComponent(name));
    }

    int okClicks = 0;
    int cancelClicks = 0;
    WORD swallow = 0;
    std::vector<WORD> previewKeys;
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterToolkitClasses();
        form = new TTestForm(nullptr);
    }
    void TearDown() override {
        delete form;
        Application().ProcessMessages();
    }

    void ShowForm() {
        form->Show();
        Application().ProcessMessages();
    }

    void Press(WORD vk, TShiftState shift = 0) { support::PressKey(vk, shift); }
    void AltChar(char ch) { support::PressAltChar(ch); }
    TWinControl* Focused() { return support::FocusedControl(); }

    TTestForm* form = nullptr;
};

}  // namespace

TEST_F(FormTest, DescriptionBuildsControlsWithInheritedAndOwnFonts) {
    auto* label = form->Get<TLabel>("Label1");
    auto* ok = form->Get<TBitBtn>("Ok");
    auto* edit = form->Get<TEdit>("Edit1");
    ASSERT_TRUE(label && ok && edit);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_EQ(label->Parent(), form);
    EXPECT_EQ(edit->Font().Name(), "Arial");
    EXPECT_EQ(edit->Font().Charset(), EASTEUROPE_CHARSET);
    EXPECT_TRUE(edit->ParentFont());
    EXPECT_EQ(ok->Font().Height(), -12);
    EXPECT_FALSE(ok->ParentFont());
    EXPECT_EQ(edit->Text(), "abc");

    form->Font().SetHeight(-15);  // inherited fonts follow, own ones stay
    EXPECT_EQ(edit->Font().Height(), -15);
    EXPECT_EQ(ok->Font().Height(), -12);
}

TEST_F(FormTest, ClientSizeIsTheDescribedOneAndTheFrameIsFixed) {
    HWND h = form->Handle();
    RECT r;
    GetClientRect(h, &r);
    EXPECT_EQ(r.right, 300);
    EXPECT_EQ(r.bottom, 120);
    LONG style = GetWindowLongA(h, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    char caption[64];
    GetWindowTextA(h, caption, sizeof caption);
    EXPECT_STREQ(caption, "Test form");
}

TEST_F(FormTest, ShownCentredWithTheFocusOnTheFirstControlInTabOrder) {
    ShowForm();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Ok"));
    RECT r;
    GetWindowRect(form->Handle(), &r);
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(r.left + (r.right - r.left) / 2, screenW / 2, 1);
    EXPECT_NEAR(r.top + (r.bottom - r.top) / 2, screenH / 2, 1);
}

TEST_F(FormTest, TabAndShiftTabFollowTheTabOrder) {
    ShowForm();
    Press(VK_TAB);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("CancelButton"));
    Press(VK_TAB);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Edit1"));
    Press(VK_TAB);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Ok"));
    Press(VK_TAB, ssShift);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Edit1"));
}

TEST_F(FormTest, EscPressesTheCancelButtonAfterTheKeyPreview) {
    ShowForm();
    form->Get<TEdit>("Edit1")->SetFocus();
    Press(VK_ESCAPE);
    EXPECT_EQ(form->cancelClicks, 1);
    EXPECT_EQ(form->okClicks, 0);
    ASSERT_FALSE(form->previewKeys.empty());
    EXPECT_EQ(form->previewKeys.front(), VK_ESCAPE);

    form->swallow = VK_ESCAPE;  // a preview that consumes the key keeps it from the button
    Press(VK_ESCAPE);
    EXPECT_EQ(form->cancelClicks, 1);
}

TEST_F(FormTest, EnterPressesTheFocusedButtonOrElseTheDefaultOne) {
    ShowForm();
    form->Get<TEdit>("Edit1")->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(form->okClicks, 1);
    form->Get<TWinControl>("CancelButton")->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(form->cancelClicks, 1);
    EXPECT_EQ(form->okClicks, 1);
}

TEST_F(FormTest, AcceleratorsClickButtonsAndFocusLabelledControls) {
    ShowForm();
    AltChar('s');
    EXPECT_EQ(form->okClicks, 1);
    AltChar('O');
    EXPECT_EQ(form->cancelClicks, 1);
    AltChar('n');
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Edit1"));
    AltChar('q');  // nobody's accelerator
    EXPECT_EQ(form->okClicks + form->cancelClicks, 2);
}

TEST_F(FormTest, DisabledButtonsIgnoreTheirAcceleratorAndEsc) {
    ShowForm();
    form->Get<TButton>("CancelButton")->SetEnabled(false);
    AltChar('o');
    Press(VK_ESCAPE);
    EXPECT_EQ(form->cancelClicks, 0);
}

TEST_F(FormTest, ErrorsOfHandlersReachTheFailureDisplayAndTheFormStays) {
    support::MessageBoxCapture boxes;
    ShowForm();
    form->Get<TButton>("Ok")->OnClick = [](TObject*) { throw Exception("Boom"); };
    SendMessageA(form->Get<TButton>("Ok")->Handle(), BM_CLICK, 0, 0);
    Application().ProcessMessages();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Boom.");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(FormTest, CloseQueryCanRefuseAndCaFreeDestroysTheFormLater) {
    ShowForm();
    int queries = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        canClose = queries > 1;
    };
    form->Close();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));

    bool destroyed = false;
    form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->Close();
    form->Close();  // a second close (Esc reaching two handlers) changes nothing
    EXPECT_EQ(queries, 2);
    EXPECT_FALSE(destroyed);
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
    form = nullptr;
}

TEST_F(FormTest, CloseBoxRunsClose) {
    ShowForm();
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));  // caHide is the default
}

TEST_F(FormTest, EditReportsChangesFromCodeAndFromTyping) {
    ShowForm();
    auto* edit = form->Get<TEdit>("Edit1");
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText("xyz");
    EXPECT_EQ(changes, 1);
    edit->SetFocus();
    edit->SetSelStart(3);
    PostMessageA(edit->Handle(), WM_CHAR, 'q', 1);
    Application().ProcessMessages();
    EXPECT_EQ(edit->Text(), "xyzq");
    EXPECT_EQ(changes, 2);
}

TEST_F(FormTest, TextSurvivesRecreatingTheWindow) {
    auto* edit = form->Get<TEdit>("Edit1");
    edit->Handle();
    edit->SetText("kept");
    edit->SetOEMConvert(true);  // needs a new window
    EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_OEMCONVERT);
    EXPECT_EQ(edit->Text(), "kept");
}

TEST_F(FormTest, ACustomDrawnControlRedrawsItsStateWhenDisabledAndEnabled) {
    class TStateControl : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        std::vector<bool> Painted;  // Enabled() at each paint

    protected:
        void Paint() override { Painted.push_back(Enabled()); }
    };
    auto& control = *new TStateControl(form);
    control.SetParent(form);
    control.SetBounds(200, 10, 20, 20);
    ShowForm();
    control.Painted.clear();
    control.SetEnabled(false);
    Application().ProcessMessages();
    EXPECT_EQ(control.Painted, std::vector<bool>{false});
    control.SetEnabled(true);
    Application().ProcessMessages();
    EXPECT_EQ(control.Painted, (std::vector<bool>{false, true}));
}

TEST_F(FormTest, HourglassAnswersEveryWindowsCursorQuery) {
    HWND h = form->Handle();
    Screen().SetCursor(crHourGlass);
    EXPECT_EQ(SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
    Screen().SetCursor(crDefault);
    EXPECT_EQ(Screen().Cursor(), crDefault);
}

TEST_F(FormTest, MainWindowHooksSeeMessagesFirstAndCanBeRemoved) {
    TForm* previousMain = Application().MainForm();
    Application().SetMainForm(form);
    int seen = 0;
    int id = Application().HookMainWindow([&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_SETTINGCHANGE) return false;
        ++seen;
        result = 0;
        return true;
    });
    SendMessageA(form->Handle(), WM_SETTINGCHANGE, 0, 0);
    Application().UnhookMainWindow(id);
    SendMessageA(form->Handle(), WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(seen, 1);
    Application().SetMainForm(previousMain);
}

TEST_F(FormTest, TabSkipsDisabledAndHiddenControls) {
    ShowForm();
    form->Get<TButton>("CancelButton")->SetEnabled(false);
    Press(VK_TAB);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Edit1"));
    form->Get<TWinControl>("Ok")->Hide();
    Press(VK_TAB);
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Edit1"));  // the only one left
}

TEST_F(FormTest, LabelAcceleratorIgnoredWhenItsControlCannotTakeTheFocus) {
    ShowForm();
    form->Get<TEdit>("Edit1")->SetEnabled(false);
    AltChar('n');
    EXPECT_EQ(Focused(), form->Get<TWinControl>("Ok"));
}

TEST_F(FormTest, ShowModalEndsWithTheButtonsModalResultAndReenablesTheOthers) {
    TForm other(nullptr);
    other.Show();
    auto* ok = form->Get<TButton>("Ok");
    ok->SetModalResult(mrOk);
    bool otherEnabledDuring = true;
    form->OnShow = [&](TObject*) {
        otherEnabledDuring = IsWindowEnabled(other.Handle());
        ok->Click();
        PostMessageA(form->Handle(), WM_NULL, 0, 0);  // wakes the modal loop
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(otherEnabledDuring);
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->okClicks, 1);
}

TEST_F(FormTest, MinimizingBeforeTheFirstShowShowsTheMainFormMinimised) {
    TForm* previousMain = Application().MainForm();
    Application().SetMainForm(form);
    bool shown = false;
    form->OnShow = [&](TObject*) {
        shown = true;
        form->SetWindowState(TWindowState::wsNormal);  // as a restored placement may
    };
    Application().Minimize();
    Application().ProcessMessages();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_TRUE(Application().Minimized());
    Application().Restore();
    EXPECT_FALSE(Application().Minimized());
    Application().SetMainForm(previousMain);
}
