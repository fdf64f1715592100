#include "app/name_helpers.h"

std::string PadText(std::string text, int32_t length, char mode, char pad) {
    if (mode != 'l' && mode != 'd' && mode != 's') return text;
    while (static_cast<int64_t>(text.size()) < length) {
        bool front = mode == 'l' || (mode == 's' && text.size() % 2 == 0);
        if (front)
            text.insert(text.begin(), pad);
        else
            text.push_back(pad);
    }
    return text;
}

uint16_t YearOfDate(TDateTime date) { return DecodeDate(date).Year; }

std::string DateStamp(TDateTime date) {
    TYMD d = DecodeDate(date);
    return PadText(std::to_string(d.Day), 2, 'l', '0') + "_" + PadText(std::to_string(d.Month), 2, 'l', '0') + "_" +
           std::to_string(d.Year);
}
