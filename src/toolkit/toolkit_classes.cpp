#include "toolkit/toolkit_classes.h"

#include <windows.h>

#include "toolkit/bevel.h"
#include "toolkit/buttons.h"
#include "toolkit/edit.h"
#include "toolkit/forms.h"
#include "toolkit/graphics.h"
#include "toolkit/label.h"
#include "toolkit/progress_bar.h"

void RegisterToolkitClasses() {
    RegisterClass(TLabel::StaticClass());
    RegisterClass(TBevel::StaticClass());
    RegisterClass(TEdit::StaticClass());
    RegisterClass(TButton::StaticClass());
    RegisterClass(TBitBtn::StaticClass());
    RegisterClass(TProgressBar::StaticClass());

    struct Named {
        const char* name;
        int64_t value;
    };
    static const Named constants[] = {
        {"clScrollBar", clScrollBar}, {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
        {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
        {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
        {"clCaptionText", clCaptionText}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
        {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
        {"clBtnText", clBtnText}, {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow},
        {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk},
        {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
        {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
        {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
        {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
        {"clNone", clColorNone},
        {"ANSI_CHARSET", ANSI_CHARSET}, {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"SYMBOL_CHARSET", SYMBOL_CHARSET},
        {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {"HANGEUL_CHARSET", HANGEUL_CHARSET},
        {"GB2312_CHARSET", GB2312_CHARSET}, {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
        {"OEM_CHARSET", OEM_CHARSET}, {"JOHAB_CHARSET", JOHAB_CHARSET}, {"HEBREW_CHARSET", HEBREW_CHARSET},
        {"ARABIC_CHARSET", ARABIC_CHARSET}, {"GREEK_CHARSET", GREEK_CHARSET},
        {"TURKISH_CHARSET", TURKISH_CHARSET}, {"VIETNAMESE_CHARSET", VIETNAMESE_CHARSET},
        {"THAI_CHARSET", THAI_CHARSET}, {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
        {"RUSSIAN_CHARSET", RUSSIAN_CHARSET}, {"MAC_CHARSET", MAC_CHARSET}, {"BALTIC_CHARSET", BALTIC_CHARSET},
    };
    for (const Named& c : constants) RegisterIntegerConstant(c.name, c.value);
}
