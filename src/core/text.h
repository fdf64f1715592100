#pragma once
// Small text utilities shared by every subsystem. Texts are byte strings in the ANSI code page.
#include <cstdarg>
#include <string>
#include <vector>

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* fmt, va_list args);

// Removes leading and trailing blanks and control characters (bytes up to 32).
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

// ASCII-only case helpers for identifiers (property names, enumeration names).
std::string AsciiUpper(std::string s);
bool SameTextAscii(const std::string& a, const std::string& b);

// The system's text for a Win32 error number, as FormatMessageA gives it, without the line end.
std::string SysErrorMessage(unsigned long code);
