#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "core/text.h"
#include "placement_form.h"
#include "support/files.h"
#include "toolkit/application.h"
#include "toolkit/density.h"
#include "toolkit/graphics.h"
#include "toolkit/message_box.h"

namespace {

std::string ScreenKey(const char* key) { return Format("%s(%dx%d)", key, Screen().Width(), Screen().Height()); }

RECT WindowRect(TForm& form) {
    RECT r;
    GetWindowRect(form.Handle(), &r);
    return r;
}

class FormStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeletePlacementIni();
        previousBox_ = SetMessageBoxHandler([this](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    }
    void TearDown() override {
        form.reset();
        Application().SetMainForm(nullptr);
        SetMessageBoxHandler(previousBox_);
        DeletePlacementIni();
    }

    TFPlacementTest& Open(const std::string& storageLines = "", const std::string& storedProp = "DirectoryEdit1.Text") {
        form.reset(CreatePlacementForm(log, storageLines, storedProp));
        return *form;
    }
    void ShowAndPump() {
        form->Show();
        Application().ProcessMessages();
    }

    TFormLog log;
    std::vector<std::string> boxes;
    std::unique_ptr<TFPlacementTest> form;

private:
    TMessageBoxHandler previousBox_;
};

TEST_F(FormStorageTest, FirstRunIsCentredAndClosingWritesEveryKeyInOrder) {
    Open();
    ShowAndPump();
    RECT r = WindowRect(*form);
    EXPECT_EQ(r.left, (Screen().Width() - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (Screen().Height() - (r.bottom - r.top)) / 2);
    EXPECT_EQ(form->DirectoryEdit1()->Text(), "c:\\");
    EXPECT_TRUE(IniKeys().empty());  // showing writes nothing

    form->Close();
    EXPECT_EQ(IniKeys(), (std::vector<std::string>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                                   ScreenKey("MinMaxPos"), "MinMaxPos", ScreenKey("NormPos"),
                                                   "NormPos", "Visible", "DirectoryEdit1_Text"}));
    std::string norm = Format("%ld,%ld,%ld,%ld", r.left, r.top, r.right, r.bottom);
    EXPECT_EQ(IniValue("NormPos"), norm);
    EXPECT_EQ(IniValue(ScreenKey("NormPos")), norm);
    EXPECT_EQ(IniValue("MinMaxPos"), IniValue(ScreenKey("MinMaxPos")));
    EXPECT_EQ(IniValue("FormVersion"), "0");
    EXPECT_EQ(IniValue("ShowCmd"), "1");
    EXPECT_EQ(IniValue("PixelsPerInch"), std::to_string(Screen().PixelsPerInch()));
    EXPECT_EQ(IniValue("Visible"), "0");
    EXPECT_EQ(IniValue("DirectoryEdit1_Text"), "c:\\");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(FormStorageTest, SecondRunRestoresPositionAtDesignedSizeAndFolderBeforeTheFormsShowHandler) {
    IniWrite("PixelsPerInch", std::to_string(Screen().PixelsPerInch()));
    IniWrite(ScreenKey("NormPos"), "40,60,1000,900");  // a stored size is not taken by a fixed frame
    IniWrite("NormPos", "1,1,2,2");
    IniWrite("DirectoryEdit1_Text", "e:\\arhiva");
    Open();
    ShowAndPump();
    RECT r = WindowRect(*form);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.right - r.left, form->Width());
    EXPECT_LT(r.right - r.left, 700);
    EXPECT_EQ(form->Position(), TPosition::poDesigned);
    EXPECT_EQ(log.events, (std::vector<std::string>{"show:e:\\arhiva"}));
}

struct PositionCase {
    const char* name;
    const char* screenKeyValue;  // nullptr: not written
    const char* bareValue;
    int densityDelta;
    bool moved;
    bool onDenserMonitor = false;  // the form was last told a monitor's density above the desk's
};

TEST_F(FormStorageTest, PositionNeedsTheSameDensityAndFallsBackToTheBareKey) {
    const PositionCase cases[] = {
        {"other screen size", nullptr, "30,50,300,300", 0, true},
        {"changed density", "30,50,300,300", "30,50,300,300", 24, false},
        {"right not beyond left", "30,50,30,50", nullptr, 0, true},  // width is the form's own
        {"words missing", "30", nullptr, 0, true},
        {"empty values", "", "", 0, false},
        {"form on a denser monitor", "30,50,300,300", nullptr, 0, true, true},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeletePlacementIni();
        IniWrite("PixelsPerInch", std::to_string(SystemDensity() + c.densityDelta));
        Screen().SetPixelsPerInch(c.onDenserMonitor ? SystemDensity() + 48 : 0);
        if (c.screenKeyValue) IniWrite(ScreenKey("NormPos"), c.screenKeyValue);
        if (c.bareValue) IniWrite("NormPos", c.bareValue);
        IniWrite("DirectoryEdit1_Text", "d:\\x");
        Open();
        ShowAndPump();
        RECT r = WindowRect(*form);
        if (c.moved) {
            EXPECT_EQ(r.left, 30);
            if (std::string(c.name) != "words missing") {
                EXPECT_EQ(r.top, 50);
            }
        } else {
            EXPECT_EQ(r.left, (Screen().Width() - (r.right - r.left)) / 2);
        }
        EXPECT_EQ(form->DirectoryEdit1()->Text(), "d:\\x");  // properties do not depend on it
        form.reset();
        Screen().SetPixelsPerInch(0);
    }
}

TEST_F(FormStorageTest, APositionOffTheScreenIsBroughtBackOntoIt) {
    // Stored on a larger screen or on a second one that is no longer there (a laptop taken from
    // its dock): the bare key is read when the screen's own is missing.
    const int w = Screen().Width();
    const int h = Screen().Height();
    const struct {
        const char* Name;
        std::string Stored;
    } cases[] = {
        {"beyond the right edge", Format("%d,100,%d,400", w + 200, w + 500)},
        {"beyond the bottom edge", Format("100,%d,400,%d", h + 50, h + 300)},
        {"left of the screen", "-2400,100,-2000,400"},
        {"above the screen", "100,-900,400,-600"},
        {"partly past the right edge", Format("%d,100,%d,400", w - 60, w + 240)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        DeletePlacementIni();
        IniWrite("PixelsPerInch", std::to_string(Screen().PixelsPerInch()));
        IniWrite("NormPos", c.Stored);
        Open();
        ShowAndPump();
        const RECT r = WindowRect(*form);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, w);
        EXPECT_LE(r.bottom, h);
        form.reset();
    }
}

TEST_F(FormStorageTest, ShowCmdTwoMinimisesTheApplication) {
    IniWrite("ShowCmd", "2");
    Open();
    Application().SetMainForm(form.get());
    ShowAndPump();
    EXPECT_TRUE(IsIconic(form->Handle()));
    EXPECT_TRUE(Application().Minimized());
    form->CloseQuery();
    EXPECT_EQ(IniValue("ShowCmd"), "2");
    ShowWindow(form->Handle(), SW_RESTORE);
    Application().ProcessMessages();
}

TEST_F(FormStorageTest, OlderVersionSkipsPlacementAndProperties) {
    IniWrite("FormVersion", "-1");
    IniWrite("NormPos", "30,50,300,300");
    IniWrite("DirectoryEdit1_Text", "d:\\old");
    Open();
    ShowAndPump();
    EXPECT_EQ(form->DirectoryEdit1()->Text(), "c:\\");
    EXPECT_NE(WindowRect(*form).left, 30);
    form->CloseQuery();  // the restore did run, so the save writes everything afresh
    EXPECT_EQ(IniValue("FormVersion"), "0");
    EXPECT_EQ(IniValue("DirectoryEdit1_Text"), "c:\\");
}

TEST_F(FormStorageTest, FolderTextRoundTrip) {
    const struct {
        const char* typed;
        const char* stored;
        const char* restored;
    } cases[] = {
        {"  c:\\arhiva \t", "c:\\arhiva", "c:\\arhiva"},
        {"", "", ""},
        {"\"c:\\s razmakom\"", "\"\"c:\\s razmakom\"\"", "\"c:\\s razmakom\""},
        {"'e:\\'", "\"'e:\\'\"", "'e:\\'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        DeletePlacementIni();
        Open();
        ShowAndPump();
        form->DirectoryEdit1()->SetText(c.typed);
        form->CloseQuery();
        char raw[256];  // as written, before the platform strips a pair of quotes
        GetPrivateProfileStringA("TFPlacementTest", "DirectoryEdit1_Text", "<missing>", raw, sizeof raw,
                                 kPlacementIni);
        EXPECT_EQ(Trim(raw), Trim(c.restored));
        Open();
        ShowAndPump();
        EXPECT_EQ(form->DirectoryEdit1()->Text(), c.restored);
    }
}

// A settings file as an editor, a crash or a full disk may leave it. What can be read is read,
// the rest falls back to the defaults, and the next close writes the file sound again without an
// error.
TEST_F(FormStorageTest, ADamagedFileGivesWhatItCanAndIsWrittenSoundAgain) {
    auto utf16 = [](const std::u16string& text) {
        std::string bytes = "\xff\xfe";
        for (char16_t c : text) bytes += {static_cast<char>(c & 0xff), static_cast<char>(c >> 8)};
        return bytes;
    };
    const std::string folder = "DirectoryEdit1_Text=d:\\arhiva\r\n";
    const struct {
        const char* name;
        std::string bytes;
        const char* restored;
    } cases[] = {
        {"UTF-8 with a byte-order mark", "\xef\xbb\xbf[TFPlacementTest]\r\nDirectoryEdit1_Text=d:\\\xc5\xa0kola\r\n",
         "d:\\\x8akola"},
        {"UTF-16 with a byte-order mark", utf16(u"[TFPlacementTest]\r\nDirectoryEdit1_Text=d:\\\u0160kola\r\n"),
         "d:\\\x8akola"},
        {"binary junk before the section", std::string("\x81\xfe\x07\x1b junk \x9f\r\n\xff\xff\r\n") +
                                               "[TFPlacementTest]\r\n" + folder, "d:\\arhiva"},
        {"zeros after the last line", "[TFPlacementTest]\r\n" + folder + std::string(600, '\0'), "d:\\arhiva"},
        {"nothing but zeros", std::string(4096, '\0'), "c:\\"},
        {"a huge line", "[TFPlacementTest]\r\nJunk=" + std::string(200000, 'x') + "\r\n" + folder, "d:\\arhiva"},
        {"section and key in other case", "[tfplacementtest]\r\ndirectoryedit1_text=d:\\arhiva\r\n", "d:\\arhiva"},
        {"no section of ours", "[Drugi]\r\n" + folder, "c:\\"},
        {"positions out of range",
         "[TFPlacementTest]\r\nFlags=-1\r\nShowCmd=99999999999\r\nPixelsPerInch=" +
             std::to_string(Screen().PixelsPerInch()) + "\r\nNormPos=2147483647,2147483647,-2147483648,7\r\n" +
             "MinMaxPos=-2147483648,x,,2147483647\r\n" + folder,
         "d:\\arhiva"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeletePlacementIni();
        support::WriteBytes(support::WindowsFolderFile(kPlacementIni), c.bytes);
        Open();
        ShowAndPump();
        EXPECT_EQ(form->DirectoryEdit1()->Text(), c.restored);
        const RECT r = WindowRect(*form);
        EXPECT_LT(r.left, r.right);
        EXPECT_LT(r.left, Screen().Width());
        EXPECT_LT(r.top, Screen().Height());
        form->DirectoryEdit1()->SetText("e:\\novo");
        form->CloseQuery();
        EXPECT_TRUE(boxes.empty());
        Open();
        ShowAndPump();
        EXPECT_EQ(form->DirectoryEdit1()->Text(), "e:\\novo");
        form.reset();
    }
}

TEST_F(FormStorageTest, LooseListEntryBindsAndUsesTheDeclaredPropertyName) {
    IniWrite("DirectoryEdit1_Text", "f:\\x");
    Open("", "  directoryedit1 .  text ");
    ShowAndPump();
    EXPECT_EQ(form->DirectoryEdit1()->Text(), "f:\\x");
    form->DirectoryEdit1()->SetText("g:\\y");
    form->CloseQuery();
    EXPECT_EQ(IniValue("DirectoryEdit1_Text"), "g:\\y");
    EXPECT_EQ(form->FormStorage1()->StoredProps()[0], "DirectoryEdit1.text");
}

TEST_F(FormStorageTest, ClosingSavesAfterTheFormsCloseQueryAndBeforeItsCloseHandler) {
    Open();
    ShowAndPump();
    log.allowClose = false;
    form->Close();
    EXPECT_EQ(IniValue("FormVersion"), "<missing>");
    log.allowClose = true;
    form->OnClose = [this](TObject*, TCloseAction&) { log.events.push_back("close:" + IniValue("NormPos")); };
    form->Close();
    ASSERT_EQ(log.events.size(), 4u);
    EXPECT_EQ(log.events[1], "closequery");
    EXPECT_EQ(log.events[2], "closequery");
    EXPECT_NE(log.events[3], "close:<missing>");
}

TEST_F(FormStorageTest, DestroyingSavesOnlyWhenNoSaveCompleted) {
    Open();
    ShowAndPump();
    form.reset();
    EXPECT_EQ(IniValue("Visible"), "1") << (boxes.empty() ? "" : boxes[0]);
    EXPECT_EQ(log.events.back(), "destroy");  // the form's own handler still runs

    DeletePlacementIni();
    Open();
    ShowAndPump();
    form->CloseQuery();
    DeletePlacementIni();
    form.reset();
    EXPECT_EQ(IniValue("FormVersion"), "<missing>");

    Open();  // never shown: nothing restored, nothing written
    form.reset();
    EXPECT_EQ(IniValue("FormVersion"), "<missing>");
}

TEST_F(FormStorageTest, RefusedWriteReachesTheFailureDisplayAndIsTriedAgainOnDestroy) {
    Open();
    form->FormStorage1()->SetIniFileName("z:\\no\\such\\folder\\s.ini");
    ShowAndPump();
    bool canClose = form->CloseQuery();
    EXPECT_TRUE(canClose);
    EXPECT_FALSE(form->FormStorage1()->Saved());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Unable to write to z:\\no\\such\\folder\\s.ini.");
    form.reset();
    EXPECT_EQ(boxes.size(), 2u);
}

TEST_F(FormStorageTest, DestroyedComponentLeavesTheListAndTheFormGetsItsHandlersBack) {
    Open();
    delete form->DirectoryEdit1();
    EXPECT_EQ(form->FormStorage1()->StoredProps().Count(), 0);
    ShowAndPump();
    form->CloseQuery();
    EXPECT_EQ(IniValue("DirectoryEdit1_Text"), "<missing>");

    DeletePlacementIni();
    delete form->FormStorage1();
    form->Hide();
    form->Show();
    form->CloseQuery();
    EXPECT_EQ(IniValue("FormVersion"), "<missing>");
    EXPECT_EQ(log.events, (std::vector<std::string>{"show:-", "closequery", "show:-", "closequery"}));
}

}  // namespace

namespace {

TEST_F(FormStorageTest, EverySettingLoadsFromTheFormDescription) {
    TFormStorage& s = *Open(R"(Active = False
    IniSection = 'Other'
    Options = [fpState, fpActiveControl]
    UseRegistry = True
    RegistryRoot = prLocalMachine
    Version = 2
    PreventResize = True
    MinMaxInfo.MaxPosLeft = 5
    MinMaxInfo.MinTrackWidth = 100
    StoredValues.Items = ('LastYear=2024')
    OnSavePlacement = PlacementSaved)").FormStorage1();
    EXPECT_FALSE(s.Active());
    EXPECT_EQ(s.IniSectionInUse(), "Other");
    EXPECT_EQ(s.IniFileNameInUse(), kPlacementIni);
    EXPECT_EQ(s.Options(), PlacementOptionBit(fpState) | PlacementOptionBit(fpActiveControl));
    EXPECT_TRUE(s.UseRegistry());
    EXPECT_EQ(s.RegistryRoot(), TPlacementRegRoot::prLocalMachine);
    EXPECT_EQ(s.Version(), 2);
    EXPECT_TRUE(s.PreventResize());
    EXPECT_EQ(s.MinMaxInfo().MaxPosLeft, 5);
    EXPECT_EQ(s.MinMaxInfo().MinTrackWidth, 100);
    EXPECT_FALSE(s.MinMaxInfo().DefaultMinMaxInfo());
    ASSERT_EQ(s.StoredValues().Count(), 1);
    EXPECT_EQ(s.StoredValues().Items(0).Value, "2024");
    ASSERT_TRUE(s.OnSavePlacement);

    TFormStorage defaults(nullptr);
    EXPECT_TRUE(defaults.Active());
    EXPECT_EQ(defaults.Options(), 0);  // not on a form
    EXPECT_EQ(defaults.IniFileNameInUse(), "settings_tests.INI");
    EXPECT_EQ(form->FormStorage1()->ClassInfo().Name, "TFormStorage");
}

TEST_F(FormStorageTest, EventsStoredValuesAndActiveControlRoundTrip) {
    Open(R"(Options = [fpState, fpPosition, fpActiveControl]
    StoredValues.Items = ('LastYear=2024')
    OnSavePlacement = PlacementSaved
    OnRestorePlacement = PlacementRestored)");
    form->FormStorage1()->StoredValues().Items(0).OnSave = [](TStoredValue*, std::string& v) { v += "!"; };
    ShowAndPump();
    form->SetActiveControl(form->DirectoryEdit1());
    form->CloseQuery();
    EXPECT_EQ(IniValue("LastYear"), "2024!");
    EXPECT_EQ(IniValue("ActiveControl"), "DirectoryEdit1");
    EXPECT_EQ(IniKeys().back(), "LastYear");  // after the listed properties

    IniWrite("LastYear", "1999");
    Open(R"(Options = [fpState, fpPosition, fpActiveControl]
    StoredValues.Items = ('LastYear=2024')
    OnRestorePlacement = PlacementRestored)");
    ShowAndPump();
    EXPECT_EQ(form->FormStorage1()->StoredValues().Items(0).Value, "1999");
    EXPECT_EQ(form->ActiveControl(), form->DirectoryEdit1());
    EXPECT_EQ(log.events, (std::vector<std::string>{"restored", "show:c:\\", "closequery", "saved", "destroy", "restored",
                                                    "show:c:\\"}));
}

// (Wine does not report a maximised position set on a window that is not maximised, so the
// frame offset of the restore cannot be read back here.)
TEST_F(FormStorageTest, ShowCmdThreeMaximisesASizeableForm) {
    IniWrite("ShowCmd", "3");
    Open();
    form->SetBorderStyle(TFormBorderStyle::bsSizeable);
    ShowAndPump();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
}

}  // namespace
