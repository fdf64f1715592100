#include "settings/store/prop_values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/ini_values.h"
#include "core/regional.h"
#include "core/text.h"

namespace {

std::string SetText(const TEnumInfo& e, int64_t bits) {
    std::string out = "[";
    bool first = true;
    for (size_t i = 0; i < e.Names.size() && i < 64; ++i) {
        if (!(bits & (int64_t{1} << i))) continue;
        if (!first) out += ',';
        out += e.Names[i];
        first = false;
    }
    return out + "]";
}

int64_t ParseSet(const TEnumInfo& e, const std::string& text) {
    int64_t bits = 0;
    size_t i = 0;
    auto isDelimiter = [](char c) { return c == ' ' || c == ',' || c == '[' || c == ']'; };
    while (i < text.size()) {
        while (i < text.size() && isDelimiter(text[i])) ++i;
        size_t b = i;
        while (i < text.size() && !isDelimiter(text[i])) ++i;
        if (b == i) break;
        int member = e.IndexOf(text.substr(b, i - b));
        if (member >= 0 && member < 64) bits |= int64_t{1} << member;
    }
    return bits;
}

}  // namespace

std::string PropertyValueText(TPersistent& object, const TPropInfo& prop) {
    switch (prop.Kind) {
        case TTypeKind::tkString: return Trim(prop.GetStr(object));
        case TTypeKind::tkInteger:
        case TTypeKind::tkInt64: return Format("%lld", static_cast<long long>(prop.GetOrd(object)));
        case TTypeKind::tkChar: {
            char c = static_cast<char>(prop.GetOrd(object));
            return c ? std::string(1, c) : std::string();
        }
        case TTypeKind::tkEnumeration: return prop.Enum ? prop.Enum->NameOf(prop.GetOrd(object)) : std::string();
        case TTypeKind::tkSet: return prop.Enum ? SetText(*prop.Enum, prop.GetOrd(object)) : std::string();
        case TTypeKind::tkBoolean: return prop.GetOrd(object) ? "True" : "False";
        case TTypeKind::tkFloat: return FloatToSettingText(prop.GetFloat(object));
        default: return {};
    }
}

void AssignPropertyText(TPersistent& object, const TPropInfo& prop, const std::string& text) {
    switch (prop.Kind) {
        case TTypeKind::tkString: prop.SetStr(object, Trim(text)); return;
        case TTypeKind::tkInteger: {
            int v;
            if (TryParseInt(text, v)) prop.SetOrd(object, v);
            return;
        }
        case TTypeKind::tkInt64: {
            long long v;
            if (TryParseInt64(text, v)) prop.SetOrd(object, v);
            return;
        }
        case TTypeKind::tkChar:
            if (!text.empty()) prop.SetOrd(object, static_cast<unsigned char>(text[0]));
            return;
        case TTypeKind::tkEnumeration: {
            int v = prop.Enum ? prop.Enum->IndexOf(Trim(text)) : -1;
            if (v >= 0) prop.SetOrd(object, v);
            return;
        }
        case TTypeKind::tkSet:
            if (prop.Enum) prop.SetOrd(object, ParseSet(*prop.Enum, text));
            return;
        case TTypeKind::tkBoolean: {
            std::string t = Trim(text);
            if (SameTextAscii(t, "True")) prop.SetOrd(object, 1);
            else if (SameTextAscii(t, "False")) prop.SetOrd(object, 0);
            return;
        }
        case TTypeKind::tkFloat: {
            double v;
            if (SettingTextToFloat(text, v)) prop.SetFloat(object, v);
            return;
        }
        default: return;
    }
}

std::string FloatToSettingText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // 15 significant digits, then the shorter of fixed and scientific notation as the general
    // format chooses it: fixed while the integer part has at most 15 digits and the value is
    // not below 0.00001.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14E", value);
    std::string s = buf;
    std::string sign = s[0] == '-' ? "-" : "";
    if (!sign.empty()) s.erase(0, 1);
    size_t ePos = s.find('E');
    int exponent = std::atoi(s.c_str() + ePos + 1);
    std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    if (exponent >= 15 || exponent < -5) {
        std::string out = sign;
        out += digits[0];
        if (digits.size() > 1) out.append(".").append(digits, 1, std::string::npos);
        return out.append("E").append(std::to_string(exponent));
    }
    if (exponent < 0) {
        std::string out = sign;
        out.append("0.").append(static_cast<size_t>(-exponent - 1), '0').append(digits);
        return out;
    }
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intDigits) return sign + digits + std::string(intDigits - digits.size(), '0');
    return sign + digits.substr(0, intDigits) + "." + digits.substr(intDigits);
}

bool SettingTextToFloat(const std::string& text, double& out) {
    // A "." stands for the locale's separator; then the number is read in the locale's terms.
    const char sep = LocaleDecimalSeparator();
    std::string s = Trim(text);
    for (char& c : s)
        if (c == '.') c = sep;

    std::string plain;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
    int mantissaDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') { plain += s[i++]; ++mantissaDigits; }
    if (i < s.size() && s[i] == sep) {
        plain += '.';
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { plain += s[i++]; ++mantissaDigits; }
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        plain += 'E';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) plain += s[i++];
        int exponentDigits = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') { plain += s[i++]; ++exponentDigits; }
        if (exponentDigits == 0) return false;
    }
    if (i != s.size()) return false;
    double v = std::strtod(plain.c_str(), nullptr);
    if (std::isinf(v)) {
        // The largest values, written with 15 significant digits, round up beyond the largest
        // double; such a text still names that value. Anything further out is no number here.
        const long double wide = std::strtold(plain.c_str(), nullptr);
        if (std::fabs(wide) > 1.79769313486232e308L) return false;
        v = std::copysign(std::numeric_limits<double>::max(), v);
    }
    out = v;
    return true;
}

char LocaleDecimalSeparator() { return RegionalSettings().DecimalSeparator; }
