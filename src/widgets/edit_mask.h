#pragma once
// A text kept in an input template such as "!99/99/9999;1;_": digit places that may stay
// empty, fixed separator places, and the blank shown in empty places. The edit window shows
// Display() and hands typing, deleting and pasting to this object, so the text can never leave
// its template.
#include <cstddef>
#include <string>
#include <vector>

class TEditMask {
public:
    TEditMask() = default;
    // "/" in the template stands for dateSeparator.
    TEditMask(const std::string& mask, char dateSeparator);

    bool IsEmpty() const { return places_.empty(); }
    const std::string& Mask() const { return mask_; }
    size_t Length() const { return places_.size(); }
    char Blank() const { return blank_; }
    // The first separator place's character; '\0' for a template without one.
    char FieldSeparator() const;

    // The text as the window shows it: blanks in empty places.
    std::string Display() const;
    // The text as Text returns it: empty places as spaces, separators included.
    std::string Text() const;
    // True when no digit place holds a digit.
    bool IsBlank() const;

    // Fits a text to the template. A text of the template's length is taken place by place;
    // any other is split at the separators and each field is padded with blanks in front.
    void SetText(const std::string& text);

    // Typing at the caret (after clearing a selection). A digit goes into the next digit place;
    // the caret moves past it and past following separators. A separator ends the field the
    // caret is in: the digits typed into it move to its end (or stay at its start, without
    // "!") and the caret moves to the next field; at a field's start it changes nothing. False
    // for any other character and when there is no place left.
    bool TypeChar(char ch, size_t& caret, size_t selStart, size_t selEnd);
    // Empties the digit places in [from, to).
    void Clear(size_t from, size_t to);
    // Backspace: empties the selection, or the digit place before the caret; returns the caret.
    size_t Backspace(size_t caret, size_t selStart, size_t selEnd);
    // Delete: empties the selection, or the digit place at the caret; returns the caret.
    size_t Delete(size_t caret, size_t selStart, size_t selEnd);
    // A text with separators over the whole text (or into an empty one) is fitted as SetText
    // does; elsewhere every acceptable character is typed from the selection on. A text without
    // a digit is refused (false) and changes nothing.
    bool Paste(const std::string& text, size_t selStart, size_t selEnd, size_t& caret);

private:
    bool IsSeparator(char ch) const;
    // Ends the field that the caret is in, as a typed separator does.
    bool EndField(size_t& caret);

    struct TPlace {
        bool literal = false;
        char ch = ' ';  // the separator of a literal place, the digit or ' ' of a digit place
    };
    std::string mask_;
    std::vector<TPlace> places_;
    char blank_ = ' ';
    bool padInFront_ = false;
};
