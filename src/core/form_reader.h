#pragma once
// Reads a text form description into a root component:
//
//   object FName: TFClass
//     Caption = 'Text'#13'more'      strings: quoted, '' for a quote, #n for a byte
//     Options.ShareMode = smShare    nested objects by dotted names; enumerations by name
//     Tags = [akLeft, akTop]         sets
//     StoredProps.Strings = ('a' 'b') lists of texts
//     OnClick = BitBtn1Click          event handlers registered on the root by name
//     object Child: TClass ... end    owned components, created through the class registry
//   end
//
// Errors raise EReadError naming the line.
#include <string>

class TComponent;

void ReadFormDescription(TComponent& root, const std::string& text);
