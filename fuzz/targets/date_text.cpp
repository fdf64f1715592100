// The date edit's text rules: any text read under any of the edit's formats and regional
// separators, with "today" fixed. A text that reads as a date gives a date in range, and that
// date written in the four-digit format reads back as itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/dates.h"
#include "widgets/date_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    static const bool clockFixed = [] {
        Clock().Now = [] { return EncodeDate(2024, 3, 5) + 0.5; };
        return true;
    }();
    (void)clockFixed;

    const auto order = static_cast<TDateOrder>(data[0] % 3);
    const bool fourDigits = data[0] & 4;
    TRegionalSettings regional = ReadRegionalSettings();
    regional.DateSeparator = static_cast<char>(data[1]);
    if (regional.DateSeparator == ' ' || (regional.DateSeparator >= '0' && regional.DateSeparator <= '9')) return 0;
    regional.ShortDateFormat = data[0] & 8 ? "g yyyy/MM/dd" : "dd. MM. yyyy.";
    // A format of the edit's own, or any text as format.
    const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t cut = text.find('\n');
    const bool ownFormat = !(data[0] & 16) || cut == std::string::npos;
    const std::string format = ownFormat ? DateFormatFor(order, fourDigits) : text.substr(0, cut);
    const std::string value = ownFormat ? text : text.substr(cut + 1);

    const TParsedDate parsed = ParseDateText(format, value, regional);
    (void)ParseDateTextOrDefault(format, value, Today(), regional);
    if (!parsed.Ok || parsed.Date == NullDate) return 0;
    if (!IsDateInRange(parsed.Date)) abort();
    const std::string full = DateFormatFor(order, true);
    const std::string written = FormatDateText(parsed.Date, full, regional);
    const TParsedDate again = ParseDateText(full, written, regional);
    if (!again.Ok || again.Date != parsed.Date) abort();
    return 0;
}
