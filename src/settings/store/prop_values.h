#pragma once
// A published property's value as the text kept in a settings file, and back. The property's
// kind decides the form; a text that does not fit the kind leaves the property as it was.
#include <string>

#include "core/persistent.h"

// Object-valued kinds (nested objects, lists, component links) give an empty text.
std::string PropertyValueText(TPersistent& object, const TPropInfo& prop);
// Object-valued kinds are left alone.
void AssignPropertyText(TPersistent& object, const TPropInfo& prop, const std::string& text);

// General number format with at most 15 significant digits, "." as separator whatever the
// locale, e.g. 0.1, 1234.5, 1E20, 1.5E-7.
std::string FloatToSettingText(double value);
// The reverse; false for anything that is not a plain decimal number. A text in the locale's
// own decimal separator is read as well.
bool SettingTextToFloat(const std::string& text, double& out);

// The decimal separator of the regional settings the program works with.
char LocaleDecimalSeparator();
