#include "widgets/edit_mask.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}

TEditMask::TEditMask(const std::string& mask, char dateSeparator) : mask_(mask) {
    // The template is "<places>;<save literals>;<blank>"; the places part may contain ";" only
    // escaped, which date templates never do.
    std::string places = mask;
    size_t firstSemicolon = mask.find(';');
    if (firstSemicolon != std::string::npos) {
        places = mask.substr(0, firstSemicolon);
        size_t lastSemicolon = mask.rfind(';');
        if (lastSemicolon > firstSemicolon && lastSemicolon + 1 < mask.size()) blank_ = mask[lastSemicolon + 1];
    }
    if (static_cast<unsigned char>(blank_) < 32) blank_ = ' ';
    for (size_t i = 0; i < places.size(); ++i) {
        char c = places[i];
        if (c == '!') {
            padInFront_ = true;
        } else if (c == '9' || c == '0') {
            places_.push_back({false, ' '});
        } else if (c == '\\' && i + 1 < places.size()) {
            places_.push_back({true, places[++i]});
        } else {
            places_.push_back({true, c == '/' ? dateSeparator : c});
        }
    }
}

std::string TEditMask::Display() const {
    std::string s;
    for (const TPlace& p : places_) s += p.literal || p.ch != ' ' ? p.ch : blank_;
    return s;
}

std::string TEditMask::Text() const {
    std::string s;
    for (const TPlace& p : places_) s += p.ch;
    return s;
}

bool TEditMask::IsBlank() const {
    for (const TPlace& p : places_)
        if (!p.literal && p.ch != ' ') return false;
    return true;
}

void TEditMask::SetText(const std::string& text) {
    for (TPlace& p : places_)
        if (!p.literal) p.ch = ' ';
    if (text.size() == places_.size()) {
        for (size_t i = 0; i < places_.size(); ++i)
            if (!places_[i].literal && IsDigit(text[i])) places_[i].ch = text[i];
        return;
    }
    size_t src = 0;
    for (size_t i = 0; i < places_.size();) {
        if (places_[i].literal) {
            if (src < text.size() && text[src] == places_[i].ch) ++src;
            ++i;
            continue;
        }
        size_t fieldEnd = i;
        while (fieldEnd < places_.size() && !places_[fieldEnd].literal) ++fieldEnd;
        const char separator = fieldEnd < places_.size() ? places_[fieldEnd].ch : '\0';
        std::string digits;
        while (src < text.size() && (separator == '\0' || text[src] != separator)) {
            if (IsDigit(text[src])) digits += text[src];
            ++src;
        }
        const size_t width = fieldEnd - i;
        if (digits.size() > width) digits.resize(width);
        size_t start = padInFront_ ? i + width - digits.size() : i;
        for (size_t k = 0; k < digits.size(); ++k) places_[start + k].ch = digits[k];
        i = fieldEnd;
    }
}

char TEditMask::FieldSeparator() const {
    for (const TPlace& p : places_)
        if (p.literal) return p.ch;
    return '\0';
}

bool TEditMask::IsSeparator(char ch) const {
    for (const TPlace& p : places_)
        if (p.literal && p.ch == ch) return true;
    return false;
}

bool TEditMask::EndField(size_t& caret) {
    if (caret >= places_.size()) return false;
    if (caret == 0 || places_[caret - 1].literal) return true;  // nothing typed into this field
    size_t start = caret;
    while (start > 0 && !places_[start - 1].literal) --start;
    size_t end = caret;
    while (end < places_.size() && !places_[end].literal) ++end;
    std::string digits;
    for (size_t i = start; i < caret; ++i)
        if (places_[i].ch != ' ') digits += places_[i].ch;
    Clear(start, end);
    const size_t first = padInFront_ ? end - digits.size() : start;
    for (size_t k = 0; k < digits.size(); ++k) places_[first + k].ch = digits[k];
    caret = end;
    while (caret < places_.size() && places_[caret].literal) ++caret;
    return true;
}

bool TEditMask::TypeChar(char ch, size_t& caret, size_t selStart, size_t selEnd) {
    const bool separator = IsSeparator(ch);
    if (!IsDigit(ch) && !separator) return false;
    if (selEnd > selStart) {
        Clear(selStart, selEnd);
        caret = selStart;
    }
    if (separator) return EndField(caret);
    size_t pos = caret;
    while (pos < places_.size() && places_[pos].literal) ++pos;
    if (pos >= places_.size()) return false;
    places_[pos].ch = ch;
    ++pos;
    while (pos < places_.size() && places_[pos].literal) ++pos;
    caret = pos;
    return true;
}

void TEditMask::Clear(size_t from, size_t to) {
    for (size_t i = from; i < to && i < places_.size(); ++i)
        if (!places_[i].literal) places_[i].ch = ' ';
}

size_t TEditMask::Backspace(size_t caret, size_t selStart, size_t selEnd) {
    if (selEnd > selStart) {
        Clear(selStart, selEnd);
        return selStart;
    }
    size_t pos = caret < places_.size() ? caret : places_.size();
    while (pos > 0) {
        --pos;
        if (!places_[pos].literal) {
            places_[pos].ch = ' ';
            return pos;
        }
    }
    return caret;
}

size_t TEditMask::Delete(size_t caret, size_t selStart, size_t selEnd) {
    if (selEnd > selStart) {
        Clear(selStart, selEnd);
        return selStart;
    }
    size_t pos = caret;
    while (pos < places_.size() && places_[pos].literal) ++pos;
    if (pos < places_.size()) places_[pos].ch = ' ';
    return caret;
}

bool TEditMask::Paste(const std::string& text, size_t selStart, size_t selEnd, size_t& caret) {
    bool hasDigit = false;
    for (char c : text) hasDigit = hasDigit || IsDigit(c);
    if (!hasDigit) return false;
    // A whole date pasted over the whole text is fitted field by field, so 5.3.2024 keeps
    // its day and month apart.
    bool hasSeparator = false;
    for (const TPlace& p : places_)
        if (p.literal && text.find(p.ch) != std::string::npos) hasSeparator = true;
    if (hasSeparator && selStart == 0 && (selEnd >= places_.size() || IsBlank())) {
        SetText(text);
        caret = places_.size();
        return true;
    }
    caret = selStart;
    if (selEnd > selStart) Clear(selStart, selEnd);
    for (char c : text) TypeChar(c, caret, caret, caret);
    return true;
}
