// The progress bar: the common-controls window behind it, its range and position, and its
// place in a form description at another screen density.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "core/form_reader.h"
#include "toolkit/application.h"
#include "toolkit/forms.h"
#include "toolkit/progress_bar.h"
#include "toolkit/toolkit_classes.h"

namespace {

// Laid out at half the test screen's density: everything doubles when it is read.
const char* kHalfDensityForm = R"(
object BarForm: TForm
  ClientWidth = 200
  ClientHeight = 60
  PixelsPerInch = 48
  object Bar: TProgressBar
    Left = 10
    Top = 20
    Width = 100
    Height = 12
    Max = 400
    Position = 150
  end
end
)";

int WindowPosition(HWND bar) { return static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)); }

PBRANGE WindowRange(HWND bar) {
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    return range;
}

}  // namespace

TEST(ProgressBar, ReadAndScaledLikeTheOtherControlsOnTheSystemsBar) {
    RegisterToolkitClasses();
    ASSERT_EQ(Screen().PixelsPerInch(), 96);
    TForm form(nullptr);
    ReadFormDescription(form, kHalfDensityForm);
    auto* bar = dynamic_cast<TProgressBar*>(form.FindComponent("Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Parent(), &form);
    EXPECT_FALSE(bar->TabStop());

    HWND h = bar->Handle();
    char className[64] = "";
    GetClassNameA(h, className, sizeof className);
    EXPECT_STREQ(className, PROGRESS_CLASSA);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 24);
    EXPECT_EQ(WindowRange(h).iHigh, 400);
    EXPECT_EQ(WindowPosition(h), 150);  // set before the window existed
}

TEST(ProgressBar, PositionStaysInTheRangeInTheObjectAndTheWindow) {
    TForm form(nullptr);
    auto& bar = *new TProgressBar(&form);
    bar.SetParent(&form);
    struct Step {
        const char* what;
        int min, max, position;
        int expected;
    } steps[] = {
        {"inside", 0, 100, 40, 40},
        {"above the end", 0, 100, 250, 100},
        {"below the start", 10, 100, -5, 10},
        {"a range that shrinks below it", 10, 1000, 900, 900},
    };
    for (const Step& s : steps) {
        bar.SetMin(s.min);
        bar.SetMax(s.max);
        bar.SetPosition(s.position);
        EXPECT_EQ(bar.Position(), s.expected) << s.what;
        EXPECT_EQ(WindowPosition(bar.Handle()), s.expected) << s.what;
    }
    bar.SetMax(500);
    EXPECT_EQ(bar.Position(), 500);
    EXPECT_EQ(WindowPosition(bar.Handle()), 500);
    PBRANGE range = WindowRange(bar.Handle());
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 500);
}
