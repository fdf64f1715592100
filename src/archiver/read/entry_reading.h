#pragma once
// What the test of an archive and the extraction of an entry both say about an entry.
#include <string>

class EVXException;
struct TDirItem;

// Why the entry's data cannot be read here (a method other than stored and deflate, encryption
// without the password); empty when they can.
std::string WhyUnreadable(const TDirItem& item, const std::string& password);

// What the archiver's exception says is wrong, without its fixed words and its code.
std::string WhatIsWrong(const EVXException& e);
